#include "monitor/event_intake.h"
#include "monitor/game_match.h"
#include "monitor/mouse_settings_rule.h"

#include <gtest/gtest.h>

namespace gm::mon {
namespace {

TEST(EventIntake, EveryClassDecodesWithinItsAcceptedRange) {
    struct Case {
        uint32_t cls, value;
        EventKind kind;
        int number;
    };
    const Case cases[] = {
        {0x1000, 1, EventKind::Tilt, 0},
        {0x1000, 255, EventKind::Tilt, 0},
        {0x1000, 2, EventKind::Ignored, 0},
        {0x3000, 1, EventKind::DeviceProfile, 0},
        {0x3000, 5, EventKind::DeviceProfile, 4},
        {0x3000, 6, EventKind::Ignored, 0},
        {0x3000, 0, EventKind::Ignored, 0},
        {0x4000, 15, EventKind::ButtonNotice, 15},
        {0x4000, 16, EventKind::Ignored, 0},
        {0x5000, 0x0101, EventKind::Button, 1},
        {0x6000, 3, EventKind::RunProgram, 3},
        {0x6000, 0x0103, EventKind::Ignored, 0},
        {0x7000, 1, EventKind::Plug, 1},
        {0x7000, 2, EventKind::Plug, 2},
        {0x7000, 3, EventKind::Ignored, 0},
        {0xA000, 1, EventKind::OpenOption, 1},
        {0xA000, 2, EventKind::Ignored, 0},
        {0xB000, 10, EventKind::Stage, 10},
        {0xB000, 11, EventKind::Ignored, 0},
        {0xC000, 0x1500, EventKind::Ignored, 0},
        {0xC000, 0x1505, EventKind::Sensitivity, 0},
        {0xD000, 4, EventKind::Polling, 4},
        {0xD000, 5, EventKind::Ignored, 0},
        {0xF000, 25, EventKind::Media, 25},
        {0xF000, 0x0120, EventKind::Media, 32},
        {0xF000, 33, EventKind::Ignored, 0},
        {0xF000, 24, EventKind::Ignored, 0},
        {0x2000, 1, EventKind::Ignored, 0},
        {0x13000, 1, EventKind::Ignored, 0},
    };
    for (const Case& c : cases) {
        const DeviceEvent e = DecodeDeviceEvent(c.cls, c.value);
        EXPECT_EQ(e.kind, c.kind) << std::hex << c.cls << " " << c.value;
        if (c.kind != EventKind::Ignored) {
            EXPECT_EQ(e.number, c.number) << std::hex << c.cls << " " << c.value;
        }
    }
    EXPECT_EQ(DecodeDeviceEvent(0x1000, 1).direction, -1);
    EXPECT_EQ(DecodeDeviceEvent(0x1000, 255).direction, 1);
    EXPECT_TRUE(DecodeDeviceEvent(0x4000, 0x0107).release);
    EXPECT_FALSE(DecodeDeviceEvent(0x4000, 0x0007).release);
    EXPECT_EQ(DecodeDeviceEvent(0x3000, 0xFFFF0002).number, 1)
        << "only the low 16 bits of lParam count";
}

TEST(EventIntake, DeviceValuesChangeOnlyWhatTheyCarry) {
    SettingsBlock b;
    ProfileView p = b.Profile(2);
    p.MakeDefault(2, LevelSet::Monitor);

    EXPECT_TRUE(ApplyDeviceValue(DecodeDeviceEvent(0xB000, 6), p));
    EXPECT_EQ(p.Get(prof::CpiStep), 5);
    EXPECT_FALSE(ApplyDeviceValue(DecodeDeviceEvent(0xB000, 8), p)) << "stages 7-10 change nothing";
    EXPECT_EQ(p.Get(prof::CpiStep), 5);

    EXPECT_TRUE(ApplyDeviceValue(DecodeDeviceEvent(0xC000, 0x0A05), p));
    EXPECT_EQ(p.Get(prof::Sensitivity_X), 5);
    EXPECT_EQ(p.Get(prof::Sensitivity_Y), 10);
    EXPECT_TRUE(ApplyDeviceValue(DecodeDeviceEvent(0xC000, 0x1507), p));
    EXPECT_EQ(p.Get(prof::Sensitivity_X), 7);
    EXPECT_EQ(p.Get(prof::Sensitivity_Y), 10) << "flag 21 is out of range: Y keeps its value";
    EXPECT_TRUE(ApplyDeviceValue(DecodeDeviceEvent(0xC000, 0x0300), p));
    EXPECT_EQ(p.Get(prof::Sensitivity_X), 7);
    EXPECT_EQ(p.Get(prof::Sensitivity_Y), 3);

    EXPECT_TRUE(ApplyDeviceValue(DecodeDeviceEvent(0xD000, 1), p));
    EXPECT_EQ(p.Get(prof::PollingRate), 0);
    EXPECT_FALSE(ApplyDeviceValue(DecodeDeviceEvent(0x3000, 2), p)) << "not a device value";
}

TEST(GameMatch, ForegroundImageSelectsTheFirstMatchingProfile) {
    SettingsBlock b;
    b.Profile(1).Set(prof::GameFile, "  D:\\Games\\Arena\\ARENA.EXE  ");
    b.Profile(3).Set(prof::GameFile, "C:/other/arena.exe");
    b.Profile(4).Set(prof::GameFile, "   ");
    EXPECT_EQ(ProfileForProgram(b, "C:\\Program Files\\Arena\\arena.exe"), 1);
    EXPECT_EQ(ProfileForProgram(b, "C:\\x\\arena.exe.bak"), std::nullopt);
    EXPECT_EQ(ProfileForProgram(b, "C:\\x\\notepad.exe"), std::nullopt);
    EXPECT_EQ(ProfileForProgram(b, ""), std::nullopt)
        << "blank game files never match an unknown image";
    EXPECT_EQ(FileNameLower("C:\\A\\B.Exe"), "b.exe");
    EXPECT_EQ(FileNameLower("game.exe"), "game.exe");
}

TEST(MouseSettingsRule, AccelerationOffResetsALeftoverRow) {
    PointerAcceleration a = AccelerationToApply(0, 1, 6, 0);
    EXPECT_TRUE(a.resetRegistry);
    EXPECT_TRUE(a.resetProfile);
    EXPECT_EQ(a.mouse, (std::array<int, 3>{0, 0, 0}));

    a = AccelerationToApply(1, 2, 4, 7);
    EXPECT_FALSE(a.resetRegistry);
    EXPECT_EQ(a.mouse, (std::array<int, 3>{4, 7, 2})) << "threshold 1, threshold 2, speed";

    a = AccelerationToApply(0, 0, 0, 0);
    EXPECT_FALSE(a.resetRegistry) << "nothing to reset";
}

} // namespace
} // namespace gm::mon
