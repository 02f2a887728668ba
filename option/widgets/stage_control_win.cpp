#include "option/widgets/stage_control_win.h"

#include "skin/composite_paint_win.h"
#include "option/widgets/stage_values.h"
#include "option/widgets/widget_messages.h"
#include "skin/picture_win.h"
#include "skin/skin_messages_win.h"
#include "skin/window_skin_win.h"

namespace gm::option {
namespace {
constexpr char kClass[] = "GmStageControl";
}

bool StageControl::Create(const RECT& rect, HWND owner, int identifier,
                          const std::string& skinFolder) {
    owner_ = owner;
    identifier_ = identifier;
    skinFolder_ = skinFolder;
    if (!RegisterClassOnce(kClass, nullptr, skin::kControlClassStyle))
        return false;
    return CreateWindowOf(kClass, 0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, owner);
}

void StageControl::OnCreate() {
    SIZE ignored{};
    skin::LoadPicture(skinFolder_ + "DPI_Window_Mask.bmp", mask_, ignored);
    select_.Create(kSelectRect, hwnd());
    enable_.Create(kEnableRect, hwnd());
    if (slider_.Create(skinFolder_ + "scroll_arrow_down.bmp", kSliderRect, hwnd(), kCpiSliderId)) {
        slider_.SetRange(kCpiCodeMin, kCpiCodeMax);
        slider_.SetRound(true);
    }
    label_.Create(kLabelRect, hwnd());
    enable_.SetLatched(enabled_);
    SetValue(code_);
    win::unique_hrgn outline = skin::RegionFromMask(mask_.get());
    if (outline && skin::SetWindowShape(hwnd(), outline.get(), true))
        outline.release(); // the window owns it now
}

void StageControl::SetImages(int left, int top, int right, int bottom, HBITMAP rest, HBITMAP hover,
                             HBITMAP pressed, HBITMAP disabled) {
    skin::CutImage(rest_, rest, left, top, right, bottom);
    skin::CutImage(hover_, hover, left, top, right, bottom);
    skin::CutImage(pressed_, pressed, left, top, right, bottom);
    skin::CutImage(disabled_, disabled, left, top, right, bottom);
    const LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
    ::SetWindowLongPtrA(hwnd(), GWL_STYLE, style & ~LONG_PTR(WS_BORDER | WS_TABSTOP));

    const RECT& s = kSelectRect;
    select_.SetImages(s.left, s.top, s.right, s.bottom, rest_.get(), hover_.get(), pressed_.get(),
                      disabled_.get());
    select_.SetLatched(false);
    // The enable box has no disabled look of its own: a locked box is ticked.
    const RECT& e = kEnableRect;
    enable_.SetImages(e.left, e.top, e.right, e.bottom, rest_.get(), hover_.get(), pressed_.get(),
                      pressed_.get());
    enable_.SetToggle(true);
    const RECT& t = kSliderRect;
    slider_.SetTrackImage(t.left, t.top, t.right, t.bottom, rest_.get());
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void StageControl::SetValue(int32_t code) {
    code_ = code;
    slider_.SetPos(code);
    label_.SetText(CpiText(code));
}

void StageControl::EnableParts(bool enabled) {
    ::EnableWindow(select_.hwnd(), enabled);
    if (slider_.hwnd()) {
        ::EnableWindow(slider_.hwnd(), enabled);
        slider_.thumb().SetEnabled(enabled);
    }
    ::EnableWindow(label_.hwnd(), enabled);
}

void StageControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    enable_.SetLatched(enabled);
    EnableParts(enabled);
}

void StageControl::SetSelected(bool selected) {
    selected_ = selected;
    select_.SetLatched(selected);
    // The active stage cannot be switched off.
    ::EnableWindow(enable_.hwnd(), !selected);
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void StageControl::Notify(StageNoticeKind kind, int32_t value) {
    if (owner_)
        ::PostMessageA(owner_, UM_STAGE_CHANGED, WPARAM(StageNoticeParam(kind, value)),
                       identifier_);
}

void StageControl::Paint(HDC dc) {
    skin::DrawBitmap(dc, selected_ ? pressed_.get() : rest_.get());
}

LRESULT StageControl::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    LRESULT reflected = 0;
    if (skin::ReflectControlMessage(msg, wp, lp, reflected))
        return reflected;
    if (PaintMessage(msg, wp, [this](HDC dc) { Paint(dc); }))
        return 0;
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case skin::UM_SLIDER_POS:
        if (lp == kCpiSliderId && int32_t(wp) != code_) {
            code_ = int32_t(wp);
            label_.SetText(CpiText(code_));
            Notify(StageNoticeKind::Code, code_);
        }
        return 0;
    case WM_COMMAND: {
        const HWND from = reinterpret_cast<HWND>(lp);
        if (from && from == enable_.hwnd()) {
            enabled_ = enable_.latched();
            EnableParts(enabled_);
            Notify(StageNoticeKind::Enabled, enabled_ ? 1 : 0);
        } else if (from && from == select_.hwnd()) {
            selected_ = select_.latched();
            Notify(StageNoticeKind::Select, selected_ ? 1 : 0);
        }
        return Default(msg, wp, lp);
    }
    default:
        return Default(msg, wp, lp);
    }
}

} // namespace gm::option
