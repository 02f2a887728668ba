#include "shared/mouse_values.h"

#include <gtest/gtest.h>

namespace gm {
namespace {

class MouseValues : public ::testing::Test {
  protected:
    void SetUp() override { profile().MakeDefault(0, LevelSet::Monitor); }
    ProfileView profile() { return block.Profile(0); }
    SettingsBlock block;
};

TEST_F(MouseValues, AccelerationRowIsClampedAndOffWithoutTheFlag) {
    profile().Set(prof::Acceleration, 25);
    profile().Set(prof::AccelerationFlag, 1);
    RegistryMouseValues v = MouseValuesFromProfile(profile());
    EXPECT_EQ(*v.mouseSpeed, "2");
    EXPECT_EQ(*v.mouseThreshold1, "4");
    EXPECT_EQ(*v.mouseThreshold2, "5");

    profile().Set(prof::Acceleration, -3);
    v = MouseValuesFromProfile(profile());
    EXPECT_EQ(*v.mouseSpeed + *v.mouseThreshold1 + *v.mouseThreshold2, "000");

    for (int a : {0, 7, 19, 25}) {
        profile().Set(prof::Acceleration, a);
        profile().Set(prof::AccelerationFlag, 0);
        v = MouseValuesFromProfile(profile());
        EXPECT_EQ(*v.mouseSpeed + *v.mouseThreshold1 + *v.mouseThreshold2, "000") << a;
    }
}

TEST_F(MouseValues, WheelLinesMinusOneMeansOneScreen) {
    RegistryMouseValues in;
    in.wheelScrollLines = "-1";
    profile().Set(prof::ScrollWheelSpeed, 7);
    ApplyMouseValuesToProfile(in, profile());
    EXPECT_EQ(profile().Get(prof::ScrollWheelFlag), 1);
    EXPECT_EQ(profile().Get(prof::ScrollWheelSpeed), 0);
    EXPECT_EQ(*MouseValuesFromProfile(profile()).wheelScrollLines, "-1");

    in.wheelScrollLines = "5";
    ApplyMouseValuesToProfile(in, profile());
    EXPECT_EQ(profile().Get(prof::ScrollWheelFlag), 0);
    EXPECT_EQ(profile().Get(prof::ScrollWheelSpeed), 5);
    EXPECT_EQ(*MouseValuesFromProfile(profile()).wheelScrollLines, "5");
}

TEST_F(MouseValues, ThresholdsMatchTheLastQualifyingRow) {
    EXPECT_EQ(MatchAcceleration(1, 8, 0), 6);
    EXPECT_EQ(MatchAcceleration(0, 0, 0), 0);
    EXPECT_EQ(MatchAcceleration(2, 4, 5), 19);
    EXPECT_EQ(MatchAcceleration(2, 4, 14), std::nullopt);
    EXPECT_EQ(MatchAcceleration(3, 0, 0), std::nullopt);
    // Every row is found again from what it writes.
    for (int row = 0; row < 20; ++row) {
        const auto r = kAccelerationTable[std::size_t(row)];
        EXPECT_EQ(MatchAcceleration(r.speed, r.threshold1, r.threshold2), row);
    }

    RegistryMouseValues in;
    in.mouseSpeed = "1";
    in.mouseThreshold1 = "8";
    in.mouseThreshold2 = "0";
    profile().Set(prof::AccelerationFlag, 0);
    ApplyMouseValuesToProfile(in, profile());
    EXPECT_EQ(profile().Get(prof::Acceleration), 6);
    EXPECT_EQ(profile().Get(prof::AccelerationFlag), 1);

    in.mouseSpeed = "0"; // row 0: acceleration off
    in.mouseThreshold1 = in.mouseThreshold2 = "0";
    ApplyMouseValuesToProfile(in, profile());
    EXPECT_EQ(profile().Get(prof::Acceleration), 0);
    EXPECT_EQ(profile().Get(prof::AccelerationFlag), 0);
}

TEST_F(MouseValues, UnmatchedOrMissingValuesLeaveFieldsAlone) {
    profile().Set(prof::Acceleration, 9);
    profile().Set(prof::DbleClickSpeed, 444);
    RegistryMouseValues in;
    in.mouseSpeed = "1";
    in.mouseThreshold1 = "14"; // above every row
    in.mouseThreshold2 = "0";
    in.doubleClickSpeed = "fast"; // not a number
    ApplyMouseValuesToProfile(in, profile());
    EXPECT_EQ(profile().Get(prof::Acceleration), 9);
    EXPECT_EQ(profile().Get(prof::AccelerationFlag), 1);
    EXPECT_EQ(profile().Get(prof::DbleClickSpeed), 444);
    EXPECT_EQ(profile().Get(prof::MouseSpeed), 10);

    in = {};
    in.doubleClickSpeed = "700";
    in.mouseSensitivity = "15";
    ApplyMouseValuesToProfile(in, profile());
    EXPECT_EQ(profile().Get(prof::DbleClickSpeed), 700);
    EXPECT_EQ(profile().Get(prof::MouseSpeed), 15);
    EXPECT_EQ(profile().Get(prof::ScrollWheelSpeed), 3) << "no wheel value, no change";
}

TEST(ParseDecimal, AcceptsWhatTheRegistryHolds) {
    EXPECT_EQ(ParseDecimal("10"), 10);
    EXPECT_EQ(ParseDecimal("-1"), -1);
    EXPECT_EQ(ParseDecimal(" 7 "), 7);
    EXPECT_EQ(ParseDecimal(""), std::nullopt);
    EXPECT_EQ(ParseDecimal("1x"), std::nullopt);
    EXPECT_EQ(ParseDecimal("99999999999"), std::nullopt);
}

} // namespace
} // namespace gm
