#pragma once
// A thread with a message queue, fed only by posted thread messages: the
// device worker and the macro player.

#include "win/handles.h"

#include <windows.h>

#include <functional>

namespace gm::mon {

class WorkerThread {
  public:
    using Handler = std::function<void(UINT message, WPARAM wp, LPARAM lp)>;

    ~WorkerThread() { Stop(); }
    // Returns once the thread's queue exists, so posts never get lost.
    bool Start(Handler handler);
    bool Post(UINT message, WPARAM wp, LPARAM lp) const;
    // Posts WM_QUIT and waits for the thread to end.
    void Stop();
    bool running() const { return bool(thread_); }

  private:
    static DWORD WINAPI Main(LPVOID self) noexcept;

    Handler handler_;
    win::unique_handle thread_;
    win::unique_handle ready_;
    DWORD id_ = 0;
};

} // namespace gm::mon
