#include "skin/ph_slider_win.h"

#include "skin/composite_paint_win.h"
#include "skin/picture_win.h"
#include "skin/scratch_dc_win.h"
#include "skin/skin_messages_win.h"

namespace gm::skin {
namespace {

constexpr char kClass[] = "GmPHSlider";

COLORREF TopLeftColour(HBITMAP bitmap) {
    const ScratchDc dc;
    if (!dc)
        return CLR_INVALID;
    win::select_object sel(dc.get(), bitmap);
    return ::GetPixel(dc.get(), 0, 0);
}

} // namespace

bool CPHSlider::Create(const std::string& imagePath, const RECT& extent, HWND track, int id,
                       bool transparent) {
    image_.reset(static_cast<HBITMAP>(::LoadImageA(nullptr, imagePath.c_str(), IMAGE_BITMAP, 0, 0,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!image_)
        return false;
    const SIZE s = BitmapSize(image_.get());
    width_ = s.cx;
    height_ = s.cy;
    extent_ = extent;
    track_ = track;
    id_ = id;
    transparent_ = transparent;
    if (!RegisterClassOnce(kClass, nullptr, kControlClassStyle))
        return false;
    const RECT centred{-width_ / 2, -height_ / 2, width_ - width_ / 2, height_ - height_ / 2};
    if (!CreateWindowOf(kClass, WS_EX_TRANSPARENT, WS_CHILD | WS_VISIBLE | WS_TABSTOP, centred,
                        track, id))
        return false;
    if (transparent_) {
        // Every pixel of the top-left pixel's colour lies outside the thumb.
        const COLORREF key = TopLeftColour(image_.get());
        if (key != CLR_INVALID) {
            win::unique_hrgn shape = RegionFromMask(image_.get(), key, 0);
            if (shape && SetWindowShape(hwnd(), shape.get(), true))
                shape.release();
        }
    }
    SetPos(0);
    enabled_ = true;
    return true;
}

void CPHSlider::SetRange(int32_t minimum, int32_t maximum) {
    range_.minimum = minimum;
    range_.maximum = maximum;
}

void CPHSlider::MoveTo(int32_t left) {
    left_ = left;
    if (hwnd())
        ::SetWindowPos(hwnd(), nullptr, left_, extent_.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPHSlider::SetPos(int32_t value) {
    value_ = ClampUnsigned(value, range_);
    MoveTo(ThumbLeftForValue(value_, range_, extent_.left, extent_.right, width_));
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CPHSlider::Report(int32_t value) {
    value_ = value;
    if (track_)
        ::PostMessageA(track_, UM_SLIDER_POS, WPARAM(value), id_);
}

void CPHSlider::Paint(HDC dc) {
    DrawBitmap(dc, image_.get());
}

LRESULT CPHSlider::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (PaintMessage(msg, wp, [this](HDC dc) { Paint(dc); }))
        return 0;
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        if (enabled_) {
            ::SetCapture(hwnd());
            dragging_ = true;
            dragStart_ = POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            ::ClientToScreen(hwnd(), &dragStart_);
            dragStartLeft_ = left_;
        }
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_) {
            // Measured from the press in screen coordinates, so a thumb held
            // at the end of its track does not drift from the pointer.
            POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            ::ClientToScreen(hwnd(), &p);
            MoveTo(DraggedThumbLeft(dragStartLeft_, p.x - dragStart_.x, extent_.left, extent_.right,
                                    width_));
            Report(DragValue(left_, range_, extent_.left, extent_.right, width_));
        }
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ::ReleaseCapture();
            const int32_t v = ReleaseValue(left_, range_, extent_.left, extent_.right, width_);
            Report(v);
            if (range_.round)
                SetPos(v);
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-drag (another window, a menu): the drag ends
        // where the thumb is, its last value already reported.
        dragging_ = false;
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

} // namespace gm::skin
