// A skinned popup menu opened for real: owner-drawn items and the frame the
// hook paints around every menu window of the thread.
#include "skin/cool_menu_win.h"
#include "skin/menu_frame_hook_win.h"
#include "skin/tests/skin_fixture.h"

#include <gtest/gtest.h>

namespace gm::skin {
namespace {

using gm::test::TestFolder;
using test::Canvas;
using test::RecordingWindow;

// What the timer saw while the menu was open.
struct OpenMenu {
    HWND window = nullptr;
    bool subclassed = false;
    std::size_t framed = 0;
    RECT rect{};
    COLORREF outer = CLR_INVALID, ring1 = CLR_INVALID, ring2 = CLR_INVALID, item = CLR_INVALID;
};
OpenMenu g_seen;

void CALLBACK LookAtMenu(HWND owner, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(owner, id);
    g_seen.window = ::FindWindowA("#32768", nullptr);
    if (g_seen.window) {
        g_seen.subclassed = ::GetPropA(g_seen.window, "CoolMenu_oldProc") != nullptr;
        g_seen.framed = MenuFrameHook::FramedWindows();
        ::GetWindowRect(g_seen.window, &g_seen.rect);
        const int w = g_seen.rect.right - g_seen.rect.left,
                  h = g_seen.rect.bottom - g_seen.rect.top;
        const Canvas c(w, h, [&](HDC dc) {
            ::SendMessageA(g_seen.window, WM_PRINT, WPARAM(dc),
                           PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        });
        g_seen.outer = c.At(0, 0);
        g_seen.ring1 = c.At(1, 1);
        g_seen.ring2 = c.At(2, h / 2);
        g_seen.item = c.At(w / 2, h / 2);
    }
    ::EndMenu();
}

TEST(CoolMenuTest, OpensOwnerDrawnWithAYellowFrameAndLetsTheWindowGo) {
    TestFolder dir;
    RecordingWindow owner;
    ASSERT_TRUE(owner.Create(dir.path(), "none.ini", SkinWindow::Kind::Popup, WS_POPUP | WS_VISIBLE,
                             nullptr));
    ::SetForegroundWindow(owner.hwnd());
    // Asked for, the hook comes with the first menu, not before.
    MenuFrameHook::InstallBeforeFirstMenu();
    EXPECT_FALSE(MenuFrameHook::Installed());

    win::unique_hfont font(
        ::CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "Arial"));
    {
        CoolMenu menu(font.get());
        EXPECT_TRUE(MenuFrameHook::Installed());
        CoolMenu sub(font.get());
        sub.Append(0, 1100, "Macro one", true);
        sub.SetWidth(129);
        ASSERT_TRUE(menu.Append(0, 1001, std::string(30, 'x')));
        ASSERT_TRUE(menu.Append(MF_SEPARATOR, 0));
        ASSERT_TRUE(menu.Append(sub, "Macros"));
        menu.SetWidth(156);
        EXPECT_EQ(menu.Width(), 156);

        g_seen = OpenMenu{};
        ::SetTimer(owner.hwnd(), 1, 200, LookAtMenu);
        ::TrackPopupMenu(menu.Handle(), TPM_RIGHTBUTTON, 10, 10, 0, owner.hwnd(), nullptr);
    } // the submenu goes with its parent menu, exactly once

    ASSERT_NE(g_seen.window, nullptr) << "the menu opened";
    EXPECT_TRUE(g_seen.subclassed);
    EXPECT_EQ(g_seen.framed, 1u);
    EXPECT_EQ(g_seen.outer, RGB(253, 249, 4)) << "one-pixel yellow frame";
    EXPECT_EQ(g_seen.ring1, RGB(6, 18, 44));
    EXPECT_EQ(g_seen.ring2, RGB(6, 18, 44));
    const int width = g_seen.rect.right - g_seen.rect.left;
    EXPECT_GE(width, 156);
    EXPECT_LT(width, 240) << "the width set after appending wins over the long item";

    test::PumpMessages();
    EXPECT_EQ(MenuFrameHook::FramedWindows(), 0u) << "a hidden menu is given back its procedure";
    MenuFrameHook::Remove();
    EXPECT_FALSE(MenuFrameHook::Installed());
    CoolMenu after(font.get());
    EXPECT_FALSE(MenuFrameHook::Installed()) << "once removed, it is asked for no more";
}

TEST(CoolMenuTest, MeasuresItemsAndSeparators) {
    CoolMenu menu(nullptr);
    menu.Append(0, 1005, "Shortcut");
    menu.Append(MF_SEPARATOR, 0);
    menu.SetWidth(149);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    LRESULT result = 0;
    for (UINT pos = 0; pos < 2; ++pos) {
        ASSERT_TRUE(::GetMenuItemInfoA(menu.Handle(), pos, TRUE, &info));
        MEASUREITEMSTRUCT m{};
        m.CtlType = ODT_MENU;
        m.itemData = info.dwItemData;
        ASSERT_TRUE(CoolMenu::OnOwnerMessage(WM_MEASUREITEM, 0, LPARAM(&m), result));
        EXPECT_EQ(m.itemHeight, pos == 0 ? 17u : 5u);
        EXPECT_EQ(m.itemWidth, 149u);
    }
    MEASUREITEMSTRUCT foreign{};
    foreign.CtlType = ODT_MENU;
    foreign.itemData = 12345;
    EXPECT_FALSE(CoolMenu::OnOwnerMessage(WM_MEASUREITEM, 0, LPARAM(&foreign), result))
        << "not one of ours";
}

} // namespace
} // namespace gm::skin
