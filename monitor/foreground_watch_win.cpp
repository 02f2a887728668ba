#include "monitor/foreground_watch_win.h"

namespace gm::mon {
namespace {

constexpr UINT kPollMs = 2000;

// The one watching window of the process and the foreground it was last
// told of: focus moving inside one window tells it nothing.
HWND g_window = nullptr;
HWND g_lastForeground = nullptr;

} // namespace

void ForegroundWatch::Start(HWND window, UINT_PTR pollTimer, bool pollOnly) {
    Stop();
    window_ = window;
    pollTimer_ = pollTimer;
    g_window = window;
    g_lastForeground = nullptr;
    if (!pollOnly) {
        hooks_[0] = ::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                      &ForegroundWatch::OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
        hooks_[1] = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr,
                                      &ForegroundWatch::OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    }
    if (!hooked())
        ::SetTimer(window, pollTimer, kPollMs, nullptr);
}

void ForegroundWatch::Stop() {
    for (HWINEVENTHOOK& hook : hooks_) {
        if (hook)
            ::UnhookWinEvent(hook);
        hook = nullptr;
    }
    if (window_)
        ::KillTimer(window_, pollTimer_);
    if (g_window == window_)
        g_window = nullptr;
    window_ = nullptr;
}

void CALLBACK ForegroundWatch::OnEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    // Out-of-context events arrive on the hooking thread, the window's own.
    const HWND foreground = ::GetForegroundWindow();
    if (!g_window || !foreground || foreground == g_lastForeground)
        return;
    g_lastForeground = foreground;
    ::PostMessageA(g_window, kForegroundChangedMsg, 0, 0);
}

} // namespace gm::mon
