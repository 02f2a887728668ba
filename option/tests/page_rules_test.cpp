// The rules of the lighting, advance and system pages and the colour
// chooser's cells, apart from their windows.
#include "option/pages/advance_logic.h"
#include "option/pages/lighting_groups.h"
#include "option/pages/system_logic.h"
#include "option/widgets/color_cells.h"

#include <gtest/gtest.h>

namespace gm::option {
namespace {

struct Profile {
    SettingsBlock block;
    ProfileView view = block.Profile(0);
    Profile() { view.MakeDefault(0, LevelSet::Option); }
};

std::vector<int> CheckedKeys(const ProfileView& p) {
    std::vector<int> keys;
    for (int k = kFirstLightKey; k <= kLastLightKey; ++k)
        if (LightButtonChecked(p, k))
            keys.push_back(k);
    return keys;
}

TEST(LightingGroups, FreshProfileShowsItsDefaultButtons) {
    Profile p;
    EXPECT_EQ(CheckedKeys(p.view), (std::vector<int>{4, 6, 9, 11, 19, 24}));
}

TEST(LightingGroups, EachButtonWritesItsIndexIntoItsOwnFieldOnly) {
    Profile p;
    const auto write = [&](int key) {
        const SettingsBlock before = p.block;
        const auto group = StoreLightButton(p.view, key, false);
        EXPECT_TRUE(group.has_value()) << key;
        int changed = 0;
        for (std::size_t i = 0; i < kBlockSize; ++i)
            changed += before.data()[i] != p.block.data()[i];
        EXPECT_LE(changed, 1) << "key " << key << " touches one field";
    };
    write(7);
    EXPECT_EQ(p.view.Get(prof::LightEffectSwitch1), 0);
    write(6);
    EXPECT_EQ(p.view.Get(prof::LightEffectSwitch1), 1);
    write(25);
    EXPECT_EQ(p.view.Get(prof::LightIntensity), 3);
    write(2);
    EXPECT_EQ(p.view.Get(prof::PollingRate), 0);
    write(17);
    EXPECT_EQ(p.view.Get(prof::ColorOptions1), 6);
    write(21);
    EXPECT_EQ(p.view.Get(prof::BreathSpeed), 3);
    write(8);
    EXPECT_EQ(p.view.Get(prof::LightEffectType1), 0);
    EXPECT_EQ(CheckedKeys(p.view), (std::vector<int>{2, 6, 8, 17, 21, 25}));

    const SettingsBlock before = p.block;
    EXPECT_EQ(StoreLightButton(p.view, 1, true), std::nullopt);
    EXPECT_EQ(StoreLightButton(p.view, 26, true), std::nullopt);
    EXPECT_TRUE(p.block == before);
}

TEST(LightingGroups, SingleColourToggleFollowsItsLatchedState) {
    Profile p;
    EXPECT_EQ(StoreLightButton(p.view, kColorFlagKey, true), LightGroup::ColorFlag);
    EXPECT_EQ(p.view.Get(prof::ColorFlag), 1);
    EXPECT_TRUE(LightButtonChecked(p.view, kColorFlagKey));
    StoreLightButton(p.view, kColorFlagKey, false);
    EXPECT_EQ(p.view.Get(prof::ColorFlag), 0);
    EXPECT_EQ(p.view.Get(prof::ColorOptions1), 0) << "the colour group is unaffected";
}

TEST(LightingGroups, UnknownValuesLeaveTheirGroupUncheckedButTheSwitchShowsOff) {
    Profile p;
    p.view.Set(prof::LightEffectSwitch1, 2);
    p.view.Set(prof::LightEffectType1, 2);
    p.view.Set(prof::PollingRate, 4);
    p.view.Set(prof::ColorOptions1, 7);
    p.view.Set(prof::BreathSpeed, -1);
    p.view.Set(prof::LightIntensity, 9);
    EXPECT_EQ(CheckedKeys(p.view), (std::vector<int>{7}));
}

TEST(LightingGroups, GroupKeysAreInKeyOrder) {
    EXPECT_EQ(LightGroupKeys(LightGroup::Colour), (std::vector<int>{11, 12, 13, 14, 15, 16, 17}));
    EXPECT_EQ(LightGroupKeys(LightGroup::EffectSwitch), (std::vector<int>{6, 7}));
    EXPECT_EQ(LightGroupKeys(LightGroup::ColorFlag), (std::vector<int>{10}));
}

TEST(AdvanceRules, PollingAndOtgStoreOnlyWhatTheirControlsReport) {
    Profile p;
    StorePollingRate(p.view, 3);
    EXPECT_EQ(p.view.Get(prof::PollingRate), 3);
    StorePollingRate(p.view, 4);
    EXPECT_EQ(p.view.Get(prof::PollingRate), 3);
    EXPECT_TRUE(StoreOtgSpeed(p.view, kOtgSliderId, 255));
    EXPECT_EQ(p.view.Get(prof::OTGSpeed), 255);
    EXPECT_FALSE(StoreOtgSpeed(p.view, 202, 7));
    EXPECT_EQ(p.view.Get(prof::OTGSpeed), 255);
}

TEST(AdvanceRules, OtgSliderPlacesTheDefaultAndReachesBothEnds) {
    // The page's track is 420 pixels wide, its thumb 13.
    constexpr int kTrack = 420, kThumb = 13;
    EXPECT_EQ(skin::ThumbLeftForValue(10, kOtgRange, 0, kTrack, kThumb),
              (kTrack - kThumb) * (10 - 2) / 253);
    EXPECT_EQ(skin::ClickValue(0, 0, kTrack, kOtgRange), 2);
    EXPECT_EQ(skin::ReleaseValue(kTrack - kThumb, kOtgRange, 0, kTrack, kThumb), 255);
}

TEST(SystemRules, DoubleClickRunsFromSlowLeftToFastRight) {
    Profile p;
    EXPECT_EQ(SystemPositionsOf(p.view).doubleClick, 400) << "500 ms";
    EXPECT_EQ(MoveSystemSlider(p.view, kDoubleClickSliderId, 700), 200);
    EXPECT_EQ(p.view.Get(prof::DbleClickSpeed), 200);
    EXPECT_EQ(MoveSystemSlider(p.view, kDoubleClickSliderId, 0), 900);
    EXPECT_EQ(PositionForDoubleClickTime(500), 400);
}

TEST(SystemRules, PointerSpeedTablesAndTheOtherSliders) {
    Profile p;
    EXPECT_EQ(PositionForMouseSpeed(9), 6);
    EXPECT_EQ(MouseSpeedForPosition(6), 10);
    EXPECT_EQ(PositionForMouseSpeed(3), 3);
    EXPECT_EQ(MouseSpeedForPosition(3), 4);
    EXPECT_EQ(PositionForMouseSpeed(0), 1);
    for (int v : {10, -1, 21})
        EXPECT_EQ(PositionForMouseSpeed(v), 6) << v;
    EXPECT_EQ(MouseSpeedForPosition(0), 10);
    for (int pos = 1; pos <= 11; ++pos)
        EXPECT_EQ(PositionForMouseSpeed(MouseSpeedForPosition(pos)), pos) << pos;

    EXPECT_EQ(MoveSystemSlider(p.view, kPointerSpeedSliderId, 3), std::nullopt);
    EXPECT_EQ(p.view.Get(prof::MouseSpeed), 4);
    MoveSystemSlider(p.view, kWheelSpeedSliderId, 7);
    MoveSystemSlider(p.view, kTiltSpeedSliderId, 9);
    EXPECT_EQ(p.view.Get(prof::ScrollWheelSpeed), 7);
    EXPECT_EQ(p.view.Get(prof::TiltSpeed), 9);
    const SettingsBlock before = p.block;
    EXPECT_EQ(MoveSystemSlider(p.view, 205, 3), std::nullopt);
    EXPECT_TRUE(p.block == before);
    const SystemPositions shown = SystemPositionsOf(p.view);
    EXPECT_EQ(shown.pointerSpeed, 3);
    EXPECT_EQ(shown.wheelSpeed, 7);
    EXPECT_EQ(shown.tiltSpeed, 9);
}

TEST(SystemRules, AccelerationAlwaysStoresRowEightOrNothing) {
    Profile p;
    p.view.Set(prof::Acceleration, 17);
    SetAcceleration(p.view, true);
    EXPECT_EQ(p.view.Get(prof::AccelerationFlag), 1);
    EXPECT_EQ(p.view.Get(prof::Acceleration), 8);
    SetAcceleration(p.view, false);
    EXPECT_EQ(p.view.Get(prof::AccelerationFlag), 0);
    EXPECT_EQ(p.view.Get(prof::Acceleration), 0);
    SetPageScroll(p.view, true);
    EXPECT_EQ(p.view.Get(prof::ScrollWheelFlag), 1);
}

TEST(ColorCells, HoverStaysOnTheLastCellAcrossAGap) {
    CellRects cells{};
    for (int i = 0; i < kColorCellCount; ++i)
        cells[std::size_t(i)] = CellRect{10 + 36 * i, 40, 40 + 36 * i, 68};
    EXPECT_EQ(CellAt(cells, 10, 40), 0);
    EXPECT_EQ(CellAt(cells, 40, 50), -1) << "right edge is outside";
    EXPECT_EQ(CellAt(cells, 226, 67), 6);
    EXPECT_EQ(CellAt(cells, -5, -5), -1);

    HoverStep s = TrackHover(cells, -1, 85, 50); // cell 2
    EXPECT_EQ(s.over, 2);
    EXPECT_EQ(s.highlight, 2);
    s = TrackHover(cells, s.over, 86, 50);
    EXPECT_EQ(s.highlight, -1) << "same cell: nothing to repaint";
    s = TrackHover(cells, s.over, 114, 50); // the gap after cell 2
    EXPECT_EQ(s.over, -1);
    EXPECT_EQ(s.highlight, -1) << "cell 2 stays lit";
    s = TrackHover(cells, s.over, 85, 50);
    EXPECT_EQ(s.highlight, 2) << "entering it again lights it again";
    s = TrackHover(cells, s.over, 120, 50);
    EXPECT_EQ(s.over, 3);
    EXPECT_EQ(s.highlight, 3);
}

} // namespace
} // namespace gm::option
