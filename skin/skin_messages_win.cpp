#include "skin/skin_messages_win.h"

namespace gm::skin {
namespace {
// Window-thread state: only the user-interface thread touches controls.
std::string g_hoverText;
HWND g_hoverWindow = nullptr;
} // namespace

UINT EditKillFocusMessage() {
    static const UINT message = ::RegisterWindowMessageA("BitmapEdit_KillFocus");
    return message;
}

const std::string& HoverText() {
    return g_hoverText;
}
void SetHoverText(const std::string& text) {
    g_hoverText = text;
}
void SetHoverTextWindow(HWND hwnd) {
    g_hoverWindow = hwnd;
}
HWND HoverTextWindow() {
    return g_hoverWindow;
}

} // namespace gm::skin
