#pragma once
// Tells the monitor's window when another window has taken the foreground,
// so a game's profile is chosen the moment the game comes to the front.
// The system's window events are hooked (out of context, no code in other
// processes): a foreground change, and a focus change, which follows every
// foreground change and is the only one some systems report. Where neither
// can be hooked, or when asked to, a 2-second poll takes their place.

#include <windows.h>

namespace gm::mon {

// Watch to window: the foreground window may have changed.
inline constexpr UINT kForegroundChangedMsg = WM_APP + 2;

class ForegroundWatch {
  public:
    ForegroundWatch() = default;
    ForegroundWatch(const ForegroundWatch&) = delete;
    ForegroundWatch& operator=(const ForegroundWatch&) = delete;
    ~ForegroundWatch() { Stop(); }

    // Starts telling `window` (on this thread, which must pump messages):
    // from the hooks, or from timer `pollTimer` every 2 s when `pollOnly` or
    // when no hook could be set.
    void Start(HWND window, UINT_PTR pollTimer, bool pollOnly);
    void Stop();
    bool hooked() const { return hooks_[0] || hooks_[1]; }

  private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object,
                                 LONG child, DWORD thread, DWORD time);

    HWND window_ = nullptr;
    UINT_PTR pollTimer_ = 0;
    HWINEVENTHOOK hooks_[2] = {nullptr, nullptr};
};

} // namespace gm::mon
