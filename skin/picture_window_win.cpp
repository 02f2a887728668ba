#include "skin/picture_window_win.h"

#include "skin/picture_win.h"

namespace gm::skin {
namespace {
constexpr char kClass[] = "GmPictureWindow";
}

bool PictureWindow::Create(int left, int top, int right, int bottom, HWND parent, int id) {
    rect_ = RECT{left, top, right, bottom};
    parent_ = parent;
    if (!RegisterClassOnce(kClass, nullptr, kControlClassStyle))
        return false;
    return CreateWindowOf(kClass, 0, WS_CHILD | WS_VISIBLE, rect_, parent, id);
}

bool PictureWindow::SetPicture(const std::string& path) {
    SIZE size;
    const bool ok = LoadPicture(path, picture_, size);
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, TRUE);
    return ok;
}

void PictureWindow::Paint(HDC dc) {
    DrawBitmap(dc, picture_.get());
}

LRESULT PictureWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (PaintMessage(msg, wp, [this](HDC dc) { Paint(dc); }))
        return 0;
    switch (msg) {
    default:
        return Default(msg, wp, lp);
    }
}

} // namespace gm::skin
