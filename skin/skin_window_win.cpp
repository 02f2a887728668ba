#include "skin/skin_window_win.h"

namespace gm::skin {
namespace {
constexpr char kClass[] = "GmSkinWindow";
}

bool SkinWindow::Create(const std::string& skinFolder, const std::string& iniName, Kind kind,
                        DWORD style, HWND parent, DWORD exStyle) {
    folder_ = skinFolder;
    ini_ = iniName;
    kind_ = kind;
    if (!RegisterClassOnce(kClass))
        return false;
    // Without a background the window keeps this size.
    const RECT initial{0, 0, 100, 100};
    return CreateWindowOf(kClass, exStyle, style, initial, parent);
}

void SkinWindow::Paint(HDC dc) {
    const SIZE s = skin_.size();
    OffscreenBuffer buffer(dc, s.cx, s.cy);
    skin_.Paint(buffer.dc());
    buffer.Present();
}

LRESULT SkinWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    LRESULT reflected = 0;
    if (ReflectControlMessage(msg, wp, lp, reflected))
        return reflected;
    if (PaintMessage(msg, wp, [this](HDC dc) { Paint(dc); }))
        return 0;
    switch (msg) {
    case WM_CREATE:
        skin_.Begin(hwnd(), folder_, ini_);
        CreateControls(skin_);
        skin_.Finish(hwnd());
        return 0;
    case WM_ERASEBKGND:
        // Pages paint every pixel themselves; pop-ups leave erasing to the platform.
        if (kind_ == Kind::Page)
            return 1;
        break;
    case WM_LBUTTONDOWN:
        if (kind_ == Kind::Popup) {
            BeginCaptionDrag(hwnd(), lp);
            return Default(msg, wp, lp);
        }
        break;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

} // namespace gm::skin
