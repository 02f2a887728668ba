// Profile files and config.ini through the real private-profile functions.
#include "shared/profile_files_win.h"

#include "shared/profile_format.h"
#include "shared/struct_codec.h"
#include "shared/tests/test_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <sstream>
#include <thread>

namespace gm {
namespace {

using test::TestFolder;

// A registry location of our own, so tests never touch the user's settings.
class ProfileFilesTest : public ::testing::Test {
  protected:
    ProfileFilesTest() : base_("Software\\GmTests\\" + test::UniqueName("files") + "\\") {}
    ~ProfileFilesTest() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, base_.substr(0, base_.size() - 1).c_str());
    }
    ProfileFiles Files(LevelSet levels = LevelSet::Monitor) {
        return ProfileFiles(dir.path(), levels, MouseRegistry(base_));
    }

    TestFolder dir;
    std::string base_;
};

std::vector<std::string> KeysOf(const std::string& text) {
    std::vector<std::string> keys;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            keys.push_back(line.substr(0, eq));
    }
    return keys;
}

std::string ValueOf(const std::string& text, const std::string& key) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    }
    return "<missing>";
}

// Written independently of the codec under test: hex digits, then the sum.
std::string HandEncoded(const std::vector<uint8_t>& bytes) {
    std::string s;
    unsigned sum = 0;
    char two[3];
    for (uint8_t b : bytes) {
        std::snprintf(two, sizeof two, "%02X", b);
        s += two;
        sum += b;
    }
    std::snprintf(two, sizeof two, "%02X", sum & 0xFF);
    return s + two;
}

TEST_F(ProfileFilesTest, NoFilesGiveFiveDefaultProfiles) {
    SettingsBlock b;
    b.Reset();
    ASSERT_TRUE(Files().LoadAll(b));
    EXPECT_EQ(b.CurrentProfile(), -1);
    EXPECT_EQ(b.MouseType(), -1);
    EXPECT_EQ(b.MouseColor(), -1);
    for (int i = 0; i < kProfileCount; ++i) {
        EXPECT_EQ(b.Profile(i).Get(prof::ProFileName), "Default" + std::to_string(i + 1));
        EXPECT_EQ(b.Profile(i).Get(prof::CpiLevelX(2)), 6) << "the monitor's default levels";
        EXPECT_EQ(b.Profile(i).Button(0).Get(btn::FunctionType), 1);
    }
    SettingsBlock o;
    ASSERT_TRUE(Files(LevelSet::Option).LoadAll(o));
    EXPECT_EQ(o.Profile(0).Get(prof::CpiLevelX(2)), 8)
        << "the configuration program's default levels";
}

TEST_F(ProfileFilesTest, HandWrittenFilesLoadIntoTheRightFields) {
    std::vector<uint8_t> record(kButtonSize, 0);
    record[0] = 4;  // ButtonIndex
    record[1] = 16; // macro
    std::memcpy(&record[8], "jump", 4);
    record[36] = 2; // RepeatCount
    record[40] = 2; // EventCount
    record[42] = 0x2C;
    record[43] = 1;
    record[44] = 0x19;
    record[45] = 0; // Space down, 25 ms
    record[46] = 0x2C;
    record[47] = 2;
    record[48] = 0xF4;
    record[49] = 1; // Space up, 500 ms
    std::memcpy(&record[202], "C:\\x.exe", 8);

    ::CreateDirectoryA((dir / "config").c_str(), nullptr);
    TestFolder::WriteFile(dir / "config.ini",
                          "[Setting]\r\nCurrentProfile=1\r\nMouseType=7\r\nMouseColor=2\r\n");
    TestFolder::WriteFile(dir / "config\\Default1.gmp", "[Setting]\r\n"
                                                        "ProFileName=Sniper\r\n"
                                                        "GameFile=D:\\Games\\shooter.exe\r\n"
                                                        "MouseSpeed=14\r\n"
                                                        "CpiLevel_X3=9\r\n"
                                                        "CpiLevel_Y0=3\r\n"
                                                        "dpiStepFlag2=0\r\n"
                                                        "dpibyDpiIndicator1=300\r\n"
                                                        "ProfileSwitchIndictor=3\r\n"
                                                        "MacroKeyInfo4=" +
                                                            HandEncoded(record) + "\r\n");
    SettingsBlock b;
    ASSERT_TRUE(Files().LoadAll(b));
    EXPECT_EQ(b.CurrentProfile(), 1);
    EXPECT_EQ(b.MouseType(), 7);
    EXPECT_EQ(b.MouseColor(), 2);
    ProfileView p = b.Profile(1);
    EXPECT_EQ(p.Get(prof::ProFileName), "Sniper");
    EXPECT_EQ(p.Get(prof::GameFile), "D:\\Games\\shooter.exe");
    EXPECT_EQ(p.Get(prof::CpiLevelX(3)), 9);
    EXPECT_EQ(p.Get(prof::CpiLevelY(0)), 3);
    EXPECT_EQ(p.Get(prof::StepFlag(2)), 0);
    EXPECT_EQ(p.Get(prof::Indicator(1)), 300 & 0xFF);
    SettingsBlock defaults;
    defaults.Profile(1).MakeDefault(1, LevelSet::Monitor);
    EXPECT_EQ(p.Get(prof::StepFlag(1)), defaults.Profile(1).Get(prof::StepFlag(1)))
        << "a missing byte key keeps the default";
    EXPECT_EQ(p.Get(prof::OTGSpeed), defaults.Profile(1).Get(prof::OTGSpeed))
        << "a missing integer key keeps the default";
    EXPECT_EQ(p.Get(prof::ProfileSwitchIndictor), 3);
    EXPECT_EQ(std::memcmp(p.Button(4).data(), record.data(), kButtonSize), 0);
    EXPECT_EQ(p.Button(4).Event(1).delay, 500);
    EXPECT_EQ(p.Button(5).Get(btn::FunctionType), 13)
        << "a missing record is the button's fresh record";
    EXPECT_EQ(b.Profile(0).Get(prof::ProFileName), "Default1")
        << "profiles without files get defaults";
}

TEST_F(ProfileFilesTest, SaveAllWritesKeysInOrderWithTheStructEncoding) {
    SettingsBlock b;
    b.Reset();
    for (int i = 0; i < kProfileCount; ++i)
        b.Profile(i).MakeDefault(i, LevelSet::Monitor);
    b.SetCurrentProfile(2);
    b.SetMouseType(5);
    b.SetMouseColor(1);
    ButtonView key = b.Profile(3).Button(8);
    key.Set(btn::FunctionType, 5);
    key.Set(btn::EventCount, 1);
    key.Set(btn::KeyUsage, 0x04);
    key.Set(btn::KeyModifiers, 0x05);
    ASSERT_TRUE(Files().SaveAll(b)) << "the config folder is created when missing";

    const std::string config = TestFolder::ReadFile(dir / "config.ini");
    EXPECT_EQ(KeysOf(config),
              (std::vector<std::string>{"CurrentProfile", "MouseType", "MouseColor"}));
    EXPECT_EQ(ValueOf(config, "CurrentProfile"), "2");

    const std::string text = TestFolder::ReadFile(dir / "config\\Default3.gmp");
    std::vector<std::string> expected;
    for (const auto& k : ProfileKeys())
        expected.push_back(k.name);
    EXPECT_EQ(KeysOf(text), expected);
    EXPECT_EQ(text.substr(0, 9), "[Setting]");
    EXPECT_EQ(ValueOf(text, "ProFileName"), "Default4");
    EXPECT_EQ(ValueOf(text, "GameFile"), "");
    EXPECT_EQ(ValueOf(text, "dpibyDpiIndicator3"), "21");
    // The platform's struct writer and our codec agree byte for byte.
    EXPECT_EQ(ValueOf(text, "MacroKeyInfo8"), EncodeStruct(key.data(), kButtonSize));
    std::vector<uint8_t> raw(key.data(), key.data() + kButtonSize);
    EXPECT_EQ(ValueOf(text, "MacroKeyInfo8"), HandEncoded(raw));

    SettingsBlock back;
    ASSERT_TRUE(Files().LoadAll(back));
    EXPECT_EQ(back.CurrentProfile(), 2);
    // With acceleration off the registry holds row 0, and that is what the
    // current profile reads back.
    EXPECT_EQ(back.Profile(2).Get(prof::Acceleration), 0);
    back.Profile(2).Set(prof::Acceleration, b.Profile(2).Get(prof::Acceleration));
    for (int i = 0; i < kProfileCount; ++i) {
        ProfileView p = back.Profile(i);
        SettingsBlock fresh;
        fresh.Profile(i).MakeDefault(i, LevelSet::Monitor);
        EXPECT_EQ(p.Get(prof::CpiLevelX(5)), fresh.Profile(i).Get(prof::CpiLevelX(5)))
            << "stage 5 is not stored: it keeps its default";
        p.Set(prof::CpiLevelX(5), b.Profile(i).Get(prof::CpiLevelX(5)));
        p.Set(prof::CpiLevelY(5), b.Profile(i).Get(prof::CpiLevelY(5)));
        p.Set(prof::StepFlag(5), b.Profile(i).Get(prof::StepFlag(5)));
        p.Set(prof::Indicator(5), b.Profile(i).Get(prof::Indicator(5)));
        EXPECT_EQ(std::memcmp(p.data(), b.Profile(i).data(), kProfileSize), 0) << "profile " << i;
    }
}

// The other program reads a profile file now and then; a save that comes
// while it holds the file waits for it, and one that cannot wait keeps the
// old file whole.
TEST_F(ProfileFilesTest, ASaveWaitsForAReaderAndOneThatCannotKeepsTheOldFile) {
    SettingsBlock b;
    for (int i = 0; i < kProfileCount; ++i)
        b.Profile(i).MakeDefault(i, LevelSet::Monitor);
    ASSERT_TRUE(Files().SaveAll(b));
    const std::string path = dir / "config\\Default3.gmp";
    // Opened as the platform's private-profile reader opens it.
    const auto openForReading = [&] {
        return ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    };

    // Held for longer than writing the new file takes, shorter than a save waits.
    HANDLE reader = openForReading();
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread letGo([reader] {
        ::Sleep(600);
        ::CloseHandle(reader);
    });
    ProfileView p = b.Profile(3);
    p.Set(prof::ProFileName, "Renamed");
    const bool saved = ProfileFiles::SaveProfile(p, path);
    letGo.join();
    EXPECT_TRUE(saved);
    EXPECT_EQ(ValueOf(TestFolder::ReadFile(path), "ProFileName"), "Renamed");

    reader = openForReading();
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    p.Set(prof::ProFileName, "Never");
    EXPECT_FALSE(ProfileFiles::SaveProfile(p, path)) << "a file held for good is reported";
    ::CloseHandle(reader);
    EXPECT_EQ(ValueOf(TestFolder::ReadFile(path), "ProFileName"), "Renamed");
    EXPECT_FALSE(TestFolder::Exists(path + ".new")) << "nothing half-saved is left";
}

TEST_F(ProfileFilesTest, CorruptRecordsAndOverlongValuesAreContained) {
    SettingsBlock b;
    for (int i = 0; i < kProfileCount; ++i)
        b.Profile(i).MakeDefault(i, LevelSet::Monitor);
    ButtonView big = b.Profile(0).Button(2);
    big.Set(btn::FunctionType, 16);
    big.Set(btn::EventCount, 300);
    ASSERT_TRUE(Files().SaveAll(b));

    // Break the left button's checksum and add an overlong name.
    const std::string path = dir / "config\\Default0.gmp";
    std::string text = TestFolder::ReadFile(path);
    const std::string good = ValueOf(text, "MacroKeyInfo0");
    std::string bad = good;
    bad[bad.size() - 1] = bad.back() == 'F' ? 'E' : 'F';
    text.replace(text.find(good), good.size(), bad);
    text.replace(text.find("ProFileName=Default1"), 20, "ProFileName=" + std::string(3000, 'n'));
    TestFolder::WriteFile(path, text);

    SettingsBlock back;
    ASSERT_TRUE(Files().LoadAll(back));
    ProfileView p = back.Profile(0);
    EXPECT_EQ(p.Button(0).Get(btn::FunctionType), 1)
        << "a damaged record never takes away the left click";
    EXPECT_EQ(p.Button(0).Get(btn::ButtonIndex), 0);
    EXPECT_EQ(p.Button(2).Get(btn::EventCount), 40);
    EXPECT_EQ(p.Get(prof::ProFileName), std::string(249, 'n'));
    EXPECT_EQ(p.Get(prof::GameFile), "") << "the long name does not spill into the next field";
}

TEST_F(ProfileFilesTest, SingleSettingWritesAndOptionDefaults) {
    ProfileFiles files = Files();
    EXPECT_EQ(files.ReadFirmwareVersion(), 100);
    EXPECT_EQ(files.ReadMouseTypeForOption(), 0);
    ASSERT_TRUE(files.WriteCurrentProfileIndex(4));
    ASSERT_TRUE(files.WriteFirmwareVersion(123));
    ASSERT_TRUE(files.WriteDeviceState(true));
    EXPECT_EQ(files.ReadFirmwareVersion(), 123);
    std::string config = TestFolder::ReadFile(files.ConfigPath());
    EXPECT_EQ(ValueOf(config, "CurrentProfile"), "4");
    EXPECT_EQ(ValueOf(config, "Device"), "1");
    ASSERT_TRUE(files.WriteDeviceState(false));
    config = TestFolder::ReadFile(files.ConfigPath());
    EXPECT_EQ(ValueOf(config, "Device"), "0");
}

TEST_F(ProfileFilesTest, CurrentProfileTakesTheRegistryMouseValues) {
    SettingsBlock b;
    for (int i = 0; i < kProfileCount; ++i)
        b.Profile(i).MakeDefault(i, LevelSet::Monitor);
    b.SetCurrentProfile(1);
    b.Profile(1).Set(prof::ScrollWheelFlag, 1);
    b.Profile(1).Set(prof::Acceleration, 25);
    b.Profile(1).Set(prof::AccelerationFlag, 1);
    ASSERT_TRUE(Files().SaveAll(b));

    // Another tool changes the wheel lines while we are not running.
    HKEY desk;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (base_ + "Control Panel\\Desktop").c_str(), 0,
                              KEY_ALL_ACCESS, &desk),
              ERROR_SUCCESS);
    ::RegSetValueExA(desk, "WheelScrollLines", 0, REG_SZ, reinterpret_cast<const BYTE*>("6"), 2);
    ::RegCloseKey(desk);

    SettingsBlock back;
    ASSERT_TRUE(Files().LoadAll(back));
    EXPECT_EQ(back.Profile(1).Get(prof::ScrollWheelSpeed), 6);
    EXPECT_EQ(back.Profile(1).Get(prof::ScrollWheelFlag), 0);
    EXPECT_EQ(back.Profile(1).Get(prof::Acceleration), 19) << "row 19 was written for 25";
    EXPECT_EQ(back.Profile(0).Get(prof::ScrollWheelSpeed), 3)
        << "only the current profile reads the registry";
}

} // namespace
} // namespace gm
