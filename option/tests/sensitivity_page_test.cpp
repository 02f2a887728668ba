// The sensitivity page in a stand-in main dialog, driven by pointer clicks
// and drags on its real controls.
#include "option/pages/sensitivity_logic.h"
#include "option/pages/sensitivity_page_win.h"
#include "option/tests/page_driver.h"
#include "option/tests/page_host.h"
#include "skin/tests/skin_fixture.h"

#include <gtest/gtest.h>

namespace gm::option {
namespace {

using test::ClickCentre;

class SensitivityPageTest : public ::testing::Test {
  protected:
    void Open() {
        ASSERT_TRUE(host.Open(page));
        test::Pump();
    }
    ProfileView Current() { return host.working.Profile(host.working.CurrentProfile()); }
    // Thumb left edge of a sensitivity slider showing `position`.
    int ThumbAt(skin::CclickHSlider& s, int position) {
        const skin::SliderRange r{kSensitivityPositionMin, kSensitivityPositionMax, true};
        RECT client{};
        ::GetClientRect(s.hwnd(), &client);
        return skin::ThumbLeftForValue(position, r, 0, client.right, s.thumb().size().cx);
    }
    // Track x of a position on a slider with the 1-11 range.
    int TrackX(skin::CclickHSlider& s, int position) {
        RECT client{};
        ::GetClientRect(s.hwnd(), &client);
        return (position - 1) * client.right / 10;
    }
    COLORREF SwatchPixel(int i) {
        return skin::test::Canvas(20, 15, [&](HDC dc) { page.swatch(i).Paint(dc); }).At(7, 7);
    }
    ~SensitivityPageTest() override { page.Destroy(); }

    test::PageHost host;
    SensitivityPage page{host};
};

TEST_F(SensitivityPageTest, AFreshProfileShowsItsDefaults) {
    Open();
    EXPECT_TRUE(page.xyButton().latched());
    EXPECT_EQ(page.sliderX().thumb().value(), 6);
    EXPECT_EQ(page.sliderY().thumb().value(), 6);
    const char* texts[] = {"500", "1000", "2000", "3000", "4000", "1200"};
    for (int i = 0; i < kStageCount; ++i) {
        EXPECT_EQ(page.stage(i).label().text(), texts[i]) << i;
        EXPECT_EQ(page.stage(i).enabled(), i < 4) << i;
        EXPECT_EQ(page.stage(i).selected(), i == 1) << i;
    }
    EXPECT_FALSE(::IsWindowEnabled(page.stage(1).enableBox().hwnd()));
    for (int i = 0; i < kIndicatorSwatches; ++i)
        EXPECT_EQ(SwatchPixel(i), RGB(128, 128, 128)) << "codes 15-21 have no colour";
    EXPECT_FALSE(page.chooser().shown());
    EXPECT_TRUE(host.applied.empty()) << "a page never applies by itself";
}

TEST_F(SensitivityPageTest, StoredValuesShowTheirPositionAndATouchStoresTheTableValue) {
    Current().Set(prof::Sensitivity_X, 9);
    Current().Set(prof::Sensitivity_Y, 0);
    Open();
    EXPECT_EQ(page.sliderX().thumb().value(), 5);
    EXPECT_EQ(page.sliderX().thumb().left(), ThumbAt(page.sliderX(), 5));
    EXPECT_EQ(page.sliderY().thumb().value(), 6);
    for (int v : {10, 11}) {
        Current().Set(prof::Sensitivity_Y, v);
        page.Refresh();
        EXPECT_EQ(page.sliderY().thumb().value(), 6) << v;
    }

    test::TouchThumb(page.sliderX());
    EXPECT_EQ(Current().Get(prof::Sensitivity_X), 8);
    EXPECT_EQ(Current().Get(prof::Sensitivity_Y), 8) << "linked";
}

TEST_F(SensitivityPageTest, LinkedSlidersMoveTogetherBothWays) {
    Open();
    test::ClickTrack(page.sliderY(), TrackX(page.sliderY(), 2));
    EXPECT_EQ(Current().Get(prof::Sensitivity_X), 3);
    EXPECT_EQ(Current().Get(prof::Sensitivity_Y), 3);
    EXPECT_EQ(page.sliderX().thumb().value(), 2);
    EXPECT_EQ(page.sliderX().thumb().left(), ThumbAt(page.sliderX(), 2));

    test::DragThumb(page.sliderX(), 2000);
    EXPECT_EQ(Current().Get(prof::Sensitivity_X), 20);
    EXPECT_EQ(Current().Get(prof::Sensitivity_Y), 20);
    EXPECT_EQ(page.sliderY().thumb().value(), 11);

    // Unlinked, each slider keeps to its own axis.
    ClickCentre(page.xyButton().hwnd());
    EXPECT_EQ(Current().Get(prof::XYSynchronous), 0);
    test::ClickTrack(page.sliderX(), TrackX(page.sliderX(), 4));
    EXPECT_EQ(Current().Get(prof::Sensitivity_X), 7);
    EXPECT_EQ(Current().Get(prof::Sensitivity_Y), 20);
    EXPECT_EQ(page.sliderY().thumb().value(), 11);
}

TEST_F(SensitivityPageTest, SwitchingTheLinkOnCopiesXIntoY) {
    Current().Set(prof::XYSynchronous, 0);
    Current().Set(prof::Sensitivity_X, 14);
    Current().Set(prof::Sensitivity_Y, 5);
    Open();
    EXPECT_FALSE(page.xyButton().latched());
    EXPECT_EQ(page.sliderY().thumb().value(), 3);

    ClickCentre(page.xyButton().hwnd());
    EXPECT_EQ(Current().Get(prof::XYSynchronous), 1);
    EXPECT_EQ(Current().Get(prof::Sensitivity_Y), 14);
    EXPECT_EQ(page.sliderX().thumb().value(), 8);
    EXPECT_EQ(page.sliderY().thumb().value(), 8);

    ClickCentre(page.xyButton().hwnd());
    EXPECT_EQ(Current().Get(prof::XYSynchronous), 0);
    EXPECT_EQ(Current().Get(prof::Sensitivity_X), 14);
    EXPECT_EQ(Current().Get(prof::Sensitivity_Y), 14);
}

TEST_F(SensitivityPageTest, StagesAreSelectedEnabledAndLevelledFromTheirControls) {
    Open();
    ClickCentre(page.stage(3).selectButton().hwnd());
    EXPECT_EQ(Current().Get(prof::CpiStep), 3);
    for (int i = 0; i < kStageCount; ++i)
        EXPECT_EQ(page.stage(i).selected(), i == 3) << i;
    EXPECT_FALSE(::IsWindowEnabled(page.stage(3).enableBox().hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(page.stage(1).enableBox().hwnd()));

    // The selected stage cannot be switched off, another one can.
    test::RealClick(page.stage(3).hwnd(), 18, 32);
    EXPECT_EQ(Current().Get(prof::StepFlag(3)), 1);
    test::RealClick(page.stage(0).hwnd(), 18, 32);
    EXPECT_EQ(Current().Get(prof::StepFlag(0)), 0);

    // Stage 5 is off in a fresh profile: switched on, its level can be set.
    ClickCentre(page.stage(5).enableBox().hwnd());
    EXPECT_EQ(Current().Get(prof::StepFlag(5)), 1);
    test::ClickTrack(page.stage(5).slider(), 241);
    EXPECT_EQ(Current().Get(prof::CpiLevelX(5)), 12);
    EXPECT_EQ(Current().Get(prof::CpiLevelY(5)), 18) << "the Y levels are not this page's";
    EXPECT_EQ(page.stage(5).label().text(), "4000");
    test::DragThumb(page.stage(2).slider(), -400);
    EXPECT_EQ(Current().Get(prof::CpiLevelX(2)), 1);
    EXPECT_TRUE(host.applied.empty());
}

TEST_F(SensitivityPageTest, ChoosingACellStoresTheColourOfTheClickedSwatch) {
    Open();
    ClickCentre(page.swatch(2).hwnd());
    ASSERT_TRUE(page.chooser().shown());
    EXPECT_EQ(page.colorTarget(), 2);
    // Its corner sits 3 right of and 25 above the swatch's.
    RECT swatch{}, chooser{};
    ::GetWindowRect(page.swatch(2).hwnd(), &swatch);
    ::GetWindowRect(page.chooser().hwnd(), &chooser);
    EXPECT_EQ(chooser.left, swatch.left + 3);
    EXPECT_EQ(chooser.top, swatch.top - 25);

    const CellRect& cell = page.chooser().cellRects()[0];
    test::RealClick(page.chooser().hwnd(), (cell.left + cell.right) / 2,
                    (cell.top + cell.bottom) / 2);
    ASSERT_TRUE(test::PumpUntil([&] { return Current().Get(prof::Indicator(2)) == 1; }));
    EXPECT_FALSE(page.chooser().shown());
    EXPECT_EQ(SwatchPixel(2), RGB(255, 0, 0));
    EXPECT_EQ(SwatchPixel(1), RGB(128, 128, 128));
    EXPECT_EQ(Current().Get(prof::Indicator(1)), 16) << "other stages keep their codes";

    // A click away from the chooser changes nothing.
    const SettingsBlock before = host.working;
    ClickCentre(page.swatch(3).hwnd());
    ASSERT_TRUE(page.chooser().shown());
    test::RealClick(page.hwnd(), 300, 30);
    EXPECT_FALSE(page.chooser().shown());
    test::Pump();
    EXPECT_TRUE(host.working == before);
}

TEST_F(SensitivityPageTest, RefreshShowsAnotherProfileWithoutWritingIt) {
    Open();
    ProfileView other = host.working.Profile(3);
    other.Set(prof::XYSynchronous, 0);
    other.Set(prof::Sensitivity_X, 20);
    other.Set(prof::Sensitivity_Y, 2);
    other.Set(prof::CpiStep, 4);
    other.Set(prof::StepFlag(4), 1);
    other.Set(prof::CpiLevelX(4), 9);
    other.Set(prof::Indicator(0), 3);
    host.working.SetCurrentProfile(3);
    const SettingsBlock before = host.working;
    page.Refresh();
    test::Pump();
    EXPECT_TRUE(host.working == before);
    EXPECT_FALSE(page.xyButton().latched());
    EXPECT_EQ(page.sliderX().thumb().value(), 11);
    EXPECT_EQ(page.sliderY().thumb().value(), 2);
    EXPECT_TRUE(page.stage(4).selected());
    EXPECT_TRUE(page.stage(4).enabled());
    EXPECT_EQ(page.stage(4).label().text(), "2500");
    EXPECT_EQ(SwatchPixel(0), RGB(0, 0, 255));
}

TEST(SensitivityPageWithoutThumbs, WorksWithoutItsSliders) {
    test::PageHost host;
    host.UseSkinCopy([](const std::string& name) { return name.rfind("scroll_arrow", 0) == 0; });
    SensitivityPage page{host};
    ProfileView p = host.working.Profile(0);
    p.Set(prof::XYSynchronous, 0);
    p.Set(prof::Sensitivity_X, 14);
    p.Set(prof::Sensitivity_Y, 5);
    ASSERT_TRUE(host.Open(page));
    EXPECT_EQ(page.sliderX().hwnd(), nullptr);
    EXPECT_EQ(page.sliderY().hwnd(), nullptr);
    EXPECT_EQ(page.stage(0).slider().hwnd(), nullptr);

    // The link still couples the values; the stages still select and switch.
    ClickCentre(page.xyButton().hwnd());
    EXPECT_EQ(p.Get(prof::Sensitivity_Y), 14);
    ClickCentre(page.stage(2).selectButton().hwnd());
    EXPECT_EQ(p.Get(prof::CpiStep), 2);
    ClickCentre(page.stage(0).enableBox().hwnd());
    EXPECT_EQ(p.Get(prof::StepFlag(0)), 0);
    EXPECT_EQ(page.stage(3).label().text(), "3000");
    page.Destroy();
}

} // namespace
} // namespace gm::option
