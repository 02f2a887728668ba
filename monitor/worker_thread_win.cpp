#include "monitor/worker_thread_win.h"

#include "win/thread_stack.h"

namespace gm::mon {

bool WorkerThread::Start(Handler handler) {
    handler_ = std::move(handler);
    ready_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    thread_.reset(::CreateThread(nullptr, 4096, Main, this, 0, &id_));
    if (!thread_)
        return false;
    ::WaitForSingleObject(ready_.get(), INFINITE);
    return true;
}

bool WorkerThread::Post(UINT message, WPARAM wp, LPARAM lp) const {
    return thread_ && ::PostThreadMessageA(id_, message, wp, lp) != FALSE;
}

void WorkerThread::Stop() {
    if (!thread_)
        return;
    ::PostThreadMessageA(id_, WM_QUIT, 0, 0);
    ::WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
}

DWORD WINAPI WorkerThread::Main(LPVOID param) noexcept {
    auto* self = static_cast<WorkerThread*>(param);
    MSG msg;
    ::PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // creates the queue
    ::SetEvent(self->ready_.get());
    win::TrimThreadStack();
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr)
            self->handler_(msg.message, msg.wParam, msg.lParam);
    }
    return 0;
}

} // namespace gm::mon
