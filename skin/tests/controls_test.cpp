// The skinned controls in a real window, driven by the messages a user's
// pointer and keyboard produce.
#include "skin/bitmap_edit_win.h"
#include "skin/click_hslider_win.h"
#include "skin/composite_paint_win.h"
#include "skin/late_windows_win.h"
#include "skin/skin_button_win.h"
#include "skin/skin_messages_win.h"
#include "skin/text_label_win.h"
#include "skin/tests/skin_fixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace gm::skin {
namespace {

using gm::test::TestFolder;
using test::Canvas;
using test::RecordingWindow;

constexpr COLORREF kRest = RGB(200, 0, 0), kOver = RGB(0, 200, 0), kDown = RGB(0, 0, 200),
                   kDisabled = RGB(90, 90, 90), kKey = RGB(255, 0, 255), kThumb = RGB(250, 250, 0);

LPARAM Point(int x, int y) {
    return MAKELPARAM(x, y);
}

// A 120 x 80 skin: each sheet one colour, a button at slot 1, a slider at slot 2.
class ControlsTest : public ::testing::Test {
  protected:
    ControlsTest() {
        test::WriteSolidBmp(dir / "n.bmp", 120, 80, kRest);
        test::WriteSolidBmp(dir / "o.bmp", 120, 80, kOver);
        test::WriteSolidBmp(dir / "d.bmp", 120, 80, kDown);
        test::WriteSolidBmp(dir / "x.bmp", 120, 80, kDisabled);
        test::WriteSolidBmp(dir / "m.bmp", 120, 80, RGB(0, 0, 0));
        // Thumb: 10 x 16, its corners in the key colour.
        test::WriteBmp(dir / "thumb.bmp", 10, 16, [](int x, int y) {
            return (x == 0 || x == 9) && (y == 0 || y == 15) ? kKey : kThumb;
        });
        TestFolder::WriteFile(dir / "skin_test.ini",
                              "[SCREEN]\r\nNormal=n.bmp\r\nOver=o.bmp\r\nDown=d.bmp\r\nDisable=x."
                              "bmp\r\nMask=m.bmp\r\n"
                              "[BUTTONPOS]\r\n1=ok,10,10,30,20, Apply the changes \r\n");
    }
    void Open() {
        ASSERT_TRUE(window.Create(dir.path(), "skin_test.ini", SkinWindow::Kind::Popup,
                                  WS_POPUP | WS_VISIBLE, nullptr));
        ::SetForegroundWindow(window.hwnd());
        ::SetActiveWindow(window.hwnd());
        test::PumpMessages();
    }
    // The same skin with a second button at slot 2, right of the first.
    void WriteTwoButtonSkin() {
        TestFolder::WriteFile(dir / "skin_test.ini",
                              "[SCREEN]\r\nNormal=n.bmp\r\nOver=o.bmp\r\nDown=d.bmp\r\nDisable=x."
                              "bmp\r\nMask=m.bmp\r\n"
                              "[BUTTONPOS]\r\n1=ok,10,10,30,20,\r\n2=cancel,60,10,30,20,\r\n");
    }
    COLORREF Shown(SkinButton& b) {
        return Canvas(30, 20, [&](HDC dc) { b.Paint(dc); }).At(15, 10);
    }
    ~ControlsTest() override {
        window.Destroy();
        SetHoverTextWindow(nullptr);
        SetHoverText("");
    }
    TestFolder dir;
    RecordingWindow window;
};

TEST_F(ControlsTest, ButtonShowsHoverAndPressedImagesAndReportsTheClick) {
    SkinButton button;
    window.onCreate = [&](WindowSkin& skin) {
        const ControlRecord r = skin.Record(1);
        ASSERT_TRUE(button.Create(r, window.hwnd()));
        button.SetImages(r, skin.sheets());
        button.SetHoverText(r.text);
        button.SetNotifyValue(205);
    };
    Open();
    SetHoverTextWindow(window.hwnd());
    EXPECT_EQ(Shown(button), kRest);

    ::SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, Point(5, 5));
    EXPECT_TRUE(button.hover());
    EXPECT_EQ(Shown(button), kOver);
    auto hovers = window.Take(UM_BUTTON_HOVER);
    ASSERT_EQ(hovers.size(), 1u);
    EXPECT_EQ(hovers[0].wp, 1u);
    EXPECT_EQ(hovers[0].lp, 205);
    EXPECT_EQ(window.Take(UM_HOVER_TEXT).size(), 1u);
    EXPECT_EQ(HoverText(), "Apply the changes");

    ::SendMessageA(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    EXPECT_EQ(Shown(button), kDown);
    ::SendMessageA(button.hwnd(), WM_LBUTTONUP, 0, Point(5, 5));
    auto commands = window.Take(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(HIWORD(commands[0].wp), BN_CLICKED);
    EXPECT_EQ(reinterpret_cast<HWND>(commands[0].lp), button.hwnd()) << "told apart by handle";

    // The pointer comes back over the button, then leaves to the parent window.
    ::SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, Point(5, 5));
    ::SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, Point(60, 40));
    EXPECT_FALSE(button.hover());
    EXPECT_EQ(Shown(button), kRest);
    hovers = window.Take(UM_BUTTON_HOVER);
    ASSERT_FALSE(hovers.empty());
    EXPECT_EQ(hovers.back().wp, 0u);

    ::EnableWindow(button.hwnd(), FALSE);
    EXPECT_EQ(Shown(button), kDisabled);
    button.SetLatched(true);
    EXPECT_EQ(Shown(button), kDisabled) << "disabled and latched, neither pressed nor hovered";
}

// Each state shows exactly the pixels of its own sheet under the button's
// rectangle; a state without a sheet draws nothing.
TEST_F(ControlsTest, EachStateShowsItsOwnSheetAtTheButtonsRectangleAndAMissingSheetNothing) {
    const auto pattern = [](int sheet) {
        return [sheet](int x, int y) { return RGB(x * 2, y * 3, 40 + sheet * 50); };
    };
    const char* names[] = {"pn.bmp", "po.bmp", "pd.bmp"};
    for (int i = 0; i < 3; ++i)
        test::WriteBmp(dir / names[i], 120, 80, pattern(i));
    SkinButton button;
    window.onCreate = [&](WindowSkin& skin) {
        ASSERT_TRUE(skin.sheets().normal);
        ASSERT_TRUE(button.Create(RECT{0, 0, 20, 10}, window.hwnd()));
    };
    Open();
    win::unique_hbitmap sheets[3];
    for (int i = 0; i < 3; ++i) {
        sheets[i].reset(
            static_cast<HBITMAP>(::LoadImageA(nullptr, (dir / names[i]).c_str(), IMAGE_BITMAP, 0, 0,
                                              LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        ASSERT_TRUE(sheets[i]);
    }
    // At (37, 21)-(57, 31) of the sheets; no disabled sheet.
    button.SetImages(37, 21, 57, 31, sheets[0].get(), sheets[1].get(), sheets[2].get(), nullptr);
    const auto expectSheet = [&](int sheet, const char* state) {
        const Canvas shown(20, 10, [&](HDC dc) { button.Paint(dc); });
        int wrong = 0;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                wrong += shown.At(x, y) != pattern(sheet)(37 + x, 21 + y);
        EXPECT_EQ(wrong, 0) << state << ": pixels that are not the sheet's";
    };
    expectSheet(0, "rest");
    button.SetHover(true);
    expectSheet(1, "hover");
    button.SetHover(false);
    button.SetToggle(true);
    button.SetLatched(true);
    expectSheet(2, "latched");
    ::EnableWindow(button.hwnd(), FALSE);
    EXPECT_EQ(Canvas(20, 10, [&](HDC dc) { button.Paint(dc); }).At(10, 5), RGB(1, 2, 3))
        << "disabled without a sheet draws nothing";
}

TEST_F(ControlsTest, ToggleClickedTwiceSendsTwoCommandsAndReturnsToRest) {
    SkinButton button;
    window.onCreate = [&](WindowSkin& skin) {
        ASSERT_TRUE(button.Create(skin.Record(1), window.hwnd()));
        button.SetImages(skin.Record(1), skin.sheets());
    };
    Open();
    button.SetToggle(true);
    for (int click = 1; click <= 2; ++click) {
        ::SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, Point(5, 5));
        ::SendMessageA(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
        ::SendMessageA(button.hwnd(), WM_LBUTTONUP, 0, Point(5, 5));
        EXPECT_EQ(button.latched(), click == 1);
        EXPECT_EQ(Shown(button), click == 1 ? kDown : kOver);
    }
    const auto commands = window.Take(WM_COMMAND);
    ASSERT_EQ(commands.size(), 2u);
    for (const auto& c : commands) {
        EXPECT_EQ(HIWORD(c.wp), 0);
        EXPECT_EQ(reinterpret_cast<HWND>(c.lp), button.hwnd());
    }
    ::SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, Point(60, 40));
    EXPECT_EQ(Shown(button), kRest);
    EXPECT_NE(::GetCapture(), button.hwnd()) << "the pointer is not kept after it left";
}

// A hovered button holds the capture; pressing another button takes it
// away, and that press must not be undone by the hovered one letting go.
TEST_F(ControlsTest, APressOfOneButtonCountsWhileAnotherIsHovered) {
    WriteTwoButtonSkin();
    SkinButton hovered, pressed;
    window.onCreate = [&](WindowSkin& skin) {
        ASSERT_TRUE(hovered.Create(skin.Record(1), window.hwnd()));
        ASSERT_TRUE(pressed.Create(skin.Record(2), window.hwnd()));
    };
    Open();
    const auto clicksOfPressed = [&] {
        int n = 0;
        for (const auto& c : window.Take(WM_COMMAND))
            n += HIWORD(c.wp) == BN_CLICKED && reinterpret_cast<HWND>(c.lp) == pressed.hwnd();
        return n;
    };

    ::SendMessageA(hovered.hwnd(), WM_MOUSEMOVE, 0, Point(5, 5));
    ASSERT_EQ(::GetCapture(), hovered.hwnd());
    ::SendMessageA(pressed.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicksOfPressed(), 1) << "a click sent to the other button";

    ::SendMessageA(hovered.hwnd(), WM_MOUSEMOVE, 0, Point(5, 5));
    ASSERT_EQ(::GetCapture(), hovered.hwnd());
    ::SendMessageA(pressed.hwnd(), WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(::GetCapture(), pressed.hwnd()) << "the press keeps its capture";
    ::SendMessageA(pressed.hwnd(), WM_KEYUP, VK_SPACE, 1);
    EXPECT_EQ(clicksOfPressed(), 1) << "space on the focused button";
    EXPECT_TRUE(hovered.hover()) << "the hovered button keeps its hover until the pointer moves";
}

// Controls skip repainting while their window is hidden; showing the window
// again must paint what changed meanwhile, on screen, not the old state.
TEST_F(ControlsTest, WhatChangesWhileTheWindowIsHiddenIsOnScreenOnceItIsShown) {
    WriteTwoButtonSkin();
    SkinButton latched, disabled;
    window.onCreate = [&](WindowSkin& skin) {
        ASSERT_TRUE(latched.Create(skin.Record(1), skin.sheets(), window.hwnd()));
        ASSERT_TRUE(disabled.Create(skin.Record(2), skin.sheets(), window.hwnd()));
    };
    Open();
    const auto onScreen = [&](SkinButton& b) {
        ::UpdateWindow(window.hwnd());
        win::window_dc dc(b.hwnd());
        return ::GetPixel(dc.get(), 15, 10);
    };
    ASSERT_EQ(onScreen(latched), kRest);
    ASSERT_EQ(onScreen(disabled), kRest);

    ::ShowWindow(window.hwnd(), SW_HIDE);
    latched.SetToggle(true);
    latched.SetLatched(true);
    ::EnableWindow(disabled.hwnd(), FALSE);
    EXPECT_FALSE(::GetUpdateRect(latched.hwnd(), nullptr, FALSE))
        << "nothing to paint while hidden";

    ::ShowWindow(window.hwnd(), SW_SHOWNA);
    EXPECT_EQ(onScreen(latched), kDown);
    EXPECT_EQ(onScreen(disabled), kDisabled);
}

// A window that draws its controls into its own paint, as the main dialog
// does; it does not clip its children.
class DrawsItsControls : public test::RecordingWindow {
  public:
    void Paint(HDC dc) override {
        const SIZE s = skin().size();
        OffscreenBuffer buffer(dc, s.cx, s.cy);
        skin().Paint(buffer.dc());
        if (PaintingWindow())
            PresentWithDescendants(hwnd(), dc, buffer);
        else
            buffer.Present();
    }
};

COLORREF OnScreen(HWND w, int x, int y) {
    win::window_dc dc(w);
    return ::GetPixel(dc.get(), x, y);
}

// Paints the window alone: its controls only if it draws them itself.
void PaintParentOnly(HWND w) {
    ::RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
}

TEST_F(ControlsTest, AWindowDrawingItsControlsLeavesThemPaintedAsEachPaintsItself) {
    WriteTwoButtonSkin();
    DrawsItsControls parent;
    SkinButton latched, disabled, hidden;
    HWND platform = nullptr;
    parent.onCreate = [&](WindowSkin& skin) {
        ASSERT_TRUE(latched.Create(skin.Record(1), skin.sheets(), parent.hwnd()));
        ASSERT_TRUE(disabled.Create(skin.Record(2), skin.sheets(), parent.hwnd()));
        ASSERT_TRUE(hidden.Create(RECT{10, 40, 40, 60}, parent.hwnd()));
        hidden.SetImages(10, 40, 40, 60, skin.sheets().down.get(), nullptr, nullptr, nullptr);
        ::ShowWindow(hidden.hwnd(), SW_HIDE);
        // A platform control draws itself: a rectangle in the frame colour.
        platform = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, 60, 40,
                                     30, 20, parent.hwnd(), nullptr, nullptr, nullptr);
    };
    ASSERT_TRUE(
        parent.Create(dir.path(), "skin_test.ini", SkinWindow::Kind::Popup, WS_POPUP, nullptr));
    ASSERT_TRUE(platform);
    latched.SetToggle(true);
    latched.SetLatched(true);
    ::EnableWindow(disabled.hwnd(), FALSE);
    // The shape keeps the button's left half; the right half shows the window.
    ASSERT_TRUE(SetWindowShape(latched.hwnd(), ::CreateRectRgn(0, 0, 15, 20), true));

    ::ShowWindow(parent.hwnd(), SW_SHOWNA);
    ASSERT_TRUE(::GetUpdateRect(latched.hwnd(), nullptr, FALSE)) << "shown, not yet painted";
    PaintParentOnly(parent.hwnd());
    EXPECT_FALSE(::GetUpdateRect(latched.hwnd(), nullptr, FALSE)) << "painted by the window";
    EXPECT_FALSE(::GetUpdateRect(disabled.hwnd(), nullptr, FALSE));
    EXPECT_TRUE(::GetUpdateRect(platform, nullptr, FALSE)) << "left to paint itself";
    EXPECT_EQ(OnScreen(latched.hwnd(), 5, 10), kDown);
    EXPECT_EQ(OnScreen(parent.hwnd(), 10 + 20, 20), kRest) << "outside the button's shape";
    EXPECT_EQ(OnScreen(disabled.hwnd(), 15, 10), kDisabled);
    EXPECT_EQ(OnScreen(parent.hwnd(), 20, 50), kRest) << "a hidden control is not drawn";

    ::UpdateWindow(parent.hwnd());
    const COLORREF own = OnScreen(parent.hwnd(), 75, 50);
    ASSERT_NE(own, kRest) << "the platform control painted";
    // The window alone is painted again, the whole of it: what it does not
    // draw itself keeps its pixels.
    ::InvalidateRect(parent.hwnd(), nullptr, FALSE);
    PaintParentOnly(parent.hwnd());
    EXPECT_EQ(OnScreen(parent.hwnd(), 75, 50), own);
    EXPECT_EQ(OnScreen(latched.hwnd(), 5, 10), kDown);

    // A paint of part of the window marks as painted only what lies wholly
    // inside it.
    ::InvalidateRect(disabled.hwnd(), nullptr, FALSE);
    ::InvalidateRect(latched.hwnd(), nullptr, FALSE);
    const RECT aroundDisabled{55, 5, 95, 35};
    ::InvalidateRect(parent.hwnd(), &aroundDisabled, FALSE);
    PaintParentOnly(parent.hwnd());
    EXPECT_FALSE(::GetUpdateRect(disabled.hwnd(), nullptr, FALSE)) << "drawn whole by the window";
    EXPECT_TRUE(::GetUpdateRect(latched.hwnd(), nullptr, FALSE)) << "outside the paint";
    const RECT halfOfDisabled{70, 0, 120, 80};
    ::InvalidateRect(disabled.hwnd(), nullptr, FALSE);
    ::InvalidateRect(parent.hwnd(), &halfOfDisabled, FALSE);
    PaintParentOnly(parent.hwnd());
    EXPECT_TRUE(::GetUpdateRect(disabled.hwnd(), nullptr, FALSE)) << "partly outside the paint";
    parent.Destroy();
}

// Controls made late, as the main dialog's are: no window until the window's
// first paint has drawn them; then windows below those made at once, shown,
// painted, and with what was set on them meanwhile.
TEST_F(ControlsTest, ControlsMadeLateAreDrawnByTheFirstPaintAndThenGetTheirWindows) {
    WriteTwoButtonSkin();
    DrawsItsControls parent;
    RecordingWindow page; // a child that clips its own children, as a page does
    SkinButton late, onPage, now;
    TextLabel label;
    std::optional<SkinButton> gone;
    page.onCreate = [&](WindowSkin& skin) {
        ASSERT_TRUE(onPage.Create(RECT{5, 5, 25, 25}, page.hwnd()));
        onPage.SetImages(5, 5, 25, 25, skin.sheets().down.get(), nullptr, nullptr, nullptr);
    };
    parent.onCreate = [&](WindowSkin& skin) {
        {
            const LateWindowsScope scope;
            ASSERT_TRUE(late.Create(skin.Record(1), skin.sheets(), parent.hwnd()));
            // Over the page's corner: created before it, so above it.
            ASSERT_TRUE(label.Create(RECT{50, 45, 70, 60}, parent.hwnd()));
            gone.emplace();
            ASSERT_TRUE(gone->Create(RECT{60, 10, 90, 30}, parent.hwnd()));
            ASSERT_TRUE(page.Create(dir.path(), "skin_test.ini", SkinWindow::Kind::Page,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, parent.hwnd()));
            ::MoveWindow(page.hwnd(), 60, 40, 60, 40, FALSE);
        }
        ASSERT_TRUE(now.Create(skin.Record(2), skin.sheets(), parent.hwnd()));
    };
    ASSERT_TRUE(
        parent.Create(dir.path(), "skin_test.ini", SkinWindow::Kind::Popup, WS_POPUP, nullptr));
    ASSERT_TRUE(page.hwnd()) << "a window that is not a control is made at once";
    ASSERT_TRUE(now.hwnd());
    EXPECT_FALSE(late.hwnd());
    ASSERT_TRUE(late.late());
    EXPECT_FALSE(onPage.hwnd());
    gone.reset(); // a control that goes before its window is made is forgotten
    EXPECT_EQ(LateControlsOf(parent.hwnd()), (std::vector<WindowBase*>{&late, &label}));
    late.SetToggle(true);
    late.SetLatched(true);
    label.SetText("Late");

    ::ShowWindow(parent.hwnd(), SW_SHOWNA);
    PaintParentOnly(parent.hwnd());
    EXPECT_TRUE(LateControlsOf(parent.hwnd()).empty());
    EXPECT_TRUE(LateControlsOf(page.hwnd()).empty());
    for (const WindowBase* w : std::vector<const WindowBase*>{&late, &onPage, &label}) {
        ASSERT_TRUE(w->hwnd());
        EXPECT_TRUE(::IsWindowVisible(w->hwnd()));
        EXPECT_FALSE(::GetUpdateRect(w->hwnd(), nullptr, FALSE)) << "drawn by the window";
    }
    EXPECT_EQ(OnScreen(late.hwnd(), 5, 10), kDown);
    EXPECT_EQ(OnScreen(onPage.hwnd(), 10, 10), kDown);
    EXPECT_EQ(OnScreen(parent.hwnd(), 68, 46), RGB(2, 2, 2)) << "the label over the page";
    char text[16] = "";
    ::GetWindowTextA(label.hwnd(), text, sizeof text);
    EXPECT_STREQ(text, "Late");
    const POINT inLate{20, 20};
    EXPECT_EQ(::ChildWindowFromPoint(parent.hwnd(), inLate), late.hwnd());
    // In the order of the z-order they would have had made at once: a new
    // child goes below its elder siblings.
    std::vector<HWND> order;
    for (HWND c = ::GetWindow(parent.hwnd(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        order.push_back(c);
    EXPECT_EQ(order, (std::vector<HWND>{late.hwnd(), label.hwnd(), page.hwnd(), now.hwnd()}));

    // Shown by its style alone, the control is still left out of its
    // clipping parent's own paint.
    ::InvalidateRect(page.hwnd(), nullptr, FALSE);
    PaintParentOnly(page.hwnd());
    EXPECT_EQ(OnScreen(onPage.hwnd(), 10, 10), kDown);
    ::InvalidateRect(late.hwnd(), nullptr, FALSE);
    ::UpdateWindow(late.hwnd());
    EXPECT_EQ(OnScreen(late.hwnd(), 5, 10), kDown) << "and then paints itself the same";

    // One no paint drew gets its window shown and left to paint itself.
    SkinButton undrawn;
    {
        const LateWindowsScope scope;
        ASSERT_TRUE(undrawn.Create(RECT{40, 60, 60, 75}, parent.hwnd()));
    }
    MakeLateWindows();
    ASSERT_TRUE(undrawn.hwnd());
    EXPECT_TRUE(::IsWindowVisible(undrawn.hwnd()));
    EXPECT_TRUE(::GetUpdateRect(undrawn.hwnd(), nullptr, FALSE));
    parent.Destroy();
}

TEST_F(ControlsTest, ABufferOverAnOffScreenDcDrawsInsideItsSizeAndGivesTheDcBack) {
    const auto drawn = [](HDC dc) {
        ::SetTextColor(dc, RGB(1, 2, 3));
        {
            OffscreenBuffer buffer(dc, 10, 10);
            ASSERT_TRUE(buffer.dc());
            ::SetTextColor(buffer.dc(), RGB(9, 9, 9));
            win::unique_hbrush fill(::CreateSolidBrush(RGB(40, 50, 60)));
            const RECT wide{0, 0, 30, 5};
            ::FillRect(buffer.dc(), &wide, fill.get());
            buffer.Present();
        }
        EXPECT_EQ(::GetTextColor(dc), RGB(1, 2, 3)) << "the DC's settings are given back";
    };
    const Canvas c(20, 20, [&](HDC dc) {
        win::unique_hbrush white(::CreateSolidBrush(RGB(255, 255, 255)));
        const RECT all{0, 0, 20, 20};
        ::FillRect(dc, &all, white.get());
        drawn(dc);
    });
    EXPECT_EQ(c.At(3, 3), RGB(40, 50, 60));
    EXPECT_EQ(c.At(3, 7), RGB(0, 0, 0)) << "a buffer starts black";
    EXPECT_EQ(c.At(15, 3), RGB(255, 255, 255)) << "nothing is drawn outside the size";
}

TEST_F(ControlsTest, SwatchPaintsItsColourInsideTheCutCorners) {
    SwatchButton swatch;
    window.onCreate = [&](WindowSkin& skin) {
        ASSERT_TRUE(swatch.Create(RECT{10, 10, 30, 30}, window.hwnd()));
        swatch.SetImages(10, 10, 30, 30, skin.sheets().normal.get(), nullptr, nullptr, nullptr);
    };
    Open();
    swatch.SetColor(RGB(12, 34, 56));
    const Canvas c(20, 20, [&](HDC dc) { swatch.Paint(dc); });
    EXPECT_EQ(c.At(7, 7), RGB(12, 34, 56));
    EXPECT_EQ(c.At(1, 0), RGB(12, 34, 56));
    EXPECT_EQ(c.At(0, 0), kRest) << "corner cut";
    EXPECT_EQ(c.At(14, 14), kRest) << "corner cut";
    EXPECT_EQ(c.At(17, 17), kRest) << "outside the swatch";
}

TEST_F(ControlsTest, NumericEditFiltersPasteAndSwallowsKeypadDigits) {
    BitmapEdit edit;
    window.onCreate = [&](WindowSkin&) {
        ASSERT_TRUE(edit.Create(RECT{10, 40, 100, 60}, window.hwnd()));
    };
    Open();
    edit.SetNumeric(true);
    char text[64];

    ::SetWindowTextA(edit.hwnd(), "12a,3.4b");
    ::GetWindowTextA(edit.hwnd(), text, sizeof text);
    EXPECT_STREQ(text, "12,3.4");
    const UINT changed = EditKillFocusMessage();
    auto notices = window.Take(changed);
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices.back().wp, 0u);

    ::SendMessageA(edit.hwnd(), EM_SETSEL, 6, 6);
    ::SendMessageA(edit.hwnd(), WM_KEYDOWN, VK_NUMPAD5, 0);
    ::SendMessageA(edit.hwnd(), WM_CHAR, '5', 0);
    ::GetWindowTextA(edit.hwnd(), text, sizeof text);
    EXPECT_STREQ(text, "12,3.4") << "the keypad's 5 does nothing";
    ::SendMessageA(edit.hwnd(), WM_KEYDOWN, '5', 0);
    ::SendMessageA(edit.hwnd(), WM_CHAR, '5', 0);
    ::GetWindowTextA(edit.hwnd(), text, sizeof text);
    EXPECT_STREQ(text, "12,3.45");

    ::SendMessageA(edit.hwnd(), WM_KEYUP, VK_RETURN, 0);
    const auto enter = window.Take(UM_EDIT_ENTER);
    ASSERT_EQ(enter.size(), 1u);
    EXPECT_EQ(enter[0].wp, 13u);

    // Colours come back through the parent.
    HDC dc = ::CreateCompatibleDC(nullptr);
    const auto brush =
        ::SendMessageA(window.hwnd(), WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(edit.hwnd()));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(::GetTextColor(dc), RGB(36, 36, 36));
    EXPECT_EQ(::GetBkColor(dc), RGB(255, 255, 255));
    ::DeleteDC(dc);

    edit.SetNumeric(false);
    ::SetWindowTextA(edit.hwnd(), "12a");
    ::GetWindowTextA(edit.hwnd(), text, sizeof text);
    EXPECT_STREQ(text, "12a");
}

class SliderTest : public ControlsTest {
  protected:
    void OpenWithSlider(bool round) {
        window.onCreate = [&, round](WindowSkin& skin) {
            // 254 pixels wide at (10, 40) of the window.
            ASSERT_TRUE(
                slider.Create(dir / "thumb.bmp", RECT{10, 40, 264, 56}, window.hwnd(), 201));
            slider.SetTrackImage(10, 40, 264, 56, skin.sheets().normal.get());
            slider.SetRange(2, 255);
            slider.SetRound(round);
        };
        Open();
    }
    std::vector<int> Values() {
        std::vector<int> v;
        for (const auto& r : window.Take(UM_SLIDER_POS)) {
            EXPECT_EQ(r.lp, 201) << "the slider's identifier";
            v.push_back(int(r.wp));
        }
        return v;
    }
    // Sends a pointer message to the thumb at a point given in track coordinates.
    void ToThumb(UINT msg, WPARAM keys, int trackX, int trackY) {
        POINT p{trackX, trackY};
        ::MapWindowPoints(slider.hwnd(), slider.thumb().hwnd(), &p, 1);
        ::SendMessageA(slider.thumb().hwnd(), msg, keys, Point(p.x, p.y));
    }
    CclickHSlider slider;
};

TEST_F(SliderTest, ClickTruncatesWithoutRounding) {
    OpenWithSlider(false);
    ::SendMessageA(slider.hwnd(), WM_LBUTTONUP, 0, Point(127, 5));
    EXPECT_EQ(Values(), std::vector<int>{128});
    EXPECT_EQ(slider.thumb().value(), 128);
    ::SendMessageA(slider.hwnd(), WM_LBUTTONUP, 0, Point(0, 5));
    EXPECT_EQ(Values(), std::vector<int>{2}) << "far left is the minimum";
}

TEST_F(SliderTest, ClickRoundsWithRounding) {
    OpenWithSlider(true);
    ::SendMessageA(slider.hwnd(), WM_LBUTTONUP, 0, Point(127, 5));
    EXPECT_EQ(Values(), std::vector<int>{129});
}

TEST_F(SliderTest, DragReportsEachStepAndTheReleaseThroughTheTrack) {
    OpenWithSlider(false);
    slider.SetPos(2);
    EXPECT_EQ(slider.thumb().left(), 0);
    ToThumb(WM_LBUTTONDOWN, MK_LBUTTON, 3, 5);
    ToThumb(WM_MOUSEMOVE, MK_LBUTTON, 53, 5); // 50 pixels right
    EXPECT_EQ(slider.thumb().left(), 50);
    ToThumb(WM_LBUTTONUP, 0, 53, 5);
    // 2 + 50 * 253 / 244 = 53.8: truncated in both steps.
    EXPECT_EQ(Values(), (std::vector<int>{53, 53}));

    ToThumb(WM_LBUTTONDOWN, MK_LBUTTON, 55, 5);
    ToThumb(WM_MOUSEMOVE, MK_LBUTTON, 900, 5);
    ToThumb(WM_LBUTTONUP, 0, 900, 5);
    EXPECT_EQ(slider.thumb().left(), 244) << "kept inside the track";
    EXPECT_EQ(Values(), (std::vector<int>{255, 255}));
    EXPECT_NE(::GetCapture(), slider.thumb().hwnd());
}

TEST_F(SliderTest, OutOfRangePositionsLandOnTheMaximumAndTheThumbIsShaped) {
    OpenWithSlider(true);
    slider.SetPos(300);
    EXPECT_EQ(slider.thumb().left(), 244);
    slider.SetPos(2);
    slider.SetPos(-1);
    EXPECT_EQ(slider.thumb().left(), 244) << "unsigned comparison";
    EXPECT_EQ(slider.thumb().value(), 255);

    win::unique_hrgn shape(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(slider.thumb().hwnd(), shape.get()), ERROR);
    EXPECT_FALSE(::PtInRegion(shape.get(), 0, 0)) << "key-coloured corner cut out";
    EXPECT_FALSE(::PtInRegion(shape.get(), 9, 15));
    EXPECT_TRUE(::PtInRegion(shape.get(), 1, 0));
    EXPECT_TRUE(::PtInRegion(shape.get(), 5, 8));
}

TEST_F(SliderTest, MissingThumbImageCreatesNothing) {
    CclickHSlider bare;
    window.onCreate = [&](WindowSkin&) {
        EXPECT_FALSE(bare.Create(dir / "no_thumb.bmp", RECT{0, 0, 100, 10}, window.hwnd(), 7));
    };
    Open();
    EXPECT_EQ(bare.hwnd(), nullptr);
}

} // namespace
} // namespace gm::skin
