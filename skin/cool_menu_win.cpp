#include "skin/cool_menu_win.h"

#include "skin/menu_frame_hook_win.h"

#include <algorithm>

namespace gm::skin {
namespace {

// Menus live on the user-interface thread only.
std::vector<CoolMenu*>& LiveMenus() {
    static std::vector<CoolMenu*> menus;
    return menus;
}

constexpr int kSubmenuIcon = 145;

} // namespace

CoolMenu::CoolMenu(HFONT font) : menu_(::CreatePopupMenu()), font_(font) {
    // Before the menu can be shown: its window gets the frame.
    MenuFrameHook::InstallIfAskedFor();
    LiveMenus().push_back(this);
}

CoolMenu::~CoolMenu() {
    auto& live = LiveMenus();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    // A submenu is destroyed with the menu it was appended to.
    if (ownsMenu_ && menu_)
        ::DestroyMenu(menu_);
}

bool CoolMenu::Append(UINT flags, UINT_PTR idOrSubmenu, const std::string& text, bool marked) {
    if (!menu_)
        return false;
    auto item = std::make_unique<Item>(Item{this, text, idOrSubmenu, flags, marked});
    const auto data = reinterpret_cast<LPCSTR>(item.get());
    UINT osFlags = MF_OWNERDRAW;
    UINT_PTR osId = idOrSubmenu;
    if (flags & MF_SEPARATOR) {
        osFlags |= MF_SEPARATOR;
        osId = 0;
        item->id = 0;
    } else if (flags & MF_POPUP) {
        osFlags |= MF_POPUP;
    }
    if (!::AppendMenuA(menu_, osFlags, osId, data))
        return false;
    if (flags & MF_POPUP)
        for (CoolMenu* m : LiveMenus())
            if (m->menu_ == reinterpret_cast<HMENU>(idOrSubmenu))
                m->ownsMenu_ = false;
    if (!(flags & MF_SEPARATOR))
        metrics_.Append(text.size());
    items_.push_back(std::move(item));
    return true;
}

bool CoolMenu::Append(CoolMenu& submenu, const std::string& text) {
    return Append(MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Handle()), text);
}

CoolMenu::Item* CoolMenu::FindItem(ULONG_PTR data) {
    for (CoolMenu* m : LiveMenus())
        for (const auto& item : m->items_)
            if (reinterpret_cast<ULONG_PTR>(item.get()) == data)
                return item.get();
    return nullptr;
}

namespace {
ULONG_PTR ItemData(HMENU menu, UINT position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    return ::GetMenuItemInfoA(menu, position, TRUE, &info) ? info.dwItemData : 0;
}
} // namespace

std::string CoolMenu::ItemText(HMENU menu, UINT position) {
    const Item* item = FindItem(ItemData(menu, position));
    return item ? item->text : std::string();
}

bool CoolMenu::ItemMarked(HMENU menu, UINT position) {
    const Item* item = FindItem(ItemData(menu, position));
    return item && item->marked;
}

bool CoolMenu::OnOwnerMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg == WM_MEASUREITEM) {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (!m || m->CtlType != ODT_MENU)
            return false;
        Item* item = FindItem(m->itemData);
        if (!item)
            return false;
        item->menu->Measure(*item, *m);
        result = TRUE;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (!d || d->CtlType != ODT_MENU)
            return false;
        Item* item = FindItem(d->itemData);
        if (!item)
            return false;
        item->menu->Draw(*item, *d);
        result = TRUE;
        return true;
    }
    return false;
}

void CoolMenu::Measure(const Item& item, MEASUREITEMSTRUCT& m) const {
    m.itemHeight = UINT(MenuMetrics::ItemHeight(item.id == 0 && !(item.flags & MF_POPUP)));
    m.itemWidth = UINT(std::max(metrics_.Width(), 0));
}

void CoolMenu::Draw(const Item& item, const DRAWITEMSTRUCT& d) const {
    const HDC dc = d.hDC;
    RECT r = d.rcItem;
    const bool separator = item.id == 0 && !(item.flags & MF_POPUP);
    if (separator) {
        win::unique_hbrush back(::CreateSolidBrush(menu_colour::Background));
        ::FillRect(dc, &r, back.get());
        win::unique_hpen pen(::CreatePen(PS_SOLID, 1, menu_colour::Separator));
        win::select_object sel(dc, pen.get());
        const int y = (r.top + r.bottom) / 2;
        ::MoveToEx(dc, r.left, y, nullptr);
        ::LineTo(dc, r.right, y);
    } else {
        const bool selected = (d.itemState & ODS_SELECTED) != 0;
        win::unique_hbrush back(
            ::CreateSolidBrush(selected ? menu_colour::Highlight : menu_colour::Background));
        ::FillRect(dc, &r, back.get());
        {
            win::select_object sel(dc, font_);
            const int oldMode = ::SetBkMode(dc, TRANSPARENT);
            const COLORREF oldColour = ::SetTextColor(dc, MenuTextColour(selected, item.marked));
            RECT text = r;
            text.left += 2;
            ::DrawTextA(dc, item.text.c_str(), int(item.text.size()), &text,
                        DT_VCENTER | DT_SINGLELINE);
            ::SetTextColor(dc, oldColour);
            ::SetBkMode(dc, oldMode);
        }
        if (item.flags & MF_POPUP) {
            const auto icon = static_cast<HICON>(
                ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kSubmenuIcon),
                             IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
            if (icon)
                ::DrawIconEx(dc, r.right - 19, r.top - 9, icon, 0, 0, 0, nullptr, DI_NORMAL);
        }
    }
    // Keep the platform from drawing check marks or arrows over the item.
    ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
}

} // namespace gm::skin
