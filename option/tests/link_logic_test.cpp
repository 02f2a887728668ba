#include "option/link_logic.h"

#include <gtest/gtest.h>
#include <cstring>

namespace gm::option {
namespace {

struct Blocks {
    SettingsBlock applied, working;
    Blocks() {
        applied.SetCurrentProfile(1);
        for (int p = 0; p < kProfileCount; ++p)
            applied.Profile(p).MakeDefault(p, LevelSet::Option);
        working = applied;
    }
};

TEST(DetectChanges, NothingEditedClearsEveryFlagItComputes) {
    Blocks b;
    for (int p = 0; p < kProfileCount; ++p) {
        b.working.SetPerformanceChangeFlag(p, 1);
        b.working.SetOTGChangeFlag(p, 1);
    }
    b.working.SetCurrentProfileChangeFlag(1);
    b.working.SetButtonChangeFlag(2, 3, 1);
    DetectChanges(b.applied, b.working);
    for (int p = 0; p < kProfileCount; ++p) {
        EXPECT_EQ(b.working.PerformanceChangeFlag(p), 0);
        EXPECT_EQ(b.working.OTGChangeFlag(p), 0);
    }
    EXPECT_EQ(b.working.CurrentProfileChangeFlag(), 0);
    EXPECT_EQ(b.working.ButtonChangeFlag(2, 3), 1) << "button flags belong to the buttons page";
}

TEST(DetectChanges, FieldsThatTravelWithoutAFlag) {
    Blocks b;
    b.working.Profile(2).Set(prof::Orientation, 7);
    b.working.Profile(2).Set(prof::Cpi_X, 3);
    b.working.Profile(2).Set(prof::ProFileName, "renamed");
    DetectChanges(b.applied, b.working);
    EXPECT_EQ(b.working.PerformanceChangeFlag(2), 0);
}

TEST(DetectChanges, EachPerformanceFieldFlagsOnlyItsProfile) {
    const auto check = [](auto edit, const char* what) {
        Blocks b;
        edit(b.working.Profile(3));
        DetectChanges(b.applied, b.working);
        for (int p = 0; p < kProfileCount; ++p)
            EXPECT_EQ(b.working.PerformanceChangeFlag(p), p == 3 ? 1 : 0)
                << what << " profile " << p;
        EXPECT_EQ(b.working.OTGChangeFlag(3), 0) << what;
    };
    check([](ProfileView v) { v.Set(prof::Sensitivity_Y, v.Get(prof::Sensitivity_Y) + 1); },
          "sensitivity");
    check([](ProfileView v) { v.Set(prof::CpiLevelY(5), 9); }, "last Y level");
    check([](ProfileView v) { v.Set(prof::StepFlag(5), uint8_t(1 - v.Get(prof::StepFlag(5)))); },
          "last stage flag");
    check([](ProfileView v) { v.Set(prof::Indicator(0), 6); }, "first indicator");
    check([](ProfileView v) { v.Set(prof::BTOption, 1); }, "BTOption");
    check([](ProfileView v) { v.Set(prof::HDDKeyboard, 1 - v.Get(prof::HDDKeyboard)); },
          "HDDKeyboard");
}

TEST(DetectChanges, OtgAndProfileIndexHaveTheirOwnFlags) {
    Blocks b;
    b.working.Profile(4).Set(prof::OTGSpeed, 200);
    b.working.SetCurrentProfile(3);
    DetectChanges(b.applied, b.working);
    EXPECT_EQ(b.working.OTGChangeFlag(4), 1);
    EXPECT_EQ(b.working.PerformanceChangeFlag(4), 0);
    EXPECT_EQ(b.working.CurrentProfileChangeFlag(), 1);
}

TEST(ChangeFlags, ClearKeepsTheProfileFlagAndMarkSetsEveryWord) {
    SettingsBlock block;
    MarkAllChanged(block);
    for (std::size_t w = 0; w < std::size_t(blk::FlagWords); ++w) {
        int32_t v;
        std::memcpy(&v, block.data() + blk::ButtonChangeFlags + 4 * w, 4);
        EXPECT_EQ(v, 1) << "word " << w;
    }
    ClearFlags(block);
    EXPECT_EQ(block.ButtonChangeFlag(4, 14), 0);
    EXPECT_EQ(block.PerformanceChangeFlag(4), 0);
    EXPECT_EQ(block.OTGChangeFlag(0), 0);
    EXPECT_EQ(block.CurrentProfileChangeFlag(), 1);
}

TEST(FirmwareText, StartShowsOnly100To500ReadBackHasNoUpperBound) {
    EXPECT_EQ(FirmwareTextAtStart(100), "1.00");
    EXPECT_EQ(FirmwareTextAtStart(123), "1.23");
    EXPECT_EQ(FirmwareTextAtStart(500), "5.00");
    EXPECT_EQ(FirmwareTextAtStart(99), "N/A");
    EXPECT_EQ(FirmwareTextAtStart(501), "N/A");
    EXPECT_EQ(FirmwareTextAtStart(-5), "N/A");
    EXPECT_EQ(FirmwareTextAfterReadBack(650), "6.50");
    EXPECT_EQ(FirmwareTextAfterReadBack(1234), "1.234");
    EXPECT_EQ(FirmwareTextAfterReadBack(99), "N/A");
    EXPECT_EQ(VersionLine("Version ", "1.01", "Firmware ", "1.00"), "Version 1.01-Firmware 1.00");
}

} // namespace
} // namespace gm::option
