// The buttons page's function menu as it opens, looked at while it is shown.
#include "option/pages/buttons_page_win.h"
#include "option/tests/page_host.h"
#include "skin/cool_menu_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gm::option {
namespace {

struct SeenMenu {
    int mainItems = 0;
    std::vector<UINT> macroIds;
    std::vector<std::string> macroTexts;
    std::vector<bool> marked;
    bool separatorSecond = false;
};
SeenMenu g_seen;

void CALLBACK LookAtMenu(HWND owner, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(owner, id);
    HWND window = ::FindWindowA("#32768", nullptr);
    const HMENU main =
        window ? reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0)) : nullptr;
    if (main) {
        g_seen.mainItems = ::GetMenuItemCount(main);
        const HMENU macros = ::GetSubMenu(main, 0);
        for (int i = 0; i < ::GetMenuItemCount(macros); ++i) {
            g_seen.macroIds.push_back(::GetMenuItemID(macros, i));
            g_seen.macroTexts.push_back(skin::CoolMenu::ItemText(macros, UINT(i)));
            g_seen.marked.push_back(skin::CoolMenu::ItemMarked(macros, UINT(i)));
        }
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        g_seen.separatorSecond =
            ::GetMenuItemInfoA(macros, 1, TRUE, &info) && (info.fType & MFT_SEPARATOR);
    }
    ::EndMenu();
}

TEST(ButtonsMenu, TwelveMacrosFollowTheManagerAndTheButtonsOwnIsMarkedInAnyCase) {
    test::PageHost host;
    for (int k = 0; k < 12; ++k)
        host.macros.AppendName(k == 3 ? "  Macro 3 " : "Macro " + std::to_string(k));
    ButtonView button = host.working.Profile(0).Button(2);
    button.Set(btn::FunctionType, uint8_t(fn::Macro));
    button.Set(btn::MacroName, "MACRO 3");
    ButtonsPage page(host);
    ASSERT_TRUE(host.Open(page));

    g_seen = SeenMenu{};
    ::SetTimer(page.hwnd(), 7, 300, LookAtMenu);
    ::SendMessageA(page.functionButton(2), BM_CLICK, 0, 0); // returns when the menu has closed

    EXPECT_EQ(g_seen.mainItems, 6 + 17) << "six submenus, seventeen functions";
    ASSERT_EQ(g_seen.macroIds.size(), 14u);
    EXPECT_EQ(g_seen.macroIds[0], 1049u) << "the manager first";
    EXPECT_TRUE(g_seen.separatorSecond);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(g_seen.macroIds[std::size_t(k + 2)], UINT(1100 + k)) << k;
    EXPECT_EQ(g_seen.macroTexts[5], "Macro 3") << "shown without its surrounding spaces";
    for (std::size_t i = 0; i < g_seen.marked.size(); ++i)
        EXPECT_EQ(g_seen.marked[i], i == 5) << i;
}

} // namespace
} // namespace gm::option
