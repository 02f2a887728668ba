// The lighting, advance and system pages in a stand-in main dialog, driven
// by pointer clicks and drags on their real controls; the reset warning is
// answered by clicking its buttons while it runs.
#include "option/pages/advance_page_win.h"
#include "option/pages/lighting_page_win.h"
#include "option/pages/system_page_win.h"
#include "option/tests/page_driver.h"
#include "option/tests/page_host.h"

#include <gtest/gtest.h>

namespace gm::option {
namespace {

using test::ClickCentre;

ProfileView Current(test::PageHost& host) {
    return host.working.Profile(host.working.CurrentProfile());
}

// ------------------------------------------------------------ lighting page

class LightingPageTest : public ::testing::Test {
  protected:
    void Open() { ASSERT_TRUE(host.Open(page)); }
    std::vector<int> Latched() {
        std::vector<int> keys;
        for (int k = kFirstLightKey; k <= kLastLightKey; ++k)
            if (page.button(k).latched())
                keys.push_back(k);
        return keys;
    }
    ~LightingPageTest() override { page.Destroy(); }
    test::PageHost host;
    LightingPage page{host};
};

TEST_F(LightingPageTest, GroupsStoreTheClickedButtonAndShowOneChoiceEach) {
    Open();
    EXPECT_EQ(Latched(), (std::vector<int>{4, 6, 9, 11, 19, 24})) << "a fresh profile";

    ClickCentre(page.button(7).hwnd());
    EXPECT_EQ(Current(host).Get(prof::LightEffectSwitch1), 0);
    ClickCentre(page.button(25).hwnd());
    EXPECT_EQ(Current(host).Get(prof::LightIntensity), 3);
    ClickCentre(page.button(2).hwnd());
    EXPECT_EQ(Current(host).Get(prof::PollingRate), 0);
    ClickCentre(page.button(16).hwnd());
    EXPECT_EQ(Current(host).Get(prof::ColorOptions1), 5);
    ClickCentre(page.button(8).hwnd());
    EXPECT_EQ(Current(host).Get(prof::LightEffectType1), 0);
    ClickCentre(page.button(18).hwnd());
    EXPECT_EQ(Current(host).Get(prof::BreathSpeed), 0);
    EXPECT_EQ(Latched(), (std::vector<int>{2, 7, 8, 16, 18, 25}));

    // Clicking the checked button again keeps the group as it is.
    ClickCentre(page.button(25).hwnd());
    EXPECT_EQ(Current(host).Get(prof::LightIntensity), 3);
    EXPECT_EQ(Latched(), (std::vector<int>{2, 7, 8, 16, 18, 25}));
    EXPECT_TRUE(host.applied.empty());
}

TEST_F(LightingPageTest, SingleColourToggleTwiceRestoresItsFlag) {
    Open();
    const int32_t first = Current(host).Get(prof::ColorFlag);
    ClickCentre(page.button(kColorFlagKey).hwnd());
    EXPECT_EQ(Current(host).Get(prof::ColorFlag), first == 0 ? 1 : 0);
    EXPECT_TRUE(page.button(kColorFlagKey).latched());
    ClickCentre(page.button(kColorFlagKey).hwnd());
    EXPECT_EQ(Current(host).Get(prof::ColorFlag), first);
    EXPECT_EQ(Current(host).Get(prof::ColorOptions1), 0) << "the colour group is unaffected";
    EXPECT_TRUE(page.button(11).latched());
}

TEST_F(LightingPageTest, StrangeStoredValuesAndAnotherProfileShowWithoutWriting) {
    Open();
    ProfileView other = host.working.Profile(2);
    other.Set(prof::LightEffectSwitch1, 2);
    other.Set(prof::LightEffectType1, 5);
    other.Set(prof::PollingRate, 1);
    other.Set(prof::LightIntensity, 7);
    other.Set(prof::ColorFlag, 1);
    other.Set(prof::ColorOptions1, 3);
    other.Set(prof::BreathSpeed, 3);
    // Not what the click below writes, so a click that reached profile 0
    // would show.
    host.working.Profile(0).Set(prof::LightEffectSwitch1, 0);
    host.working.SetCurrentProfile(2);
    const SettingsBlock before = host.working;
    page.Refresh();
    test::Pump();
    EXPECT_TRUE(host.working == before);
    EXPECT_EQ(Latched(), (std::vector<int>{3, 7, 10, 14, 21})) << "a stored 2 shows off";

    ClickCentre(page.button(6).hwnd());
    EXPECT_EQ(host.working.Profile(2).Get(prof::LightEffectSwitch1), 1);
    EXPECT_EQ(host.working.Profile(0).Get(prof::LightEffectSwitch1), 0) << "profile 0 untouched";
    EXPECT_EQ(host.working.Profile(2).Get(prof::LightEffectType1), 5) << "kept until clicked";
}

TEST_F(LightingPageTest, WithNoProfileChosenAClickChangesNoProfile) {
    Open();
    for (int stored : {9, -1}) {
        host.working.SetCurrentProfile(stored);
        const SettingsBlock before = host.working;
        page.Refresh();
        test::Pump();
        for (int key : {6, 8, 25, 16})
            ClickCentre(page.button(key).hwnd());
        EXPECT_TRUE(host.working == before)
            << "no profile edited, not even profile 0; stored " << stored;
    }
}

TEST_F(LightingPageTest, ResetAlsoRestoresTheDisplaySettingsAndCancelKeepsAll) {
    Open();
    ClickCentre(page.button(25).hwnd());
    const SettingsBlock before = host.working;
    {
        test::WarningAnswer answer(host.SkinFolder(), 3, host.frame.hwnd());
        ClickCentre(page.resetButton().hwnd());
        ASSERT_TRUE(answer.answered());
    }
    EXPECT_TRUE(host.working == before) << "closed";
    {
        test::WarningAnswer answer(host.SkinFolder(), 1, host.frame.hwnd());
        ClickCentre(page.resetButton().hwnd());
        ASSERT_TRUE(answer.answered());
    }
    EXPECT_EQ(host.resets, std::vector<bool>{true});
    EXPECT_EQ(host.applied, std::vector<int>{1});
    EXPECT_EQ(Current(host).Get(prof::LightIntensity), 2);
    EXPECT_TRUE(page.button(24).latched()) << "shown again";
    EXPECT_FALSE(page.button(25).latched());
}

// ------------------------------------------------------------ advance page

class AdvancePageTest : public ::testing::Test {
  protected:
    void Open() { ASSERT_TRUE(host.Open(page)); }
    int FreeWidth() {
        RECT client{};
        ::GetClientRect(page.otgSlider().hwnd(), &client);
        return client.right - page.otgSlider().thumb().size().cx;
    }
    ~AdvancePageTest() override { page.Destroy(); }
    test::PageHost host;
    AdvancePage page{host};
};

TEST_F(AdvancePageTest, PollingButtonsActAsOneGroup) {
    Open();
    for (int i = 0; i < kPollingButtons; ++i)
        EXPECT_EQ(page.pollingButton(i).latched(), i == 2) << i;
    ClickCentre(page.pollingButton(3).hwnd());
    EXPECT_EQ(Current(host).Get(prof::PollingRate), 3);
    for (int i = 0; i < kPollingButtons; ++i)
        EXPECT_EQ(page.pollingButton(i).latched(), i == 3) << i;
    ClickCentre(page.pollingButton(3).hwnd());
    EXPECT_EQ(Current(host).Get(prof::PollingRate), 3);
    EXPECT_TRUE(page.pollingButton(3).latched());
    EXPECT_FALSE(page.pollingButton(2).latched());
}

TEST_F(AdvancePageTest, OtgSliderShowsTheDefaultAndReachesBothEnds) {
    Open();
    EXPECT_EQ(page.otgSlider().thumb().left(), FreeWidth() * (10 - 2) / 253);
    test::DragThumb(page.otgSlider(), 5000);
    EXPECT_EQ(Current(host).Get(prof::OTGSpeed), 255);
    test::ClickTrack(page.otgSlider(), 0);
    EXPECT_EQ(Current(host).Get(prof::OTGSpeed), 2);
    EXPECT_EQ(page.otgSlider().thumb().left(), 0);
}

TEST_F(AdvancePageTest, ConfirmedResetDefaultsEveryProfileAndAppliesWithCodeOne) {
    Open();
    for (int p = 0; p < kProfileCount; ++p)
        host.working.Profile(p).Set(prof::OTGSpeed, 100 + p);
    host.working.SetCurrentProfile(3);
    page.Refresh();
    {
        test::WarningAnswer answer(host.SkinFolder(), 1, host.frame.hwnd());
        ClickCentre(page.defaultsButton().hwnd());
        ASSERT_TRUE(answer.answered());
        EXPECT_TRUE(answer.mainWasDisabled()) << "the whole dialog waits for the answer";
    }
    EXPECT_EQ(host.resets, std::vector<bool>{false});
    EXPECT_EQ(host.applied, std::vector<int>{1});
    EXPECT_EQ(host.working.CurrentProfile(), 0);
    for (int p = 0; p < kProfileCount; ++p)
        EXPECT_EQ(host.working.Profile(p).Get(prof::OTGSpeed), 10) << p;
    EXPECT_EQ(host.working.CurrentProfileChangeFlag(), 1);
    EXPECT_EQ(host.working.PerformanceChangeFlag(4), 1);
    EXPECT_EQ(host.working.ButtonChangeFlag(4, 14), 1);
    EXPECT_EQ(page.otgSlider().thumb().value(), 10) << "shown again";
    EXPECT_TRUE(::IsWindowEnabled(host.frame.hwnd()));
}

TEST_F(AdvancePageTest, CancelledOrClosedResetChangesNothing) {
    Open();
    host.working.Profile(1).Set(prof::OTGSpeed, 77);
    for (int slot : {2, 3}) {
        const SettingsBlock before = host.working;
        {
            test::WarningAnswer answer(host.SkinFolder(), slot, host.frame.hwnd());
            ClickCentre(page.defaultsButton().hwnd());
            ASSERT_TRUE(answer.answered()) << slot;
        }
        EXPECT_TRUE(host.working == before) << slot;
        EXPECT_TRUE(host.resets.empty());
        EXPECT_TRUE(host.applied.empty());
        EXPECT_TRUE(::IsWindowEnabled(host.frame.hwnd()));
    }
}

// ------------------------------------------------------------ system page

class SystemPageTest : public ::testing::Test {
  protected:
    SystemPageTest() : originalDoubleClick(::GetDoubleClickTime()) {}
    void Open() { ASSERT_TRUE(host.Open(page)); }
    ~SystemPageTest() override {
        page.Destroy();
        ::SetDoubleClickTime(originalDoubleClick);
    }
    UINT originalDoubleClick;
    test::PageHost host;
    SystemPage page{host};
};

TEST_F(SystemPageTest, AFreshProfileShowsItsDefaults) {
    Open();
    EXPECT_EQ(page.doubleClickSlider().thumb().value(), 400);
    EXPECT_EQ(page.pointerSpeedSlider().thumb().value(), 6);
    EXPECT_EQ(page.wheelSpeedSlider().thumb().value(), 3);
    EXPECT_EQ(page.tiltSpeedSlider().thumb().value(), 3);
    EXPECT_FALSE(page.accelerationToggle().latched());
    EXPECT_FALSE(page.pageScrollToggle().latched());
}

TEST_F(SystemPageTest, DoubleClickReachesWindowsAtOnceButRefreshLeavesItAlone) {
    ::SetDoubleClickTime(430);
    Open();
    EXPECT_EQ(::GetDoubleClickTime(), 430u) << "showing a profile sets nothing";
    test::DragThumb(page.doubleClickSlider(), 5000);
    EXPECT_EQ(Current(host).Get(prof::DbleClickSpeed), 200);
    EXPECT_EQ(::GetDoubleClickTime(), 200u);
    test::ClickTrack(page.doubleClickSlider(), 0);
    EXPECT_EQ(Current(host).Get(prof::DbleClickSpeed), 900);
    EXPECT_EQ(::GetDoubleClickTime(), 900u);

    Current(host).Set(prof::DbleClickSpeed, 650);
    page.Refresh();
    EXPECT_EQ(page.doubleClickSlider().thumb().value(), 250);
    EXPECT_EQ(::GetDoubleClickTime(), 900u);
}

TEST_F(SystemPageTest, PointerSpeedStoresTheTableValueWhereTheThumbIsReleased) {
    Current(host).Set(prof::MouseSpeed, 9);
    Open();
    EXPECT_EQ(page.pointerSpeedSlider().thumb().value(), 6);
    test::TouchThumb(page.pointerSpeedSlider());
    EXPECT_EQ(Current(host).Get(prof::MouseSpeed), 10);

    Current(host).Set(prof::MouseSpeed, 3);
    page.Refresh();
    EXPECT_EQ(page.pointerSpeedSlider().thumb().value(), 3);
    test::TouchThumb(page.pointerSpeedSlider());
    EXPECT_EQ(Current(host).Get(prof::MouseSpeed), 4);
}

TEST_F(SystemPageTest, WheelAndTiltStoreTheirPosition) {
    Open();
    test::DragThumb(page.wheelSpeedSlider(), 5000);
    EXPECT_EQ(Current(host).Get(prof::ScrollWheelSpeed), 10);
    test::ClickTrack(page.tiltSpeedSlider(), 0);
    EXPECT_EQ(Current(host).Get(prof::TiltSpeed), 1);
    EXPECT_EQ(Current(host).Get(prof::ScrollWheelSpeed), 10) << "each slider its own field";
}

TEST_F(SystemPageTest, TogglesStoreTheirFieldsAndTheMarksNothing) {
    Current(host).Set(prof::Acceleration, 15);
    Open();
    ClickCentre(page.accelerationToggle().hwnd());
    EXPECT_EQ(Current(host).Get(prof::AccelerationFlag), 1);
    EXPECT_EQ(Current(host).Get(prof::Acceleration), 8);
    ClickCentre(page.accelerationToggle().hwnd());
    EXPECT_EQ(Current(host).Get(prof::AccelerationFlag), 0);
    EXPECT_EQ(Current(host).Get(prof::Acceleration), 0);

    ClickCentre(page.pageScrollToggle().hwnd());
    EXPECT_EQ(Current(host).Get(prof::ScrollWheelFlag), 1);
    EXPECT_TRUE(page.pageScrollToggle().latched());

    const SettingsBlock before = host.working;
    ClickCentre(page.markToggle(0).hwnd());
    ClickCentre(page.markToggle(1).hwnd());
    EXPECT_TRUE(page.markToggle(0).latched());
    EXPECT_TRUE(host.working == before);
}

TEST_F(SystemPageTest, ResetAsksFirstAndThenResetsEveryProfile) {
    Open();
    for (int p = 0; p < kProfileCount; ++p)
        host.working.Profile(p).Set(prof::MouseSpeed, 2);
    host.working.SetCurrentProfile(4);
    const SettingsBlock before = host.working;
    {
        test::WarningAnswer answer(host.SkinFolder(), 2, host.frame.hwnd());
        ClickCentre(page.resetButton().hwnd());
        ASSERT_TRUE(answer.answered());
    }
    EXPECT_TRUE(host.working == before) << "cancelled";
    EXPECT_TRUE(host.applied.empty());
    {
        test::WarningAnswer answer(host.SkinFolder(), 1, host.frame.hwnd());
        ClickCentre(page.resetButton().hwnd());
        ASSERT_TRUE(answer.answered());
    }
    EXPECT_EQ(host.resets, std::vector<bool>{false});
    EXPECT_EQ(host.applied, std::vector<int>{1});
    EXPECT_EQ(host.working.CurrentProfile(), 0);
    for (int p = 0; p < kProfileCount; ++p)
        EXPECT_EQ(host.working.Profile(p).Get(prof::MouseSpeed), 10) << p;
    EXPECT_EQ(page.pointerSpeedSlider().thumb().value(), 6);
}

} // namespace
} // namespace gm::option
