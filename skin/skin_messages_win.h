#pragma once
// Notices the skinned controls post to their owners, and the hover text
// they publish. All are posted, never sent.

#include <windows.h>

#include <string>

namespace gm::skin {

inline constexpr UINT UM_SLIDER_POS = WM_USER + 70;    // 1094: value, slider identifier
inline constexpr UINT UM_EDIT_ENTER = WM_USER + 92;    // 1116: 13, 0
inline constexpr UINT UM_BUTTON_HOVER = WM_USER + 100; // 1124: 1 entered / 0 left, notify value
inline constexpr UINT UM_HOVER_TEXT = WM_USER + 101;   // 1125: 1 entered / 0 left, 0

// "BitmapEdit_KillFocus": wParam 0 after a text change, 1 after focus loss.
UINT EditKillFocusMessage();

// The hover text of the control the pointer last entered.
const std::string& HoverText();
void SetHoverText(const std::string& text);

// The window told about hover text changes (the main dialog); none until set.
void SetHoverTextWindow(HWND hwnd);
HWND HoverTextWindow();

} // namespace gm::skin
