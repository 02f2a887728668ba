#pragma once
// Owner-drawn popup menu in the skin's colours. The window that tracks the
// menu passes its WM_MEASUREITEM and WM_DRAWITEM to OnOwnerMessage (the
// toolkit's ReflectControlMessage does so).

#include "skin/menu_metrics.h"
#include "win/handles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace gm::skin {

class CoolMenu {
  public:
    // `font` stays the caller's and must outlive the menu.
    explicit CoolMenu(HFONT font);
    ~CoolMenu();
    CoolMenu(const CoolMenu&) = delete;
    CoolMenu& operator=(const CoolMenu&) = delete;

    // MF_SEPARATOR: a separator; MF_POPUP: `idOrSubmenu` is a submenu handle
    // (a CoolMenu's handle passes to the menu it is appended to); otherwise a
    // command with that identifier.
    bool Append(UINT flags, UINT_PTR idOrSubmenu, const std::string& text = "",
                bool marked = false);
    bool Append(CoolMenu& submenu, const std::string& text);
    // Sets the width of every item outright; later items may still widen it.
    void SetWidth(int32_t width) { metrics_.SetWidth(width); }
    int32_t Width() const { return metrics_.Width(); }
    HMENU Handle() const { return menu_; }
    std::size_t ItemCount() const { return items_.size(); }

    // The text and mark of the item at `position` of a live CoolMenu's menu
    // ("" and false for anything else).
    static std::string ItemText(HMENU menu, UINT position);
    static bool ItemMarked(HMENU menu, UINT position);
    // Measures or draws an item of any live CoolMenu; false for anything else.
    static bool OnOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  private:
    struct Item {
        CoolMenu* menu;
        std::string text;
        UINT_PTR id;
        UINT flags;
        bool marked;
    };
    static Item* FindItem(ULONG_PTR data);
    void Measure(const Item& item, MEASUREITEMSTRUCT& m) const;
    void Draw(const Item& item, const DRAWITEMSTRUCT& d) const;

    HMENU menu_ = nullptr;
    bool ownsMenu_ = true;
    HFONT font_;
    MenuMetrics metrics_;
    std::vector<std::unique_ptr<Item>> items_;
};

} // namespace gm::skin
