#include "option/link_logic.h"

#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

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

// Every field the link compares, listed here from the stored format rather
// than from the code: each alone flags its own profile's performance
// record and nothing else; the fields that travel without a flag flag
// nothing.
TEST(DetectChanges, EveryComparedFieldAloneAndEveryUncomparedFieldAlone) {
    using namespace prof;
    struct Edit {
        std::string name;
        std::function<void(ProfileView)> change;
    };
    std::vector<Edit> compared;
    const auto i32 = [&](const char* name, I32Field f) {
        compared.push_back({name, [f](ProfileView v) { v.Set(f, v.Get(f) + 1); }});
    };
    const auto u8 = [&](std::string name, U8Field f) {
        compared.push_back({name, [f](ProfileView v) { v.Set(f, uint8_t(v.Get(f) + 1)); }});
    };
    i32("HDDKeyboard", HDDKeyboard);
    i32("XYSynchronous", XYSynchronous);
    i32("Sensitivity_X", Sensitivity_X);
    i32("Sensitivity_Y", Sensitivity_Y);
    i32("XYCpiFlag", XYCpiFlag);
    for (int s = 0; s < kStageCount; ++s) {
        const std::string n = std::to_string(s);
        compared.push_back({"CpiLevel_X" + n,
                            [s](ProfileView v) { v.Set(CpiLevelX(s), v.Get(CpiLevelX(s)) + 1); }});
        compared.push_back({"CpiLevel_Y" + n,
                            [s](ProfileView v) { v.Set(CpiLevelY(s), v.Get(CpiLevelY(s)) + 1); }});
        u8("dpiStepFlag" + n, StepFlag(s));
        u8("dpibyDpiIndicator" + n, Indicator(s));
    }
    i32("CpiStep", CpiStep);
    i32("PollingRate", PollingRate);
    i32("LiftSwitch", LiftSwitch);
    i32("LiftLevel", LiftLevel);
    u8("LightEffectSwitch1", LightEffectSwitch1);
    u8("LightEffectSwitch2", LightEffectSwitch2);
    u8("LightEffectType1", LightEffectType1);
    u8("LightEffectType2", LightEffectType2);
    i32("ColorFlag", ColorFlag);
    u8("ColorOptions1", ColorOptions1);
    u8("ColorOptions2", ColorOptions2);
    i32("LightIntensity", LightIntensity);
    i32("BreathSpeed", BreathSpeed);
    i32("ColorChangeMode", ColorChangeMode);
    i32("BTOption", BTOption);
    ASSERT_EQ(compared.size(), 44u);

    for (const Edit& e : compared) {
        Blocks b;
        MarkAllChanged(b.working); // every word is overwritten, not kept
        e.change(b.working.Profile(3));
        DetectChanges(b.applied, b.working);
        for (int p = 0; p < kProfileCount; ++p) {
            EXPECT_EQ(b.working.PerformanceChangeFlag(p), p == 3 ? 1 : 0)
                << e.name << " profile " << p;
            EXPECT_EQ(b.working.OTGChangeFlag(p), 0) << e.name << " profile " << p;
        }
        EXPECT_EQ(b.working.CurrentProfileChangeFlag(), 0) << e.name;
    }

    std::vector<Edit> uncompared;
    for (auto [name, f] : {std::pair{"Orientation", Orientation},
                           {"Cpi_X", Cpi_X},
                           {"Cpi_Y", Cpi_Y},
                           {"LightSwitch", LightSwitch},
                           {"LightType", LightType},
                           {"ColorOptions", ColorOptions}})
        uncompared.push_back({name, [f](ProfileView v) { v.Set(f, v.Get(f) + 1); }});
    for (auto [name, f] : {std::pair{"DpiIndicationType", DpiIndicationType},
                           {"BtnConfiguration", BtnConfiguration},
                           {"Color1Type", Color1Type},
                           {"Color2Type", Color2Type}})
        uncompared.push_back({name, [f](ProfileView v) { v.Set(f, uint8_t(v.Get(f) + 1)); }});
    uncompared.push_back({"ProFileName", [](ProfileView v) { v.Set(ProFileName, "other name"); }});
    uncompared.push_back({"GameFile", [](ProfileView v) { v.Set(GameFile, "C:\\game.exe"); }});
    for (const Edit& e : uncompared) {
        Blocks b;
        e.change(b.working.Profile(3));
        DetectChanges(b.applied, b.working);
        EXPECT_EQ(b.working.PerformanceChangeFlag(3), 0) << e.name;
        EXPECT_EQ(b.working.OTGChangeFlag(3), 0) << e.name;
    }
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
