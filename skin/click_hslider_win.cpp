#include "skin/click_hslider_win.h"

#include "skin/picture_win.h"
#include "skin/skin_messages_win.h"

namespace gm::skin {
namespace {
constexpr char kClass[] = "GmClickHSlider";
}

bool CclickHSlider::Create(const std::string& thumbPath, const RECT& rect, HWND parent, int id) {
    id_ = id;
    range_ = SliderRange{0, 10, range_.round};
    thumbPath_ = thumbPath;
    {
        // Loaded only to learn the thumb's size; the thumb loads its own.
        win::unique_hbitmap probe(
            static_cast<HBITMAP>(::LoadImageA(nullptr, thumbPath.c_str(), IMAGE_BITMAP, 0, 0,
                                              LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        if (!probe)
            return false;
        const SIZE s = BitmapSize(probe.get());
        thumbWidth_ = s.cx;
        thumbHeight_ = s.cy;
    }
    rect_ = rect;
    parent_ = parent;
    if (!RegisterClassOnce(kClass, nullptr, kControlClassStyle))
        return false;
    return CreateWindowOf(kClass, 0, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void CclickHSlider::SetTrackImage(int left, int top, int right, int bottom, HBITMAP sheet) {
    CutImage(trackImage_, sheet, left, top, right, bottom);
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CclickHSlider::SetRange(int32_t minimum, int32_t maximum) {
    range_.minimum = minimum;
    range_.maximum = maximum;
    thumb_.SetRange(minimum, maximum);
}

void CclickHSlider::SetRound(bool round) {
    range_.round = round;
    thumb_.SetRound(round);
}

void CclickHSlider::SetPos(int32_t value) {
    thumb_.SetPos(value);
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CclickHSlider::Paint(HDC dc) {
    DrawBitmap(dc, trackImage_.get());
}

LRESULT CclickHSlider::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (PaintMessage(msg, wp, [this](HDC dc) { Paint(dc); }))
        return 0;
    switch (msg) {
    case WM_CREATE: {
        const RECT extent{0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top};
        // A thumb whose image fails leaves a bare track.
        thumb_.Create(thumbPath_, extent, hwnd(), id_, true);
        thumb_.SetRange(range_.minimum, range_.maximum);
        thumb_.SetRound(range_.round);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONUP: {
        POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ::MapWindowPoints(hwnd(), parent_, &p, 1);
        const int32_t v = ClickValue(p.x, rect_.left, rect_.right, range_);
        SetPos(v);
        if (parent_)
            ::PostMessageA(parent_, UM_SLIDER_POS, WPARAM(v), id_);
        return Default(msg, wp, lp);
    }
    case UM_SLIDER_POS:
        if (parent_)
            ::PostMessageA(parent_, UM_SLIDER_POS, wp, id_);
        return 0;
    case WM_MOUSEMOVE: {
        if (!tracking_) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_HOVER | TME_LEAVE, hwnd(), 1};
            tracking_ = ::TrackMouseEvent(&tme) != FALSE;
        }
        if (::lstrcmpiA(hoverText_.c_str(), HoverText().c_str()) != 0) {
            skin::SetHoverText(hoverText_);
            if (const HWND main = HoverTextWindow())
                ::PostMessageA(main, UM_HOVER_TEXT, 1, 0);
        }
        return Default(msg, wp, lp);
    }
    case WM_MOUSELEAVE:
        tracking_ = false;
        return Default(msg, wp, lp);
    default:
        return Default(msg, wp, lp);
    }
}

} // namespace gm::skin
