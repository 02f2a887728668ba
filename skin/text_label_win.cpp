#include "skin/text_label_win.h"

#include "skin/skin_messages_win.h"

namespace gm::skin {
namespace {
constexpr char kClass[] = "GmTextLabel";
constexpr COLORREF kFill = RGB(2, 2, 2);
constexpr COLORREF kText = RGB(255, 255, 255);
} // namespace

bool TextLabel::Create(const RECT& rect, HWND parent, int id) {
    if (!RegisterClassOnce(kClass, nullptr, kControlClassStyle))
        return false;
    font_.reset(::CreateFontA(12, 7, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, "Eurostile"));
    return CreateWindowOf(kClass, 0, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void TextLabel::SetText(const std::string& text) {
    text_ = text;
    if (hwnd()) {
        // The window text too, so screen readers and tests can read it.
        ::SetWindowTextA(hwnd(), text.c_str());
        RepaintIfShown(hwnd());
    }
}

void TextLabel::OnMadeLate() {
    if (!text_.empty())
        ::SetWindowTextA(hwnd(), text_.c_str());
}

void TextLabel::Paint(HDC dc) {
    RECT client = ClientRect();
    win::unique_hbrush fill(::CreateSolidBrush(kFill));
    ::FillRect(dc, &client, fill.get());
    win::select_object font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kText);
    ::DrawTextA(dc, text_.c_str(), int(text_.size()), &client,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT TextLabel::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (PaintMessage(msg, wp, [this](HDC dc) { Paint(dc); }))
        return 0;
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        if (!tracking_) {
            tracking_ = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
            ::TrackMouseEvent(&track);
            skin::SetHoverText(hoverText_);
            if (const HWND main = HoverTextWindow())
                ::PostMessageA(main, UM_HOVER_TEXT, 1, 0);
        }
        return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (const HWND main = HoverTextWindow())
            ::PostMessageA(main, UM_HOVER_TEXT, 0, 0);
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

} // namespace gm::skin
