// The Windows mouse values in a real registry, under a key of the test's own.
#include "shared/mouse_registry_win.h"

#include "shared/tests/test_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace gm {
namespace {

class MouseRegistryTest : public ::testing::Test {
  protected:
    MouseRegistryTest()
        : root_("Software\\GmTests\\" + test::UniqueName("reg")), reg_(root_ + "\\") {
        block_.Profile(0).MakeDefault(0, LevelSet::Monitor);
    }
    ~MouseRegistryTest() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str()); }

    std::string Value(const std::string& key, const char* name) {
        char buf[64] = {};
        DWORD size = sizeof buf;
        DWORD type = 0;
        if (::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, buf, &size) !=
            ERROR_SUCCESS)
            return "<missing>";
        return type == REG_SZ ? std::string(buf) : "<not text>";
    }
    void SetValue(const std::string& key, const char* name, const char* text) {
        ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text,
                                    DWORD(strlen(text) + 1)),
                  ERROR_SUCCESS);
    }
    ProfileView profile() { return block_.Profile(0); }

    std::string root_;
    MouseRegistry reg_;
    SettingsBlock block_;
};

TEST_F(MouseRegistryTest, WritesTextValuesWithTheAccelerationRow) {
    profile().Set(prof::DbleClickSpeed, 640);
    profile().Set(prof::MouseSpeed, 12);
    profile().Set(prof::Acceleration, 25);
    profile().Set(prof::AccelerationFlag, 1);
    profile().Set(prof::ScrollWheelFlag, 1);
    ASSERT_EQ(reg_.Write(profile()), 1);
    const std::string mouse = reg_.MouseKey();
    EXPECT_EQ(Value(mouse, "DoubleClickSpeed"), "640");
    EXPECT_EQ(Value(mouse, "MouseSensitivity"), "12");
    EXPECT_EQ(Value(mouse, "MouseSpeed"), "2");
    EXPECT_EQ(Value(mouse, "MouseThreshold1"), "4");
    EXPECT_EQ(Value(mouse, "MouseThreshold2"), "5");
    EXPECT_EQ(Value(reg_.DesktopKey(), "WheelScrollLines"), "-1");

    profile().Set(prof::AccelerationFlag, 0);
    profile().Set(prof::ScrollWheelFlag, 0);
    profile().Set(prof::ScrollWheelSpeed, 4);
    ASSERT_EQ(reg_.Write(profile()), 1);
    EXPECT_EQ(Value(mouse, "MouseSpeed") + Value(mouse, "MouseThreshold1") +
                  Value(mouse, "MouseThreshold2"),
              "000");
    EXPECT_EQ(Value(reg_.DesktopKey(), "WheelScrollLines"), "4");
}

TEST_F(MouseRegistryTest, ReadsWheelMinusOneAndMatchesThresholds) {
    SetValue(reg_.MouseKey(), "MouseSpeed", "1");
    SetValue(reg_.MouseKey(), "MouseThreshold1", "8");
    SetValue(reg_.MouseKey(), "MouseThreshold2", "0");
    SetValue(reg_.MouseKey(), "MouseSensitivity", "7");
    SetValue(reg_.DesktopKey(), "WheelScrollLines", "-1");
    ASSERT_EQ(reg_.Read(profile()), 1);
    EXPECT_EQ(profile().Get(prof::Acceleration), 6);
    EXPECT_EQ(profile().Get(prof::AccelerationFlag), 1);
    EXPECT_EQ(profile().Get(prof::MouseSpeed), 7);
    EXPECT_EQ(profile().Get(prof::ScrollWheelFlag), 1);
    EXPECT_EQ(profile().Get(prof::ScrollWheelSpeed), 0);
    EXPECT_EQ(profile().Get(prof::DbleClickSpeed), 500) << "absent value leaves the field";

    // Written back, the profile gives "-1" again.
    ASSERT_EQ(reg_.Write(profile()), 1);
    EXPECT_EQ(Value(reg_.DesktopKey(), "WheelScrollLines"), "-1");
}

TEST_F(MouseRegistryTest, MissingKeysAreCreated) {
    ASSERT_EQ(reg_.Read(profile()), 1);
    HKEY k;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, reg_.DesktopKey().c_str(), 0, KEY_READ, &k),
              ERROR_SUCCESS);
    ::RegCloseKey(k);
    EXPECT_EQ(profile().Get(prof::Acceleration), 10) << "nothing to match, nothing changed";
}

} // namespace
} // namespace gm
