#pragma once
// Tells the monitor's window when another window may have taken the
// foreground, so a game's profile is chosen the moment the game comes to the
// front. The system's window events are hooked (out of context: no code runs
// in other processes): a foreground change; a focus change, which follows
// every foreground change and is the one some systems report; and a new
// top-level window, after which the foreground is looked at again for a few
// seconds, for systems that report neither when a new program's first
// window takes the front; and, until the first foreground event, a look
// every 40 s for changes a system left out. Where no hook can be set, or
// when asked to, a 2-second poll takes their place.

#include <windows.h>

namespace gm::mon {

// Watch to window: look at the foreground (wParam 1: and again for a while;
// 2: a foreground event).
inline constexpr UINT kForegroundChangedMsg = WM_APP + 2;

class ForegroundWatch {
  public:
    ForegroundWatch() = default;
    ForegroundWatch(const ForegroundWatch&) = delete;
    ForegroundWatch& operator=(const ForegroundWatch&) = delete;
    ~ForegroundWatch() { Stop(); }

    // Starts telling `window` (on this thread, which must pump messages).
    // Timer `pollTimer` is the 2-second poll, used when `pollOnly` or when no
    // hook could be set, and otherwise the 40-second look; timer
    // `pollTimer + 1` is the looks after a new window.
    void Start(HWND window, UINT_PTR pollTimer, bool pollOnly);
    void Stop();
    bool hooked() const;

    // The window's handling of kForegroundChangedMsg and of its timers:
    // true when the foreground is to be matched against the games now (as
    // the poll did, every time: a game in front keeps its profile).
    bool OnMessage(WPARAM wp);
    bool OnTimer(UINT_PTR id);

  private:
    // Whether `foreground` is another window than the one seen last.
    bool Changed(HWND foreground);
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object,
                                 LONG child, DWORD thread, DWORD time);

    HWND window_ = nullptr;
    UINT_PTR pollTimer_ = 0;
    int looksLeft_ = 0;
    HWND lastSeen_ = nullptr;
    HWINEVENTHOOK hooks_[3] = {nullptr, nullptr, nullptr};
};

} // namespace gm::mon
