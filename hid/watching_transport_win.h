#pragma once
// What both transports share: a watcher thread that reports arrival,
// removal and events to the sink until it is told to stop. A transport says
// how to tell whether the mouse is there and what its watcher does.

#include "hid/transport.h"
#include "win/handles.h"
#include "win/thread_stack.h"

#include <windows.h>

#include <atomic>
#include <thread>

namespace gm::hid {

class WatchingTransport : public Transport {
  public:
    bool StartWatching(Sink sink) final {
        StopWatching();
        stop_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ready_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!stop_ || !ready_)
            return false;
        sink_ = std::move(sink);
        // What is there now is the starting point: only changes are reported.
        present_ = PresentNow();
        watcher_ = std::thread([this] {
            win::TrimThreadStack();
            Watch();
        });
        // The caller may make the mouse act as soon as we return, so wait
        // until the watcher listens (or has found nothing to listen to).
        ::WaitForSingleObject(ready_.get(), kReadyTimeoutMs);
        return true;
    }

    void StopWatching() final {
        if (!watcher_.joinable())
            return;
        ::SetEvent(stop_.get());
        watcher_.join();
        stop_.reset();
    }

  protected:
    // Derived destructors call StopWatching first: Watch uses their members.
    virtual bool PresentNow() = 0;
    virtual void Watch() noexcept = 0;

    HANDLE stop_event() const { return stop_.get(); }
    bool stopping() const { return ::WaitForSingleObject(stop_.get(), 0) == WAIT_OBJECT_0; }
    bool present() const { return present_; }
    // The watcher calls this once events can no longer be missed, or once
    // its first attempt to listen has failed.
    void MarkReady() const { ::SetEvent(ready_.get()); }

    void ReportPresence(bool present) {
        if (present == present_)
            return;
        present_ = present;
        if (sink_.plug)
            sink_.plug(present);
    }
    void ReportEvent(uint16_t cls, uint16_t value) {
        if (present_ && sink_.event)
            sink_.event(cls, value);
    }

  private:
    Sink sink_;
    std::atomic<bool> present_{false};
    static constexpr DWORD kReadyTimeoutMs = 3000;
    win::unique_handle stop_;
    win::unique_handle ready_;
    std::thread watcher_;
};

} // namespace gm::hid
