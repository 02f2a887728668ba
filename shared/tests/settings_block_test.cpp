#include "shared/settings_block.h"

#include <gtest/gtest.h>

#include <cstring>

namespace gm {
namespace {

int32_t RawI32(const SettingsBlock& b, std::size_t offset) {
    int32_t v;
    std::memcpy(&v, b.data() + offset, 4);
    return v;
}

TEST(SettingsBlock, FieldsLandAtTheirFixedOffsets) {
    SettingsBlock b;
    b.SetCurrentProfile(3);
    b.SetMouseType(0x11223344);
    b.SetMouseColor(7);
    b.SetButtonChangeFlag(4, 14, 1);
    b.SetPerformanceChangeFlag(2, 1);
    b.SetOTGChangeFlag(4, 1);
    b.SetCurrentProfileChangeFlag(1);
    EXPECT_EQ(RawI32(b, 0), 3);
    EXPECT_EQ(RawI32(b, 39584), 0x11223344);
    EXPECT_EQ(b.data()[39584], 0x44) << "little-endian";
    EXPECT_EQ(RawI32(b, 39588), 7);
    EXPECT_EQ(RawI32(b, 39592 + 4 * 74), 1);
    EXPECT_EQ(RawI32(b, 39892 + 8), 1);
    EXPECT_EQ(RawI32(b, 39912 + 16), 1);
    EXPECT_EQ(RawI32(b, 39932), 1);

    // Profile 2, button 7: 4 + 2*7916 + 956 + 7*464.
    ProfileView p = b.Profile(2);
    p.Set(prof::OTGSpeed, 77);
    p.Button(7).Set(btn::EventCount, 0x1234);
    p.Button(7).SetEvent(39, {0x04, 2, 0xBEEF});
    const std::size_t profile2 = 4 + 2 * 7916;
    const std::size_t button7 = profile2 + 956 + 7 * 464;
    EXPECT_EQ(RawI32(b, profile2 + 912), 77);
    EXPECT_EQ(b.data()[button7 + 40], 0x34);
    EXPECT_EQ(b.data()[button7 + 41], 0x12);
    EXPECT_EQ(b.data()[button7 + 42 + 39 * 4 + 0], 0x04);
    EXPECT_EQ(b.data()[button7 + 42 + 39 * 4 + 1], 2);
    EXPECT_EQ(b.data()[button7 + 42 + 39 * 4 + 2], 0xEF);
    EXPECT_EQ(b.data()[button7 + 42 + 39 * 4 + 3], 0xBE);
    EXPECT_EQ(b.Profile(2).Button(7).Event(39).delay, 0xBEEF);
}

TEST(SettingsBlock, TextFieldsAreCutToFitAndNulFilled) {
    SettingsBlock b;
    ProfileView p = b.Profile(0);
    std::memset(p.data(), 'x', 752); // garbage where the texts live
    p.Set(prof::ProFileName, std::string(400, 'N'));
    EXPECT_EQ(p.Get(prof::ProFileName), std::string(249, 'N'));
    EXPECT_EQ(p.data()[249], 0);
    EXPECT_EQ(p.Get(prof::GameFile), std::string(502, 'x'))
        << "unterminated text stops at the field end";
    p.Set(prof::GameFile, "C:\\Games\\game.exe");
    EXPECT_EQ(p.Get(prof::GameFile), "C:\\Games\\game.exe");
    for (std::size_t i = 250 + 17; i < 752; ++i)
        ASSERT_EQ(p.data()[i], 0) << "byte " << i;
    // A text ends at its first NUL: what follows it never reaches the record,
    // where it would be kept but never read, saved or shown.
    p.Set(prof::GameFile, std::string("game.exe\0junk=", 14));
    EXPECT_EQ(p.Get(prof::GameFile), "game.exe");
    for (std::size_t i = 250 + 8; i < 752; ++i)
        ASSERT_EQ(p.data()[i], 0) << "byte " << i;

    ButtonView button = p.Button(0);
    button.Set(btn::MacroName, "a-name-longer-than-twenty-four");
    EXPECT_EQ(button.Get(btn::MacroName), "a-name-longer-than-twent");
    EXPECT_EQ(button.data()[32], 0) << "byte 32 is always the terminator";
}

TEST(SettingsBlock, DefaultProfilesDifferOnlyInResolutionLevels) {
    SettingsBlock m, o;
    for (int i = 0; i < kProfileCount; ++i) {
        m.Profile(i).MakeDefault(i, LevelSet::Monitor);
        o.Profile(i).MakeDefault(i, LevelSet::Option);
    }
    const int monitor[] = {2, 4, 6, 8, 12, 18};
    const int option[] = {2, 4, 8, 10, 12, 18};
    for (int s = 0; s < kStageCount; ++s) {
        EXPECT_EQ(m.Profile(1).Get(prof::CpiLevelX(s)), monitor[s]);
        EXPECT_EQ(m.Profile(1).Get(prof::CpiLevelY(s)), monitor[s]);
        EXPECT_EQ(o.Profile(1).Get(prof::CpiLevelY(s)), option[s]);
        m.Profile(1).Set(prof::CpiLevelX(s), 0);
        m.Profile(1).Set(prof::CpiLevelY(s), 0);
        o.Profile(1).Set(prof::CpiLevelX(s), 0);
        o.Profile(1).Set(prof::CpiLevelY(s), 0);
    }
    EXPECT_EQ(std::memcmp(m.Profile(1).data(), o.Profile(1).data(), kProfileSize), 0);

    ProfileView p = m.Profile(0);
    EXPECT_EQ(p.Get(prof::ProFileName), "Default1");
    EXPECT_EQ(m.Profile(4).Get(prof::ProFileName), "Default5");
    EXPECT_EQ(p.Get(prof::DbleClickSpeed), 500);
    EXPECT_EQ(p.Get(prof::OTGSpeed), 10);
    EXPECT_EQ(p.Get(prof::StepFlag(3)), 1);
    EXPECT_EQ(p.Get(prof::StepFlag(4)), 0);
    EXPECT_EQ(p.Get(prof::Indicator(0)), 15);
    EXPECT_EQ(p.Get(prof::Indicator(3)), 21);
    EXPECT_EQ(p.Get(prof::FireOrOnToGoStatusIndicatorSetting), 1);
    const uint8_t indicator[] = {1, 3, 2, 5, 4};
    for (int i = 0; i < kProfileCount; ++i)
        EXPECT_EQ(m.Profile(i).Get(prof::ProfileSwitchIndictor), indicator[i]);
    EXPECT_EQ(p.data()[929] | p.data()[930] | p.data()[931] | p.data()[953] | p.data()[954] |
                  p.data()[955],
              0)
        << "padding stays zero";

    const uint8_t functions[] = {1, 2, 3, 8, 7, 13, 21, 0, 0, 0, 0, 0, 0, 9, 10};
    for (int b = 0; b < kButtonCount; ++b) {
        ButtonView button = p.Button(b);
        EXPECT_EQ(button.Get(btn::ButtonIndex), b);
        EXPECT_EQ(button.Get(btn::FunctionType), functions[b]);
        EXPECT_EQ(button.Get(btn::EventCount), 0);
        EXPECT_EQ(button.Get(btn::MacroName), "");
    }
}

TEST(SettingsBlock, ResetClearsProfilesAndFlagsButKeepsMouseColor) {
    SettingsBlock b;
    std::memset(b.data(), 0x5A, kBlockSize);
    b.Reset();
    EXPECT_EQ(b.CurrentProfile(), -1);
    EXPECT_FALSE(b.HasCurrentProfile());
    EXPECT_EQ(b.MouseType(), 0);
    EXPECT_EQ(b.MouseColor(), 0x5A5A5A5A);
    for (std::size_t i = 4; i < 39584; ++i)
        ASSERT_EQ(b.data()[i], 0) << "profile byte " << i;
    for (std::size_t i = 39592; i < kBlockSize; ++i)
        ASSERT_EQ(b.data()[i], 0) << "flag byte " << i;

    b.SetAllFlags(1);
    EXPECT_EQ(b.ButtonChangeFlag(0, 0), 1);
    EXPECT_EQ(b.CurrentProfileChangeFlag(), 1);
    EXPECT_EQ(b.Profile(4).Button(14).Get(btn::ProgramPath), "")
        << "flags never spill into profiles";
}

TEST(SettingsBlock, EventCountClampsToForty) {
    SettingsBlock b;
    ButtonView button = b.Profile(0).Button(0);
    for (uint16_t n : {uint16_t(40), uint16_t(41), uint16_t(0xFFFF)}) {
        button.Set(btn::EventCount, n);
        button.ClampEventCount();
        EXPECT_EQ(button.Get(btn::EventCount), 40);
    }
    button.Set(btn::EventCount, 3);
    button.ClampEventCount();
    EXPECT_EQ(button.Get(btn::EventCount), 3);
}

TEST(SettingsBlock, ProfileIndexRange) {
    EXPECT_FALSE(SettingsBlock::IsProfileIndex(-1));
    EXPECT_TRUE(SettingsBlock::IsProfileIndex(0));
    EXPECT_TRUE(SettingsBlock::IsProfileIndex(4));
    EXPECT_FALSE(SettingsBlock::IsProfileIndex(5));
}

} // namespace
} // namespace gm
