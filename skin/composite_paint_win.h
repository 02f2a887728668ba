#pragma once
// One paint for a whole window: the window and every control shown inside it
// are drawn into one buffer and copied to the screen in one go, and when the
// whole window is painted, the controls so drawn are marked as painted.
// Under Wine each control's own paint costs several round trips to the
// server (its update region, a DC and its visible region, the release); a
// dialog full of controls paid that for every control each time it was
// shown.

#include "skin/window_base_win.h"

#include <windows.h>

namespace gm::skin {

// Draws into `buffer` (the client area of `window`, already holding the
// window's own picture) every shown descendant inside the paint of `target`
// that draws itself on WM_PRINTCLIENT (WindowBase::DrawsOnPrintClient),
// bottom of the z-order first, each clipped to its parent and its own shape;
// then copies the buffer to `target`, except where a descendant that does not
// draw so is shown. `target` is the window's paint DC; the window must not
// clip its children (no WS_CLIPCHILDREN), or the controls would be drawn into
// the buffer for nothing. When the paint covers the whole window, the
// controls drawn are marked as painted; the others paint themselves.
// Controls still waiting for their windows (late_windows_win.h) are drawn
// from their objects, and after the copy every waiting control gets its
// window.
void PresentWithDescendants(HWND window, HDC target, OffscreenBuffer& buffer);

// Sets a window's shape (SetWindowRgn, which then owns the region); the
// window's shape is then kept when it is drawn into its parent's buffer.
bool SetWindowShape(HWND window, HRGN region, bool redraw);

} // namespace gm::skin
