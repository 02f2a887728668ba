#include "shared/profile_format.h"

#include "shared/struct_codec.h"
#include "shared/tests/memory_ini.h"

#include <gtest/gtest.h>

#include <cstring>

namespace gm {
namespace {

using test::MemoryIni;

TEST(ProfileFormat, KeysComeInFileOrder) {
    const auto& keys = ProfileKeys();
    ASSERT_EQ(keys.size(), 2u + 16u + 10u + 13u + 10u + 3u + 13u + 15u);
    std::vector<std::string> names;
    for (const auto& k : keys)
        names.push_back(k.name);
    const std::vector<std::string> head = {"ProFileName", "GameFile", "DbleClickSpeed",
                                           "ScrollWheelSpeed"};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), names.begin()));
    auto at = [&](const std::string& n) {
        return std::find(names.begin(), names.end(), n) - names.begin();
    };
    EXPECT_EQ(at("XYCpiFlag") + 1, at("CpiLevel_X0"));
    EXPECT_EQ(at("CpiLevel_X4") + 1, at("CpiLevel_Y0"));
    EXPECT_EQ(at("CpiLevel_Y4") + 1, at("CpiStep"));
    EXPECT_EQ(at("OTGSpeed") + 1, at("dpiStepFlag0"));
    EXPECT_EQ(at("dpiStepFlag4") + 1, at("dpibyDpiIndicator0"));
    EXPECT_EQ(at("dpibyDpiIndicator4") + 1, at("DpiIndicationType"));
    EXPECT_EQ(at("CpiYDefault") + 1, at("BtnConfiguration"));
    EXPECT_EQ(at("ProfileSwitchIndictor") + 1, at("MacroKeyInfo0"));
    EXPECT_EQ(names.back(), "MacroKeyInfo14");
    EXPECT_EQ(at("CpiLevel_X5"), std::ptrdiff_t(names.size())) << "stage 5 is not stored";
}

TEST(ProfileFormat, SaveWritesEveryKeyInOrderAndLoadRestoresTheRecord) {
    SettingsBlock in;
    ProfileView p = in.Profile(2);
    p.MakeDefault(2, LevelSet::Monitor);
    p.Set(prof::GameFile, "C:\\Games\\Arena\\arena.exe");
    p.Set(prof::MouseSpeed, 17);
    p.Set(prof::ScrollWheelFlag, 1);
    p.Set(prof::Indicator(4), 200);
    ButtonView macro = p.Button(9);
    macro.Set(btn::FunctionType, 16);
    macro.Set(btn::MacroName, "reload");
    macro.Set(btn::RepeatCount, 3);
    macro.Set(btn::EventCount, 2);
    macro.SetEvent(0, {0x15, 1, 30});
    macro.SetEvent(1, {0x15, 2, 500});

    MemoryIni file;
    ASSERT_TRUE(SaveProfile(file, p));
    std::vector<std::string> expected;
    for (const auto& k : ProfileKeys())
        expected.push_back(k.name);
    EXPECT_EQ(file.writeOrder, expected);
    EXPECT_EQ(*file.Find("Setting", "ProFileName"), "Default3");
    EXPECT_EQ(*file.Find("Setting", "MouseSpeed"), "17");
    EXPECT_EQ(*file.Find("Setting", "dpibyDpiIndicator4"), "200") << "bytes are written unsigned";
    EXPECT_EQ(*file.Find("Setting", "MacroKeyInfo9"), EncodeStruct(macro.data(), kButtonSize));

    SettingsBlock out;
    LoadProfile(file, out.Profile(2));
    // Stage 5 is not stored, so it is the only difference.
    out.Profile(2).Set(prof::CpiLevelX(5), p.Get(prof::CpiLevelX(5)));
    out.Profile(2).Set(prof::CpiLevelY(5), p.Get(prof::CpiLevelY(5)));
    out.Profile(2).Set(prof::StepFlag(5), p.Get(prof::StepFlag(5)));
    out.Profile(2).Set(prof::Indicator(5), p.Get(prof::Indicator(5)));
    EXPECT_EQ(std::memcmp(out.Profile(2).data(), p.data(), kProfileSize), 0);
}

TEST(ProfileFormat, MissingNumbersKeepTheRecordsValuesAndMissingTextIsEmpty) {
    MemoryIni file;
    file.Put("Setting", "MouseSpeed", "12");
    SettingsBlock b;
    std::memset(b.data(), 0x33, kBlockSize);
    ProfileView p = b.Profile(0);
    LoadProfile(file, p);
    EXPECT_EQ(p.Get(prof::MouseSpeed), 12);
    EXPECT_EQ(p.Get(prof::ProFileName), "");
    EXPECT_EQ(p.Get(prof::GameFile), "");
    EXPECT_EQ(p.Get(prof::OTGSpeed), 0x33333333) << "never -1";
    EXPECT_EQ(p.Get(prof::CpiLevelY(4)), 0x33333333);
    EXPECT_EQ(p.Get(prof::CpiLevelY(5)), 0x33333333) << "stage 5 is left alone";
    EXPECT_EQ(p.Get(prof::StepFlag(0)), 0x33) << "never 255";
    EXPECT_EQ(p.Get(prof::ProfileSwitchIndictor), 0x33);
    EXPECT_EQ(p.data()[929], 0x33) << "padding is not a key";
}

TEST(ProfileFormat, ByteKeysKeepTheLowByteAndTextsAreCut) {
    MemoryIni file;
    file.Put("Setting", "DpiIndicationType", "258");
    file.Put("Setting", "Color1Type", "-2");
    file.Put("Setting", "ProFileName", std::string(300, 'p'));
    file.Put("Setting", "GameFile", std::string(600, 'g'));
    SettingsBlock b;
    LoadProfile(file, b.Profile(1));
    EXPECT_EQ(b.Profile(1).Get(prof::DpiIndicationType), 2);
    EXPECT_EQ(b.Profile(1).Get(prof::Color1Type), 0xFE);
    EXPECT_EQ(b.Profile(1).Get(prof::ProFileName), std::string(249, 'p'));
    EXPECT_EQ(b.Profile(1).Get(prof::GameFile), std::string(501, 'g'));

    // A text that would end in spaces, cut at a NUL or at the field's end,
    // loses them: a file line loses them too, so a save and a load give
    // the same text back.
    file.Put("Setting", "GameFile", std::string("C:\\game.exe \t\0junk", 19));
    file.Put("Setting", "ProFileName", std::string(247, 'p') + "   q");
    LoadProfile(file, b.Profile(1));
    EXPECT_EQ(b.Profile(1).Get(prof::GameFile), "C:\\game.exe");
    EXPECT_EQ(b.Profile(1).Get(prof::ProFileName), std::string(247, 'p'));
    file.Put("Setting", "GameFile", " \t ");
    LoadProfile(file, b.Profile(1));
    EXPECT_EQ(b.Profile(1).Get(prof::GameFile), "");
}

TEST(ProfileFormat, DamagedButtonRecordsBecomeFreshAndCountsAreClamped) {
    SettingsBlock src;
    ProfileView sp = src.Profile(0);
    sp.MakeDefault(0, LevelSet::Monitor);
    ButtonView big = sp.Button(3);
    big.Set(btn::FunctionType, 16);
    big.Set(btn::EventCount, 41);
    MemoryIni file;
    ASSERT_TRUE(SaveProfile(file, sp));

    // Button 0: checksum broken; button 1: one byte short; button 2: missing.
    std::string& left = file.values[{"Setting", "MacroKeyInfo0"}];
    left.back() = left.back() == '0' ? '1' : '0';
    std::string& right = file.values[{"Setting", "MacroKeyInfo1"}];
    right.erase(0, 2);
    file.values.erase({"Setting", "MacroKeyInfo2"});

    SettingsBlock b;
    ProfileView p = b.Profile(0);
    std::memset(p.data(), 0x77, kProfileSize);
    LoadProfile(file, p);
    for (int i = 0; i < 3; ++i) {
        ButtonView button = p.Button(i);
        EXPECT_EQ(button.Get(btn::ButtonIndex), i);
        EXPECT_EQ(button.Get(btn::FunctionType), kDefaultFunctionType[std::size_t(i)]);
        EXPECT_EQ(button.Get(btn::EventCount), 0);
        EXPECT_EQ(button.Get(btn::ProgramPath), "");
    }
    EXPECT_EQ(p.Button(0).Get(btn::FunctionType), 1)
        << "a damaged file never takes away the left click";
    EXPECT_EQ(p.Button(3).Get(btn::FunctionType), 16);
    EXPECT_EQ(p.Button(3).Get(btn::EventCount), 40);
}

TEST(ProfileFormat, ProfileFileNames) {
    EXPECT_EQ(ProfileFileName(0), "config\\Default0.gmp");
    EXPECT_EQ(ProfileFileName(4), "config\\Default4.gmp");
}

} // namespace
} // namespace gm
