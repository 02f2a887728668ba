#include "option/macros/macro_list_box_win.h"

#include "win/proc_address.h"
#include "win/system_library.h"

#include <algorithm>
#include <vector>

namespace gm::option {
namespace {

constexpr char kClass[] = "GmMacroListBox";
constexpr char kEditClass[] = "GmMacroListEdit";

// The platform's transparent copy, from a library loaded the first time a
// list draws an icon rather than with the program; false when missing.
bool TransparentCopy(HDC to, int x, int y, int width, int height, HDC from, int fromX, int fromY,
                     int fromWidth, int fromHeight, UINT transparent) {
    using Copy = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
    static const Copy copy = [] {
        const HMODULE library = win::SystemLibrary("msimg32.dll");
        return library ? win::ProcAddress<Copy>(library, "TransparentBlt") : nullptr;
    }();
    return copy && copy(to, x, y, width, height, from, fromX, fromY, fromWidth, fromHeight,
                        transparent) != FALSE;
}
// The edit asks its list to finish; the list does it once the edit's own
// key handling has returned.
constexpr UINT kCommitEdit = WM_APP + 1;
constexpr UINT kCancelEdit = WM_APP + 2;
constexpr DWORD kListStyle =
    0x50200061; // child, visible, v-scroll, notify, fixed owner-draw, strings
constexpr int kTextBuffer = 4096;

} // namespace

class MacroListBox::InPlaceEdit : public skin::WindowBase {
  public:
    bool Create(const RECT& rect, HWND list, bool digitsOnly) {
        if (!RegisterClassOnce(kEditClass, "EDIT"))
            return false;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
        if (digitsOnly)
            style |= ES_NUMBER;
        return CreateWindowOf(kEditClass, 0, style, rect, list);
    }

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
        if (msg == WM_KEYUP && (wp == VK_RETURN || wp == VK_ESCAPE)) {
            ::PostMessageA(::GetParent(hwnd()), wp == VK_RETURN ? kCommitEdit : kCancelEdit, 0, 0);
            return 0;
        }
        if (msg == WM_GETDLGCODE)
            return Default(msg, wp, lp) | DLGC_WANTALLKEYS;
        return Default(msg, wp, lp);
    }
};

MacroListBox::MacroListBox()
    : font_(::CreateFontA(12, 0, 0, 0, FW_LIGHT, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                          "Eurostile")) {}

MacroListBox::~MacroListBox() {
    edit_.reset();
    Destroy();
}

bool MacroListBox::Create(const RECT& rect, HWND parent, int listId) {
    parent_ = parent;
    listId_ = listId;
    if (!RegisterClassOnce(kClass, "LISTBOX"))
        return false;
    if (!CreateWindowOf(kClass, 0, kListStyle, rect, parent, listId))
        return false;
    ::SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ::SendMessageA(hwnd(), LB_SETITEMHEIGHT, 0, kItemHeight);
    return true;
}

void MacroListBox::SetColors(COLORREF text, COLORREF highlightText, COLORREF selection,
                             COLORREF background) {
    text_ = text;
    highlightText_ = highlightText;
    selection_ = selection;
    background_ = background;
    backgroundBrush_.reset(::CreateSolidBrush(background));
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, TRUE);
}

int MacroListBox::Count() const {
    return int(::SendMessageA(hwnd(), LB_GETCOUNT, 0, 0));
}

int MacroListBox::Add(const std::string& text, uint32_t item) {
    const int line =
        int(::SendMessageA(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (line >= 0)
        ::SendMessageA(hwnd(), LB_SETITEMDATA, WPARAM(line), LPARAM(item));
    return line;
}

void MacroListBox::Insert(int line, const std::string& text, uint32_t item) {
    const int at = int(::SendMessageA(hwnd(), LB_INSERTSTRING, WPARAM(line),
                                      reinterpret_cast<LPARAM>(text.c_str())));
    if (at >= 0)
        ::SendMessageA(hwnd(), LB_SETITEMDATA, WPARAM(at), LPARAM(item));
}

void MacroListBox::Delete(int line) {
    ::SendMessageA(hwnd(), LB_DELETESTRING, WPARAM(line), 0);
}

void MacroListBox::Clear() {
    ::SendMessageA(hwnd(), LB_RESETCONTENT, 0, 0);
}

std::string MacroListBox::Text(int line) const {
    const LRESULT length = ::SendMessageA(hwnd(), LB_GETTEXTLEN, WPARAM(line), 0);
    if (length <= 0)
        return {};
    std::vector<char> text(std::size_t(length) + 1, '\0');
    ::SendMessageA(hwnd(), LB_GETTEXT, WPARAM(line), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

uint32_t MacroListBox::Item(int line) const {
    const LRESULT v = ::SendMessageA(hwnd(), LB_GETITEMDATA, WPARAM(line), 0);
    return v == LB_ERR ? 0 : uint32_t(v);
}

int MacroListBox::Selection() const {
    const LRESULT s = ::SendMessageA(hwnd(), LB_GETCURSEL, 0, 0);
    return s == LB_ERR ? -1 : int(s);
}

void MacroListBox::Select(int line) {
    ::SendMessageA(hwnd(), LB_SETCURSEL, WPARAM(line), 0);
}

void MacroListBox::SetTopLine(int line) {
    ::SendMessageA(hwnd(), LB_SETTOPINDEX, WPARAM(line < 0 ? 0 : line), 0);
}

void MacroListBox::ShowLine(int line) {
    if (line < 0)
        return;
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const int visible = std::max(1, int(client.bottom / kItemHeight));
    const int top = int(::SendMessageA(hwnd(), LB_GETTOPINDEX, 0, 0));
    if (line < top)
        SetTopLine(line);
    else if (line >= top + visible)
        SetTopLine(line - visible + 1);
}

HWND MacroListBox::editWindow() const {
    return edit_ ? edit_->hwnd() : nullptr;
}

void MacroListBox::BeginEdit(int line, int limit, EditKind kind) {
    if (editing() || line < 0 || line >= Count())
        return;
    RECT r{};
    ::SendMessageA(hwnd(), LB_GETITEMRECT, WPARAM(line), reinterpret_cast<LPARAM>(&r));
    if (kind == EditKind::Name) {
        r.left += 1;
        r.right -= 2;
    } else {
        r.left += kIconWidth + 5;
    }
    edit_ = std::make_unique<InPlaceEdit>();
    if (!edit_->Create(r, hwnd(), kind == EditKind::Number)) {
        edit_.reset();
        return;
    }
    editLine_ = line;
    const HWND e = edit_->hwnd();
    ::SendMessageA(e, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ::SendMessageA(e, EM_LIMITTEXT, WPARAM(limit), 0);
    ::SetWindowTextA(e, Text(line).c_str());
    ::SendMessageA(e, EM_SETSEL, 0, -1);
    ::SetFocus(e);
}

void MacroListBox::EndEdit() {
    edit_.reset();
    editLine_ = -1;
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void MacroListBox::CommitEdit() {
    if (!editing())
        return;
    char text[kTextBuffer] = {};
    ::GetWindowTextA(edit_->hwnd(), text, sizeof text);
    const int line = editLine_;
    const uint32_t item = Item(line);
    Delete(line);
    const bool inserted = text[0] != '\0';
    if (inserted)
        Insert(line, text, item);
    Select(line);
    EndEdit();
    if (inserted)
        ::PostMessageA(parent_, UM_LIST_EDIT_DONE, WPARAM(line), LPARAM(listId_));
}

void MacroListBox::CancelEdit() {
    if (!editing())
        return;
    Delete(editLine_);
    EndEdit();
}

HBITMAP MacroListBox::Icon(uint16_t id) {
    auto it = icons_.find(id);
    if (it == icons_.end())
        it = icons_
                 .emplace(id, win::unique_hbitmap(
                                  ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id))))
                 .first;
    return it->second.get();
}

void MacroListBox::Draw(const DRAWITEMSTRUCT& d) {
    if (d.itemID == UINT(-1))
        return;
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    const HDC dc = d.hDC;
    win::unique_hbrush fill(::CreateSolidBrush(selected ? selection_ : background_));
    ::FillRect(dc, &d.rcItem, fill.get());
    const uint16_t icon = uint16_t(d.itemData & 0xFFFF);
    int textLeft = d.rcItem.left + 5;
    if (icon) {
        if (const HBITMAP bitmap = Icon(icon)) {
            BITMAP info{};
            ::GetObjectA(bitmap, sizeof info, &info);
            win::unique_hdc memory(::CreateCompatibleDC(dc));
            win::select_object keep(memory.get(), bitmap);
            // Black is the icons' transparent colour.
            TransparentCopy(dc, d.rcItem.left + 5, d.rcItem.top + 2, info.bmWidth, info.bmHeight,
                            memory.get(), 0, 0, info.bmWidth, info.bmHeight, RGB(0, 0, 0));
        }
        textLeft = d.rcItem.left + kIconWidth + 5 + 5;
    }
    const std::string text = Text(int(d.itemID));
    win::select_object font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, selected ? highlightText_ : text_);
    RECT r = d.rcItem;
    r.left = textLeft;
    ::DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

bool MacroListBox::OnOwnerMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg == WM_MEASUREITEM) {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (m->CtlType != ODT_LISTBOX || int(m->CtlID) != listId_)
            return false;
        m->itemHeight = kItemHeight;
        result = TRUE;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (d->CtlType != ODT_LISTBOX || !hwnd() || d->hwndItem != hwnd())
            return false;
        Draw(*d);
        result = TRUE;
        return true;
    }
    return false;
}

LRESULT MacroListBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case kCommitEdit:
        CommitEdit();
        return 0;
    case kCancelEdit:
        CancelEdit();
        return 0;
    case WM_MOUSEWHEEL: {
        // A line per notch: a message may carry several, and a smooth
        // wheel sends parts of one, kept until they make a whole.
        const int delta = GET_WHEEL_DELTA_WPARAM(wp);
        if ((delta > 0) != (wheelRest_ > 0))
            wheelRest_ = 0; // turned back: the part of a notch is dropped
        wheelRest_ += delta;
        for (; wheelRest_ >= WHEEL_DELTA; wheelRest_ -= WHEEL_DELTA)
            ::SendMessageA(hwnd(), WM_VSCROLL, SB_LINEUP, 0);
        for (; wheelRest_ <= -WHEEL_DELTA; wheelRest_ += WHEEL_DELTA)
            ::SendMessageA(hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
        return 0;
    }
    case WM_RBUTTONDOWN:
        ::PostMessageA(parent_, UM_LIST_RBUTTON, 0, LPARAM(listId_));
        return Default(msg, wp, lp);
    case WM_MOUSEMOVE: {
        const LRESULT hit = ::SendMessageA(hwnd(), LB_ITEMFROMPOINT, 0, lp);
        hoverLine_ = HIWORD(hit) ? -1 : int(LOWORD(hit));
        return Default(msg, wp, lp);
    }
    case WM_ERASEBKGND: {
        if (!backgroundBrush_)
            break;
        RECT r{};
        ::GetClientRect(hwnd(), &r);
        ::FillRect(reinterpret_cast<HDC>(wp), &r, backgroundBrush_.get());
        return 1;
    }
    case WM_DESTROY:
        edit_.reset();
        editLine_ = -1;
        break;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

} // namespace gm::option
