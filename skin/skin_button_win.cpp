#include "skin/skin_button_win.h"

#include "skin/picture_win.h"
#include "skin/skin_messages_win.h"

namespace gm::skin {
namespace {

constexpr char kClass[] = "GmSkinButton";
constexpr COLORREF kCaptionColour = RGB(224, 224, 224);

HWND OwnerOrParent(HWND hwnd) {
    const HWND owner = ::GetWindow(hwnd, GW_OWNER);
    return owner ? owner : ::GetParent(hwnd);
}

} // namespace

bool SkinButton::Create(const RECT& rect, HWND parent, int id, DWORD style) {
    if (!RegisterClassOnce(kClass, "BUTTON", kControlClassStyle))
        return false;
    // We draw every state ourselves; the platform only keeps the state. The
    // window is made owner-drawn from the start, so no style change follows.
    defaultAtCreate_ = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const DWORD drawn = (style & ~DWORD(BS_TYPEMASK | WS_TABSTOP)) | BS_OWNERDRAW | WS_CHILD;
    return CreateWindowOf(kClass, 0, drawn, rect, parent, id);
}

bool SkinButton::Create(const ControlRecord& r, HWND parent, int id) {
    return Create(RECT{r.left, r.top, r.right, r.bottom}, parent, id);
}

bool SkinButton::Create(const ControlRecord& r, const SkinSheets& sheets, HWND parent, int id) {
    if (!Create(r, parent, id))
        return false;
    SetImages(r, sheets);
    SetHoverText(r.text);
    return true;
}

void SkinButton::SetImages(int left, int top, int right, int bottom, HBITMAP rest, HBITMAP hover,
                           HBITMAP pressed, HBITMAP disabled) {
    const HBITMAP sheets[4] = {rest, hover, pressed, disabled};
    CutStateImages(sheets, left, top, right, bottom, images_);
    if (hwnd()) {
        const LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
        if (style & (WS_BORDER | WS_TABSTOP))
            ::SetWindowLongPtrA(hwnd(), GWL_STYLE, style & ~LONG_PTR(WS_BORDER | WS_TABSTOP));
        Redraw();
    }
}

void SkinButton::SetImages(const ControlRecord& r, const SkinSheets& s) {
    SetImages(r.left, r.top, r.right, r.bottom, s.normal.get(), s.over.get(), s.down.get(),
              s.disable.get());
}

void SkinButton::SetCaption(const std::string& text) {
    caption_ = text;
    // Also the window text, for screen readers and tests.
    if (hwnd())
        ::SetWindowTextA(hwnd(), text.c_str());
    Redraw();
}

void SkinButton::SetLatched(bool value) {
    if (latched_ == value)
        return;
    latched_ = value;
    Redraw();
}

void SkinButton::SetHover(bool value) {
    hover_ = value;
    // Repainted by the caller's next update, which otherwise finds nothing
    // to paint.
    RepaintIfShown(hwnd());
    Notify(value);
}

void SkinButton::Notify(bool entered) {
    if (const HWND parent = ::GetParent(hwnd()))
        ::PostMessageA(parent, UM_BUTTON_HOVER, entered ? 1 : 0, notifyValue_);
    skin::SetHoverText(hoverText_);
    if (const HWND main = HoverTextWindow())
        ::PostMessageA(main, UM_HOVER_TEXT, entered ? 1 : 0, 0);
}

void SkinButton::Redraw() const {
    RepaintIfShown(hwnd());
}

ButtonImage SkinButton::CurrentImage() const {
    ButtonLook look;
    look.toggle = toggle_;
    look.latched = latched_;
    look.hover = hover_;
    look.disabled = hwnd() && !::IsWindowEnabled(hwnd());
    look.selected = hwnd() && (::SendMessageA(hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED);
    return ChooseButtonImage(look);
}

void SkinButton::OnMadeLate() {
    if (!caption_.empty())
        ::SetWindowTextA(hwnd(), caption_.c_str());
}

void SkinButton::Paint(HDC dc) {
    const RECT client = ClientRect();
    DrawState(dc, CurrentImage(), SIZE{client.right, client.bottom});
}

void SkinButton::DrawImage(HDC dc, ButtonImage which) const {
    DrawStateImage(dc, images_, int(which));
}

void SkinButton::DrawState(HDC dc, ButtonImage image, SIZE client) {
    if (caption_.empty()) {
        DrawImage(dc, image);
        return;
    }
    OffscreenBuffer buffer(dc, client.cx, client.cy);
    DrawImage(buffer.dc(), image);
    if (!captionFont_)
        captionFont_.reset(::CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                                         FF_SWISS, "Arial"));
    {
        win::select_object font(buffer.dc(), captionFont_.get());
        ::SetBkMode(buffer.dc(), TRANSPARENT);
        ::SetTextColor(buffer.dc(), kCaptionColour);
        RECT r{0, 0, client.cx, client.cy};
        ::DrawTextA(buffer.dc(), caption_.c_str(), int(caption_.size()), &r,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    buffer.Present();
}

void SkinButton::OnMouseMove(WPARAM wp, LPARAM lp) {
    const bool leftHeld = (wp & MK_LBUTTON) != 0;
    if (leftHeld && !hover_)
        return;
    if (::GetCapture() != hwnd()) {
        if (::GetActiveWindow() && OwnerOrParent(hwnd())) {
            hover_ = true;
            Notify(true);
            // The capture tells us when the pointer leaves.
            ::SetCapture(hwnd());
            Redraw();
        }
        return;
    }
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ::ClientToScreen(hwnd(), &p);
    const HWND under = ::WindowFromPoint(p);
    if (!under || under == hwnd())
        return;
    if (hover_) {
        hover_ = false;
        Notify(false);
        Redraw();
    }
    if (!leftHeld)
        ::ReleaseCapture();
}

LRESULT SkinButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (PaintMessage(msg, wp, [this](HDC dc) { Paint(dc); }))
        return 0;
    switch (msg) {
    case WM_CREATE: {
        const LRESULT r = Default(msg, wp, lp);
        if (defaultAtCreate_) {
            hover_ = true;
            Notify(true);
        }
        return r;
    }
    case WM_ERASEBKGND:
        return 0;
    case BM_SETSTATE:
    case WM_ENABLE:
    case WM_SETFOCUS: {
        // The platform asks the parent to draw these changes; draw them here.
        const LRESULT r = Default(msg, wp, lp);
        Redraw();
        return r;
    }
    case WM_MOUSEMOVE: {
        const LRESULT r = Default(msg, wp, lp);
        OnMouseMove(wp, lp);
        return r;
    }
    case WM_CAPTURECHANGED:
        // Taking the capture again (the platform's own press does) is no loss.
        // The hover stays until the pointer comes back and leaves. The capture
        // is not released here: by now it belongs to the window that took it,
        // often another button being pressed, whose click would be lost.
        if (hover_ && reinterpret_cast<HWND>(lp) != hwnd())
            Redraw();
        return Default(msg, wp, lp);
    case WM_KILLFOCUS: {
        const LRESULT r = Default(msg, wp, lp);
        hover_ = false;
        Notify(false);
        Redraw();
        return r;
    }
    case BM_CLICK:
        // A disabled button is never pressed, whoever asks.
        if (!::IsWindowEnabled(hwnd()))
            return 0;
        return Default(msg, wp, lp);
    case WM_LBUTTONDOWN: {
        // Bring the window holding the button to the front first.
        const HWND owner = OwnerOrParent(hwnd());
        const HWND top = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
        if (top && ::GetActiveWindow() != top)
            ::SetActiveWindow(top);
        return Default(msg, wp, lp);
    }
    case WM_LBUTTONUP:
        if (!toggle_)
            return Default(msg, wp, lp);
        latched_ = !latched_;
        Redraw();
        if (const HWND parent = ::GetParent(hwnd()))
            ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd()), 0),
                           reinterpret_cast<LPARAM>(hwnd()));
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

void SwatchButton::SetColor(COLORREF colour) {
    colour_ = colour;
    Redraw();
}

void SwatchButton::DrawState(HDC dc, ButtonImage image, SIZE client) {
    OffscreenBuffer buffer(dc, client.cx, client.cy);
    DrawImage(buffer.dc(), image);
    // A 15 x 15 square with its corner pixels cut.
    win::unique_hrgn swatch(::CreateRectRgn(0, 1, 15, 14));
    win::unique_hrgn tall(::CreateRectRgn(1, 0, 14, 15));
    win::unique_hbrush brush(::CreateSolidBrush(colour_));
    if (swatch && tall && brush) {
        ::CombineRgn(swatch.get(), swatch.get(), tall.get(), RGN_OR);
        ::FillRgn(buffer.dc(), swatch.get(), brush.get());
    }
    buffer.Present();
}

} // namespace gm::skin
