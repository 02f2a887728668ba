#include "option/pages/button_functions.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gm::option {
namespace {

struct Profile {
    SettingsBlock block;
    Profile() { block.Profile(0).MakeDefault(0, LevelSet::Option); }
    ProfileView view() { return block.Profile(0); }
    ButtonView button(int b) { return view().Button(b); }
};

TEST(ButtonFunctions, CommandsAndCodesMapBothWaysAndCaptionsUseTheirStrings) {
    for (int code : {1, 4, 5, 6, 12, 13, 15, 17, 18, 24, 25, 32, 33, 42, 53, 60}) {
        ASSERT_NE(CommandForCode(code), 0) << code;
        EXPECT_EQ(CodeForCommand(CommandForCode(code)), code) << code;
    }
    EXPECT_EQ(CodeForCommand(1100), fn::Macro);
    EXPECT_EQ(CodeForCommand(1111), fn::Macro);
    for (int command : {1016, 1045, 1048, 1049, 1050, 1070, 1079, 1099})
        EXPECT_EQ(CodeForCommand(command), 0) << command;
    EXPECT_EQ(CodeForCommand(1043), 43) << "not offered, but a known command";

    EXPECT_EQ(CaptionString(1), 1005);
    EXPECT_EQ(CaptionString(0), 1010) << "no function shows Disabled";
    EXPECT_EQ(CaptionString(6), 1010);
    EXPECT_EQ(CaptionString(13), 1018);
    EXPECT_EQ(CaptionString(24), 1030);
    EXPECT_EQ(CaptionString(25), 1032);
    EXPECT_EQ(CaptionString(42), 1050);
    EXPECT_EQ(CaptionString(44), 1052);
    EXPECT_EQ(CaptionString(53), 1071);
    for (int code : {45, 52, 61, 255})
        EXPECT_EQ(CaptionString(code), 0) << code;
    EXPECT_EQ(MenuString(1005), 1009);
    EXPECT_EQ(MenuString(1017), 1022);
    EXPECT_EQ(MenuString(1049), 1067);
    EXPECT_EQ(MenuString(1033), 1041);
}

TEST(ButtonFunctions, TheMenuOffersEveryCodeOnceAndNothingElse) {
    std::vector<int> offered;
    for (const Submenu& s : FunctionSubmenus())
        for (int c : s.items)
            offered.push_back(CodeForCommand(c));
    for (int c : FunctionMainItems())
        offered.push_back(CodeForCommand(c));
    std::sort(offered.begin(), offered.end());
    std::vector<int> expected;
    for (int c = 1; c <= 42; ++c)
        if (c != 16)
            expected.push_back(c);
    for (int c = 53; c <= 60; ++c)
        expected.push_back(c);
    EXPECT_EQ(offered, expected) << "macros come from their own submenu; 43/44 are not offered";
}

TEST(ButtonFunctions, CaptionsOfKeysMacrosAndPrograms) {
    Profile p;
    auto lan = [](int id) { return "s" + std::to_string(id); };
    auto hotkey = [](const ButtonView& b) {
        return b.Get(btn::EventCount) ? std::string("Ctrl+Alt+A") : std::string();
    };
    ButtonView b = p.button(3);
    b.Set(btn::FunctionType, uint8_t(2));
    EXPECT_EQ(CaptionOf(b, lan, hotkey), "s1006");
    b.Set(btn::FunctionType, uint8_t(fn::RunProgram));
    b.Set(btn::ProgramPath, "C:\\Games\\Tools\\launcher.exe");
    EXPECT_EQ(CaptionOf(b, lan, hotkey), "launcher.exe");
    b.Set(btn::ProgramPath, "notes.txt");
    EXPECT_EQ(CaptionOf(b, lan, hotkey), "notes.txt");
    b.Set(btn::FunctionType, uint8_t(fn::Macro));
    b.Set(btn::MacroName, "Reload");
    EXPECT_EQ(CaptionOf(b, lan, hotkey), "Reload");
    b.Set(btn::FunctionType, uint8_t(fn::Key));
    b.Set(btn::EventCount, uint16_t(0));
    EXPECT_EQ(CaptionOf(b, lan, hotkey), "");
    b.Set(btn::FunctionType, uint8_t(50));
    EXPECT_EQ(CaptionOf(b, lan, hotkey), "");
}

TEST(ButtonFunctions, TheLeftClickGuardCountsTheNewFunction) {
    Profile p;
    ASSERT_EQ(p.button(0).Get(btn::FunctionType), 1);
    EXPECT_TRUE(LeavesNoLeftClick(p.view(), 0, 2)) << "the only left click";
    EXPECT_TRUE(LeavesNoLeftClick(p.view(), 0, 0)) << "the macro manager command has code 0";
    EXPECT_FALSE(LeavesNoLeftClick(p.view(), 0, 1));
    EXPECT_FALSE(LeavesNoLeftClick(p.view(), 5, 2)) << "another button changes";
    p.button(7).Set(btn::FunctionType, uint8_t(1));
    EXPECT_FALSE(LeavesNoLeftClick(p.view(), 0, 2)) << "two left clicks: either may change";
    EXPECT_FALSE(LeavesNoLeftClick(p.view(), 7, 3));
}

TEST(ButtonFunctions, ANewFunctionClearsTheMacroButKeepsRepeatAndPath) {
    Profile p;
    ButtonView b = p.button(4);
    b.Set(btn::FunctionType, uint8_t(fn::Macro));
    b.Set(btn::MacroName, "Combo");
    b.Set(btn::RepeatCount, 7);
    b.Set(btn::EventCount, uint16_t(2));
    b.SetEvent(0, {4, 1, 50});
    b.SetEvent(1, {4, 2, 0});
    b.Set(btn::ProgramPath, "C:\\x.exe");
    SetFunction(b, 3);
    EXPECT_EQ(b.Get(btn::FunctionType), 3);
    EXPECT_EQ(b.Get(btn::MacroName), "");
    EXPECT_EQ(b.Get(btn::EventCount), 0);
    EXPECT_EQ(b.Event(0).keyCode, 0);
    EXPECT_EQ(b.Event(1).direction, 0);
    EXPECT_EQ(b.Get(btn::RepeatCount), 7);
    EXPECT_EQ(b.Get(btn::ProgramPath), "C:\\x.exe");

    b.Set(btn::EventCount, uint16_t(1));
    b.Set(btn::KeyUsage, 0x06);
    SetFunction(b, fn::Key);
    EXPECT_EQ(b.Get(btn::EventCount), 1) << "a key keeps the key the shortcut dialog stored";
    EXPECT_EQ(b.Get(btn::KeyUsage), 0x06);
}

TEST(ButtonFunctions, TheMarkedMacroIgnoresCaseAndSurroundingSpaces) {
    Profile p;
    ButtonView b = p.button(1);
    b.Set(btn::MacroName, "Reload");
    EXPECT_FALSE(IsButtonsMacro(b, "Reload")) << "not a macro button";
    b.Set(btn::FunctionType, uint8_t(fn::Macro));
    EXPECT_TRUE(IsButtonsMacro(b, "  RELOAD "));
    EXPECT_FALSE(IsButtonsMacro(b, "Reloads"));
}

} // namespace
} // namespace gm::option
