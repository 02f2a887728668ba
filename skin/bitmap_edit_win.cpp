#include "skin/bitmap_edit_win.h"

#include "skin/numeric_filter.h"
#include "skin/skin_messages_win.h"
#include "skin/window_skin_win.h"

#include <string>

namespace gm::skin {
namespace {
constexpr char kClass[] = "GmBitmapEdit";
}

BitmapEdit::BitmapEdit()
    : font_(::CreateFontA(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                          "Eurostile")) {}

bool BitmapEdit::Create(const RECT& rect, HWND parent, int id, DWORD style) {
    if (!RegisterClassOnce(kClass, "EDIT"))
        return false;
    if (!CreateWindowOf(kClass, 0, style | WS_CHILD | WS_VISIBLE, rect, parent, id))
        return false;
    ::SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    return true;
}

void BitmapEdit::SetColors(COLORREF text, COLORREF background) {
    textColour_ = text;
    backColour_ = background;
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void BitmapEdit::PostToParent(UINT msg, WPARAM wp) const {
    if (const HWND parent = ::GetParent(hwnd()))
        ::PostMessageA(parent, msg, wp, 0);
}

void BitmapEdit::OnTextChanged() {
    if (numeric_) {
        const int length = ::GetWindowTextLengthA(hwnd());
        std::string text(std::size_t(length) + 1, '\0');
        text.resize(std::size_t(::GetWindowTextA(hwnd(), text.data(), length + 1)));
        if (const auto kept = FilterNumericText(text)) {
            // Setting the text changes it again; that round has nothing to filter.
            ::SetWindowTextA(hwnd(), kept->c_str());
            ::SendMessageA(hwnd(), EM_SETSEL, kept->size(), kept->size());
        }
    }
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PostToParent(EditKillFocusMessage(), 0);
}

LRESULT BitmapEdit::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case kReflectBase + WM_CTLCOLOREDIT:
    case kReflectBase + WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wp);
        brush_.reset(::CreateSolidBrush(backColour_));
        ::SetTextColor(dc, textColour_);
        ::SetBkColor(dc, backColour_);
        return reinterpret_cast<LRESULT>(brush_.get());
    }
    case WM_KEYDOWN:
        // A swallowed key must not type its character either.
        swallowChar_ = numeric_ && !NumericKeyAllowed(UINT(wp));
        if (swallowChar_)
            return 0;
        return Default(msg, wp, lp);
    case WM_CHAR:
        if (swallowChar_) {
            swallowChar_ = false;
            return 0;
        }
        return Default(msg, wp, lp);
    case kReflectBase + WM_COMMAND:
        if (HIWORD(wp) == EN_CHANGE)
            OnTextChanged();
        return 0;
    case WM_KEYUP:
        if (wp == VK_RETURN)
            PostToParent(UM_EDIT_ENTER, 13);
        return Default(msg, wp, lp);
    case WM_KILLFOCUS: {
        const LRESULT r = Default(msg, wp, lp);
        PostToParent(EditKillFocusMessage(), 1);
        return r;
    }
    case WM_VSCROLL:
        ::InvalidateRect(hwnd(), nullptr, TRUE);
        return Default(msg, wp, lp);
    case WM_ERASEBKGND:
        return 1;
    default:
        return Default(msg, wp, lp);
    }
}

} // namespace gm::skin
