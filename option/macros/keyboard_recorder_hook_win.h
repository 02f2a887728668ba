#pragma once
// The system-wide low-level keyboard hook of the macro recorder and the
// shortcut dialog. While it is installed every key press and release of
// the desktop is taken from whatever window would get it and posted to one
// target window as UM_RECORD_KEY instead. One hook per program.
#include <windows.h>

namespace gm::option {

// wParam: virtual key; lParam: 0x80 for a release, 0 for a press.
inline constexpr UINT UM_RECORD_KEY = WM_USER + 10; // 1034

class KeyboardRecorderHook {
  public:
    // Sends the keys to `target` from now on (the hook already installed is
    // kept). 1 when the hook is in place, 0 when it could not be installed.
    static int Install(HWND target);
    // Unhooks; safe to call when nothing is installed. Returns 1.
    static int Remove();
    static bool Installed();
    static HWND Target();
};

} // namespace gm::option
