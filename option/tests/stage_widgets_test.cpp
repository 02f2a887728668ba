// The resolution stage control and the colour chooser on their own, in a
// window that records every notice they post, built from the shipped skins.
#include "option/tests/page_driver.h"
#include "option/tests/page_host.h"
#include "option/widgets/color_chooser_win.h"
#include "option/widgets/stage_control_win.h"
#include "option/widgets/widget_messages.h"
#include "skin/tests/skin_fixture.h"

#include <gtest/gtest.h>

namespace gm::option {
namespace {

using skin::test::Canvas;
using skin::test::Received;
using skin::test::RecordingWindow;
using test::Click;
using test::ClickCentre;

constexpr int kStageSlot = 8; // the fourth stage of the sensitivity page

class StageControlTest : public ::testing::Test {
  protected:
    void Open() {
        owner.onCreate = [this](skin::WindowSkin& skin) {
            const skin::ControlRecord r = skin.Record(kStageSlot);
            ASSERT_TRUE(
                stage.Create(RECT{r.left, r.top, r.right, r.bottom}, owner.hwnd(), 503, folder));
            const auto& s = skin.sheets();
            stage.SetImages(r.left, r.top, r.right, r.bottom, s.normal.get(), s.over.get(),
                            s.down.get(), s.normal.get());
        };
        ASSERT_TRUE(owner.Create(folder, "skin_sensitivity_page.ini", skin::SkinWindow::Kind::Page,
                                 WS_POPUP | WS_VISIBLE, nullptr));
        ::SetForegroundWindow(owner.hwnd());
        test::Pump();
    }
    std::vector<Received> Notices() { return owner.Take(UM_STAGE_CHANGED); }
    COLORREF Pixel(int x, int y) {
        return Canvas(276, 44, [&](HDC dc) { stage.Paint(dc); }).At(x, y);
    }
    ~StageControlTest() override { owner.Destroy(); }

    std::string folder = test::PageHost::BuiltSkinFolder();
    RecordingWindow owner;
    StageControl stage;
};

TEST_F(StageControlTest, ShowsItsCodeAsCpiAndPlacesTheThumb) {
    Open();
    stage.SetValue(8);
    EXPECT_EQ(stage.label().text(), "2000");
    const int atEight = stage.slider().thumb().left();
    EXPECT_GT(atEight, 0);
    stage.SetValue(0);
    EXPECT_EQ(stage.label().text(), "1200");
    EXPECT_EQ(stage.slider().thumb().left(), 0) << "below the range: the left end";
    stage.SetValue(1);
    EXPECT_EQ(stage.slider().thumb().left(), 0);
    stage.SetValue(12);
    EXPECT_EQ(stage.slider().thumb().left(), 242 - stage.slider().thumb().size().cx);
    EXPECT_TRUE(Notices().empty()) << "setting by program sends nothing";

    // The outline comes from the mask: the chamfered corner is outside.
    win::unique_hrgn shape(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(stage.hwnd(), shape.get()), ERROR);
    EXPECT_FALSE(::PtInRegion(shape.get(), 0, 0));
    EXPECT_TRUE(::PtInRegion(shape.get(), 138, 22));
}

TEST_F(StageControlTest, SliderClicksReportNewCodesOnly) {
    Open();
    stage.SetValue(8);
    // The code under x: the track is 242 wide, codes 1-12, rounding on.
    const int xOfEight = int((8 - 1) * 242 / 11.0);
    test::ClickTrack(stage.slider(), xOfEight);
    EXPECT_TRUE(Notices().empty()) << "same code as before";

    test::ClickTrack(stage.slider(), 241);
    auto n = Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].wp, 0x2000Cu);
    EXPECT_EQ(n[0].lp, 503);
    EXPECT_EQ(stage.code(), 12);
    EXPECT_EQ(stage.label().text(), "4000");

    // A drag across several codes reports each code passed.
    test::DragThumb(stage.slider(), -300);
    n = Notices();
    ASSERT_FALSE(n.empty());
    EXPECT_EQ(n.back().wp, 0x20001u);
    EXPECT_EQ(stage.code(), 1);
}

TEST_F(StageControlTest, EnableBoxReportsAndGreysTheOtherParts) {
    Open();
    stage.SetEnabled(true);
    stage.SetSelected(false);
    ClickCentre(stage.enableBox().hwnd());
    auto n = Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].msg, 1128u);
    EXPECT_EQ(n[0].wp, 0x10000u) << "stage 503 switched off";
    EXPECT_EQ(n[0].lp, 503);
    EXPECT_FALSE(stage.enabled());
    EXPECT_FALSE(::IsWindowEnabled(stage.selectButton().hwnd()));
    EXPECT_FALSE(::IsWindowEnabled(stage.slider().hwnd()));
    EXPECT_FALSE(::IsWindowEnabled(stage.label().hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(stage.enableBox().hwnd())) << "it can be switched on again";

    ClickCentre(stage.enableBox().hwnd());
    n = Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].wp, 0x10001u);
    EXPECT_TRUE(::IsWindowEnabled(stage.slider().hwnd()));
}

TEST_F(StageControlTest, TheSelectedStageCannotBeSwitchedOffByThePointer) {
    Open();
    stage.SetEnabled(true);
    stage.SetSelected(true);
    EXPECT_TRUE(stage.enableBox().latched());
    EXPECT_FALSE(::IsWindowEnabled(stage.enableBox().hwnd()));
    test::Pump();
    const RECT& box = StageControl::kEnableRect;
    test::RealClick(stage.hwnd(), (box.left + box.right) / 2, (box.top + box.bottom) / 2);
    EXPECT_TRUE(Notices().empty());
    EXPECT_TRUE(stage.enabled());

    // The same click on a stage that is not selected switches it off.
    stage.SetSelected(false);
    test::RealClick(stage.hwnd(), (box.left + box.right) / 2, (box.top + box.bottom) / 2);
    const auto n = Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].wp, 0x10000u);
    stage.SetEnabled(true);

    // Selected stages show their pressed image, others their rest image.
    const COLORREF rest = Pixel(100, 5);
    stage.SetSelected(true);
    EXPECT_NE(Pixel(100, 5), rest);
}

TEST_F(StageControlTest, SelectButtonReportsItsLatchedState) {
    Open();
    stage.SetSelected(false);
    ClickCentre(stage.selectButton().hwnd());
    auto n = Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].wp, 0x30000u);
    EXPECT_EQ(n[0].lp, 503);
}

class ColorChooserTest : public ::testing::Test {
  protected:
    void Open() {
        ASSERT_TRUE(receiver.Create(folder, "skin_sensitivity_page.ini",
                                    skin::SkinWindow::Kind::Page, WS_POPUP | WS_VISIBLE, nullptr));
        ::SetWindowPos(receiver.hwnd(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::SetForegroundWindow(receiver.hwnd());
        ASSERT_TRUE(chooser.Create(folder, receiver.hwnd()));
        ColorChooser::SetReceiver(receiver.hwnd());
        test::Pump();
    }
    void Show() {
        chooser.ShowAt(POINT{200, 200});
        test::Pump();
        ASSERT_TRUE(chooser.shown());
    }
    POINT CellCentre(int i) {
        const CellRect& r = chooser.cellRects()[std::size_t(i)];
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    ~ColorChooserTest() override {
        ColorChooser::SetReceiver(nullptr);
        chooser.Destroy();
        receiver.Destroy();
    }
    std::string folder = test::PageHost::BuiltSkinFolder();
    RecordingWindow receiver;
    ColorChooser chooser;
};

TEST_F(ColorChooserTest, AClickOnACellReportsItAndHides) {
    Open();
    EXPECT_FALSE(chooser.shown()) << "built hidden";
    Show();
    EXPECT_EQ(::GetCapture(), chooser.hwnd());
    const POINT c = CellCentre(6);
    test::RealClick(chooser.hwnd(), c.x, c.y);
    EXPECT_FALSE(chooser.shown());
    const auto chosen = receiver.Take(UM_COLOR_CHOSEN);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].wp, 0u);
    EXPECT_EQ(chosen[0].lp, 6);
    EXPECT_EQ(chooser.chosen(), 6);
    EXPECT_NE(::GetCapture(), chooser.hwnd());
}

TEST_F(ColorChooserTest, AClickOutsideHidesAndSendsNothing) {
    Open();
    Show();
    // Far from the chooser, over the receiver window.
    test::RealClick(chooser.hwnd(), -150, 180);
    EXPECT_FALSE(chooser.shown());
    EXPECT_TRUE(receiver.Take(UM_COLOR_CHOSEN).empty());
    EXPECT_EQ(chooser.chosen(), -1);
    // Inside the chooser but on no cell: also nothing.
    Show();
    test::RealClick(chooser.hwnd(), 3, 3);
    EXPECT_FALSE(chooser.shown());
    EXPECT_TRUE(receiver.Take(UM_COLOR_CHOSEN).empty());
}

TEST_F(ColorChooserTest, HoverFollowsThePointerAndStartsClearEachTime) {
    Open();
    Show();
    const POINT two = CellCentre(2);
    ::SendMessageA(chooser.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(two.x, two.y));
    EXPECT_EQ(chooser.overCell(), 2);
    EXPECT_TRUE(chooser.cell(2).hover());
    // The gap right of cell 2 keeps it lit.
    const CellRect& r2 = chooser.cellRects()[2];
    ::SendMessageA(chooser.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(r2.right + 1, two.y));
    EXPECT_EQ(chooser.overCell(), -1);
    EXPECT_TRUE(chooser.cell(2).hover());
    const POINT three = CellCentre(3);
    ::SendMessageA(chooser.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(three.x, three.y));
    EXPECT_FALSE(chooser.cell(2).hover());
    EXPECT_TRUE(chooser.cell(3).hover());

    chooser.Hide();
    Show();
    EXPECT_EQ(chooser.overCell(), -1);
    for (int i = 0; i < kColorCellCount; ++i)
        EXPECT_FALSE(chooser.cell(i).hover()) << i;
}

TEST_F(ColorChooserTest, LosingTheMouseToAnotherWindowHidesIt) {
    Open();
    Show();
    ::SetCapture(receiver.hwnd());
    test::Pump();
    EXPECT_FALSE(chooser.shown());
    ::ReleaseCapture();
    EXPECT_TRUE(receiver.Take(UM_COLOR_CHOSEN).empty());
}

} // namespace
} // namespace gm::option
