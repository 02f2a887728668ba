#include "skin/window_skin_win.h"

#include "skin/composite_paint_win.h"
#include "skin/cool_menu_win.h"
#include "skin/picture_win.h"
#include "skin/skin_images_win.h"
#include "skin/window_base_win.h"

namespace gm::skin {

void WindowSkin::Begin(HWND hwnd, const std::string& folder, const std::string& iniName) {
    ini_ = SkinIniFile(folder + iniName);
    background_.reset(); // the new normal sheet is the background until Finish
    SkinImages images = LoadSkinImages(folder, ini_);
    mask_ = std::move(images.mask);
    sheets_.normal = std::move(images.normal);
    sheets_.over = std::move(images.over);
    sheets_.down = std::move(images.down);
    sheets_.disable = std::move(images.disable);
    size_ = BitmapSize(background());
    if (size_.cx > 0 && size_.cy > 0) {
        ::SetWindowPos(hwnd, nullptr, 0, 0, size_.cx, size_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        // No background: a plain rectangle of the size the window was created with.
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        size_ = SIZE{r.right - r.left, r.bottom - r.top};
    }
}

void WindowSkin::Finish(HWND hwnd) {
    // The normal sheet is the background too; it stays when the others go.
    background_ = std::move(sheets_.normal);
    sheets_ = SkinSheets{};
    win::unique_hrgn region = RegionFromMask(mask_.get(), RGB(255, 255, 255), 0);
    if (!region)
        return;
    // The window owns the region once it is set.
    if (SetWindowShape(hwnd, region.get(), true))
        region_ = region.release();
}

void WindowSkin::Paint(HDC dc) const {
    DrawBitmap(dc, background());
}

void BeginCaptionDrag(HWND hwnd, LPARAM pressPoint) {
    POINT p{static_cast<short>(LOWORD(pressPoint)), static_cast<short>(HIWORD(pressPoint))};
    ::ClientToScreen(hwnd, &p);
    ::PostMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
}

bool ReflectControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (CoolMenu::OnOwnerMessage(msg, wp, lp, result))
        return true;
    const HWND control = reinterpret_cast<HWND>(lp);
    switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (!WindowBase::FromHandle(control))
            return false;
        result = ::SendMessageA(control, kReflectBase + msg, wp, lp);
        return result != 0;
    case WM_COMMAND:
        // The control hears about its own change; the parent still gets the command.
        if (control && WindowBase::FromHandle(control))
            ::SendMessageA(control, kReflectBase + msg, wp, lp);
        return false;
    default:
        return false;
    }
}

} // namespace gm::skin
