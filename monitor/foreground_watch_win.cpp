#include "monitor/foreground_watch_win.h"

namespace gm::mon {
namespace {

constexpr UINT kPollMs = 2000;
// With the hooks set, a look every 40 s as well, for systems that leave out
// some foreground changes; it ends at the first foreground event, which
// shows the system reports them.
constexpr UINT kBackstopMs = 40000;
// After a new window: a look every 20 ms for three seconds, the time a
// program may take to show and activate the window it made. A look that
// finds the window it found last time has nothing to match.
constexpr UINT kLookMs = 20;
constexpr int kLooks = 150;

// The watching window of the process, for the hook procedure.
HWND g_window = nullptr;

} // namespace

void ForegroundWatch::Start(HWND window, UINT_PTR pollTimer, bool pollOnly) {
    Stop();
    window_ = window;
    pollTimer_ = pollTimer;
    g_window = window;
    if (!pollOnly) {
        const DWORD events[3] = {EVENT_SYSTEM_FOREGROUND, EVENT_OBJECT_FOCUS, EVENT_OBJECT_CREATE};
        for (int i = 0; i < 3; ++i)
            hooks_[i] = ::SetWinEventHook(events[i], events[i], nullptr, &ForegroundWatch::OnEvent,
                                          0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    }
    ::SetTimer(window, pollTimer, hooked() ? kBackstopMs : kPollMs, nullptr);
}

void ForegroundWatch::Stop() {
    for (HWINEVENTHOOK& hook : hooks_) {
        if (hook)
            ::UnhookWinEvent(hook);
        hook = nullptr;
    }
    if (window_) {
        ::KillTimer(window_, pollTimer_);
        ::KillTimer(window_, pollTimer_ + 1);
    }
    if (g_window == window_)
        g_window = nullptr;
    window_ = nullptr;
}

bool ForegroundWatch::hooked() const {
    return hooks_[0] || hooks_[1] || hooks_[2];
}

bool ForegroundWatch::OnMessage(WPARAM wp) {
    if (!window_)
        return false;
    if (wp == 2 && hooked())
        ::KillTimer(window_, pollTimer_); // the system reports foreground changes
    if (wp == 1) {
        looksLeft_ = kLooks;
        ::SetTimer(window_, pollTimer_ + 1, kLookMs, nullptr);
    }
    lastSeen_ = ::GetForegroundWindow();
    return lastSeen_ != nullptr;
}

bool ForegroundWatch::OnTimer(UINT_PTR id) {
    if (!window_)
        return false;
    if (id == pollTimer_ && !hooked()) {
        lastSeen_ = ::GetForegroundWindow();
        return true; // the poll matches every time, as it always has
    }
    if (id == pollTimer_)
        return Changed(::GetForegroundWindow());
    if (id != pollTimer_ + 1)
        return false;
    if (--looksLeft_ <= 0)
        ::KillTimer(window_, id);
    return Changed(::GetForegroundWindow());
}

bool ForegroundWatch::Changed(HWND foreground) {
    const bool changed = foreground != lastSeen_;
    lastSeen_ = foreground;
    return foreground && changed;
}

void CALLBACK ForegroundWatch::OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG,
                                       DWORD, DWORD) {
    // Out-of-context events arrive on the hooking thread, the window's own.
    if (!g_window)
        return;
    if (event == EVENT_OBJECT_CREATE) {
        // Only top-level windows that can be activated: a control, a caret,
        // a menu or a tooltip made says nothing.
        if (object != OBJID_WINDOW || !hwnd || ::GetAncestor(hwnd, GA_ROOT) != hwnd)
            return;
        const LONG_PTR ex = ::GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
        if (ex & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE))
            return;
        ::PostMessageA(g_window, kForegroundChangedMsg, 1, 0);
        return;
    }
    ::PostMessageA(g_window, kForegroundChangedMsg, event == EVENT_SYSTEM_FOREGROUND ? 2 : 0, 0);
}

} // namespace gm::mon
