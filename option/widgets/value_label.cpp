#include "option/widgets/value_label.h"

namespace gm::option {
namespace {
constexpr char kClass[] = "GmValueLabel";
constexpr COLORREF kFill = RGB(2, 2, 2);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr COLORREF kDimText = RGB(110, 110, 110);
} // namespace

bool ValueLabel::Create(const RECT& rect, HWND parent) {
    if (!RegisterClassOnce(kClass))
        return false;
    font_.reset(::CreateFontA(12, 7, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 32,
                              "Eurostile"));
    return CreateWindowOf(kClass, 0, WS_CHILD | WS_VISIBLE, rect, parent);
}

void ValueLabel::SetText(const std::string& text) {
    text_ = text;
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void ValueLabel::Paint(HDC dc) {
    RECT r{};
    ::GetClientRect(hwnd(), &r);
    win::unique_hbrush fill(::CreateSolidBrush(kFill));
    ::FillRect(dc, &r, fill.get());
    win::select_object font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::IsWindowEnabled(hwnd()) ? kText : kDimText);
    ::DrawTextA(dc, text_.c_str(), int(text_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT ValueLabel::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_PAINT: {
        win::paint_dc dc(hwnd());
        Paint(dc.get());
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

} // namespace gm::option
