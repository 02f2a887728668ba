// The monitor's actions end to end: the virtual mouse reports a button, the
// real Monitor.exe acts, and windows of this test receive the result.
#include "monitor/tests/actions_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace gm::test {
namespace {

TEST_F(ActionsTest, KeyFunctionHoldsModifiersRepeatsAndReleasesInReverse) {
    Recorder target("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    target.TakeFocus();
    ButtonView b = Button(5);
    b.Set(btn::FunctionType, uint8_t(fn::Key));
    b.Set(btn::KeyUsage, 0x04);     // A
    b.Set(btn::KeyModifiers, 0x07); // Ctrl, Shift, Alt
    ButtonView second = Button(6);
    second.Set(btn::FunctionType, uint8_t(fn::Key));
    second.Set(btn::KeyUsage, 0x05);     // B
    second.Set(btn::KeyModifiers, 0x08); // Windows
    Share();

    Event(0x5000, 5);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("+41") >= 3; })) << target.Joined();
    Event(0x5000, 0x0105);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("-11") == 1; })) << target.Joined();
    Settle(300);
    // Down: Ctrl, Shift, Alt, A; then A repeats (up, down); up: A, Alt, Shift, Ctrl.
    ASSERT_GE(target.got.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(target.got.begin(), target.got.begin() + 4),
              (std::vector<std::string>{"+11", "+10", "+12", "+41"}));
    for (std::size_t i = 4; i + 4 < target.got.size(); i += 2) {
        EXPECT_EQ(target.got[i], "-41") << target.Joined();
        EXPECT_EQ(target.got[i + 1], "+41") << target.Joined();
    }
    EXPECT_EQ(std::vector<std::string>(target.got.end() - 4, target.got.end()),
              (std::vector<std::string>{"-41", "-12", "-10", "-11"}));

    // Two buttons held at once: each releases its own key and modifiers.
    target.got.clear();
    Event(0x4000, 5);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("+41") == 1; })) << target.Joined();
    Event(0x4000, 6);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("+42") == 1; })) << target.Joined();
    Event(0x4000, 0x0105);
    Event(0x4000, 0x0106);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("-5B") == 1 && target.Count("-11") == 1; }))
        << target.Joined();
    Settle(300);
    for (const char* key : {"41", "42", "11", "10", "12", "5B"}) {
        const std::string k = key;
        EXPECT_EQ(target.Count("+" + k), 1) << k << ": " << target.Joined();
        EXPECT_EQ(target.Count("-" + k), 1) << k << ": " << target.Joined();
    }
}

TEST_F(ActionsTest, MacroPlaysRoundsTypematicRepeatAndMouseButtons) {
    Recorder target("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    target.TakeFocus();
    // Shift down, A held 700 ms (repeats at 500, 533, ... 698), A up, Shift
    // up, a left click and a back-button click; two rounds.
    SetMacro(4,
             {{0xE1, P, 5},
              {0x04, P, 700},
              {0x04, R, 5},
              {0xE1, R, 5},
              {241, P, 5},
              {241, R, 5},
              {245, P, 5},
              {245, R, 20}},
             2);
    Share();
    Event(0x4000, 4);
    Event(0x4000, 0x0104);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("X1-") == 2; })) << target.Joined();
    Settle(200);
    std::string round = "+10 +41";
    for (int i = 0; i < 7; ++i)
        round += " -41 +41";
    round += " -41 -10 L+ L- X1+ X1-";
    EXPECT_EQ(target.Joined(), round + " " + round);
    EXPECT_EQ(Config("MacroOSD", "MacroName"), "") << "macro notices are off";
}

TEST_F(ActionsTest, ASecondPressStopsTheMacroAndReleasesHeldKeysInReverseOrder) {
    Recorder target("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    target.TakeFocus();
    SetMacro(
        4, {{0xE0, P, 5}, {0xE1, P, 5}, {0x05, P, 5}, {0x05, R, 20000}, {0xE1, R, 5}, {0xE0, R, 5}},
        1);
    Share();
    Event(0x4000, 4);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("-42") == 1; })) << target.Joined();
    Event(0x4000, 4);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("-11") == 1; }, 5000))
        << "stopped inside the 20 s pause";
    Settle(300);
    EXPECT_EQ(target.Joined(), "+11 +10 +42 -42 -10 -11") << "Shift, then Ctrl";

    // A third press starts it again.
    target.got.clear();
    Event(0x4000, 4);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("-42") == 1; })) << target.Joined();
    // The mouse goes away: the macro stops and nothing stays pressed.
    ASSERT_TRUE(mouse.Command("unplug").first);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("-11") == 1; }, 10000)) << target.Joined();
    EXPECT_EQ(target.Joined(), "+11 +10 +42 -42 -10 -11");
}

TEST_F(ActionsTest, ShutdownReleasesEverythingTheMonitorHolds) {
    Recorder target("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    target.TakeFocus();
    ButtonView b = Button(5);
    b.Set(btn::FunctionType, uint8_t(fn::Key));
    b.Set(btn::KeyUsage, 0x04);
    b.Set(btn::KeyModifiers, 0x01);
    SetMacro(4, {{0xE1, P, 30000}, {0xE1, R, 5}}, 1); // Shift held for 30 s
    Share();
    Event(0x5000, 5);
    Event(0x4000, 4);
    ASSERT_TRUE(PumpUntil([&] { return target.Count("+41") == 1 && target.Count("+10") == 1; }))
        << target.Joined();
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), WM_CLOSE, 0, 0);
    ASSERT_TRUE(
        PumpUntil([&] { return ::WaitForSingleObject(monitor_, 0) == WAIT_OBJECT_0; }, 20000))
        << "a playing macro does not hold up the shutdown";
    Settle(300);
    for (const char* key : {"41", "11", "10"})
        EXPECT_EQ(target.Count(std::string("-") + key), 1) << key << ": " << target.Joined();
}

TEST_F(ActionsTest, VolumeKeysRepeatWhileHeld) {
    Recorder target("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    target.TakeFocus();
    Event(0xF000, 30); // mute: once
    Event(0xF000, 31); // volume up: at once, then every 300 ms
    ASSERT_TRUE(PumpUntil([&] { return target.Count("+AF") >= 3; })) << target.Joined();
    Event(0xF000, 0x011F);
    Settle(300);
    const int held = target.Count("+AF");
    Settle(1000);
    EXPECT_EQ(target.Count("+AF"), held) << "released: no more steps";
    EXPECT_EQ(target.Count("+AD"), 1);
    EXPECT_EQ(target.Count("+AF"), target.Count("-AF"));
}

TEST_F(ActionsTest, TiltScrollsByWindowClass) {
    block.Profile(block.CurrentProfile()).Set(prof::TiltSpeed, 3);
    Share();
    {
        // A window of no listed class with WS_HSCROLL: the message to itself.
        Recorder plain("GmPlainScroll", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VISIBLE, 100, 100,
                       300, 200);
        plain.TakeFocus();
        Event(0x1000, 255);
        ASSERT_TRUE(PumpUntil([&] { return plain.got.size() >= 3; })) << plain.Joined();
        Event(0x1000, 1);
        ASSERT_TRUE(PumpUntil([&] { return plain.got.size() >= 6; })) << plain.Joined();
        Settle(200);
        EXPECT_EQ(plain.Joined(), "H0 H0 H0 H1 H1 H1");
    }
    {
        // Without a scroll bar anywhere: nothing.
        Recorder bare("GmNoScroll", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        bare.TakeFocus();
        Event(0x1000, 255);
        Settle(800);
        EXPECT_EQ(bare.Joined(), "");
    }
    {
        // The desktop's icon view: a list view inside "Progman". Nothing,
        // though it has a horizontal scroll bar.
        Recorder desktop("Progman", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
        Recorder icons("SysListView32", WS_CHILD | WS_VISIBLE | WS_HSCROLL, 0, 0, 300, 200,
                       desktop.hwnd);
        icons.TakeFocus();
        Event(0x1000, 255);
        Settle(800);
        EXPECT_EQ(icons.Joined() + desktop.Joined(), "");
    }
    {
        // A browser's content window: arrow keys posted to its parent.
        Recorder frame("GmBrowserFrame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        Recorder content("MozillaWindowClass", WS_CHILD | WS_VISIBLE, 0, 0, 280, 150, frame.hwnd);
        content.TakeFocus();
        Event(0x1000, 1);
        ASSERT_TRUE(PumpUntil([&] { return frame.got.size() >= 6; })) << frame.Joined();
        EXPECT_EQ(frame.Joined(), "+27 -27 +27 -27 +27 -27");
    }
    {
        // A spreadsheet: clicks on the left arrow of the bar beside it, and
        // the cursor goes back where it was.
        Recorder frame("GmSheetFrame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300);
        Recorder sheet("EXCEL7", WS_CHILD | WS_VISIBLE, 0, 0, 380, 200, frame.hwnd);
        HWND bar =
            ::CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 210, 380, 18,
                              frame.hwnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 10, 50, 0};
        ::SetScrollInfo(bar, SB_CTL, &si, TRUE);
        sheet.TakeFocus();
        POINT before;
        ::GetCursorPos(&before);
        Event(0x1000, 255);
        ASSERT_TRUE(PumpUntil([&] { return frame.Count("H0b") >= 3; })) << frame.Joined();
        Settle(300);
        EXPECT_EQ(frame.Count("H0b"), 3) << frame.Joined();
        EXPECT_EQ(frame.Count("H1b"), 0) << frame.Joined();
        POINT after;
        ::GetCursorPos(&after);
        EXPECT_EQ(after.x, before.x);
        EXPECT_EQ(after.y, before.y);
        ::DestroyWindow(bar);
    }
}

TEST_F(ActionsTest, MediaCommandsReachThePlayerWindow) {
    block.Profile(block.CurrentProfile()).Set(prof::MediaOption, 3);
    Share();
    Recorder winamp("Winamp v1.x", WS_POPUP, 0, 0, 10, 10);
    for (int code : {28, 28, 28, 27, 26, 29})
        Event(0xF000, unsigned(code));
    ASSERT_TRUE(PumpUntil([&] { return winamp.got.size() >= 6; })) << winamp.Joined();
    EXPECT_EQ(winamp.Joined(), "C40045 C40046 C40045 C40048 C40044 C40047")
        << "play/pause alternates, play first";

    // Another player chosen: Winamp hears nothing more.
    block.Profile(block.CurrentProfile()).Set(prof::MediaOption, 2);
    Share();
    Recorder real("GeminiWindowClass", WS_POPUP, 0, 0, 10, 10);
    Event(0xF000, 27);
    ASSERT_TRUE(PumpUntil([&] { return real.got.size() >= 1; })) << real.Joined();
    EXPECT_EQ(real.Joined(), "C65739");
    EXPECT_EQ(winamp.got.size(), 6u);
}

TEST_F(ActionsTest, StartPlayerRunsTheRegisteredProgramOnlyWhenItIsThatPlayer) {
    const char* key = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";
    auto command = [&](const std::string& exe) { return "\"" + dir() + exe + "\" \"%1\""; };
    ASSERT_TRUE(::CopyFileA((BuildDir() + "standin_window.exe").c_str(),
                            (dir() + "winamp.exe").c_str(), FALSE));
    block.Profile(block.CurrentProfile()).Set(prof::MediaOption, 3);
    // Button 5 types A: its key, reaching the window below, shows that the
    // monitor has handled every event before it.
    ButtonView marker = Button(5);
    marker.Set(btn::FunctionType, uint8_t(fn::Key));
    marker.Set(btn::KeyUsage, 0x04);
    marker.Set(btn::KeyModifiers, 0);
    Share();
    Recorder target("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    target.TakeFocus();

    {
        MachineValue registered(key, nullptr, command("ran.exe"), KEY_WOW64_64KEY);
        ASSERT_TRUE(registered.ok);
        Event(0xF000, 25); // registered, but not Winamp: nothing starts
        Event(0x5000, 5);
        Event(0x5000, 0x105);
        ASSERT_TRUE(PumpUntil([&] { return target.Count("-41") == 1; })) << target.Joined();
        Settle(1500); // long enough for a started program to write its log
        EXPECT_EQ(TestFolder::ReadFile(dir() + "ran.exe.log"), "");
    }
    MachineValue registered(key, nullptr, command("winamp.exe"), KEY_WOW64_64KEY);
    ASSERT_TRUE(registered.ok);
    Event(0xF000, 25);
    EXPECT_TRUE(PumpUntil([&] {
        return TestFolder::ReadFile(dir() + "winamp.exe.log").find("started") != std::string::npos;
    }));
    EXPECT_EQ(TestFolder::ReadFile(dir() + "ran.exe.log"), "");
}

TEST_F(ActionsTest, ARunProgramButtonOpensItsPath) {
    ButtonView b = Button(7);
    b.Set(btn::FunctionType, uint8_t(fn::RunProgram));
    b.Set(btn::ProgramPath, dir() + "ran.exe");
    Share();
    Event(0x6000, 7);
    EXPECT_TRUE(PumpUntil([&] {
        return TestFolder::ReadFile(dir() + "ran.exe.log").find("started") != std::string::npos;
    }));
}

// The display program on its own: notices from config.ini and the shared
// block, shown top-most and click-through, hidden again after a while.
TEST(OsdProgram, ShowsEachNoticeOverTheDesktopAndEndsOnClose) {
    TestFolder folder;
    const std::string dir = folder.path();
    ASSERT_TRUE(test::CopyFromBuildFolder("OSD.exe", dir));
    TestFolder::WriteFile(
        dir + "config.ini",
        "[OSDData]\r\nMessage=Hello from the mouse\r\n[MacroOSD]\r\nNumber=3\r\nMacroName=M\r\n");
    SharedBlock shared;
    ASSERT_TRUE(shared.Create());
    static SettingsBlock block;
    block.Reset();
    block.Profile(1).Set(prof::ProFileName, "Sniper profile with a long name");
    ASSERT_TRUE(shared.CopyOut(block));

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = "\"" + dir + "OSD.exe\"";
    ASSERT_TRUE(test::CreateTestProcess(line, dir.c_str(), si, pi));
    ::CloseHandle(pi.hThread);
    HWND osd = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        return (osd = ::FindWindowA(nullptr, "Orvex_Gaming_Mouse_Normal_OSD")) != nullptr;
    }));
    const LONG_PTR ex = ::GetWindowLongPtrA(osd, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_TRANSPARENT) << "clicks pass through";
    EXPECT_EQ(::SendMessageA(osd, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    EXPECT_FALSE(::IsWindowVisible(osd));

    auto widthAfter = [&](WPARAM what, LPARAM lp) {
        ::PostMessageA(osd, 1324, what, lp);
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(osd) != FALSE; })) << what;
        Settle(300);
        RECT r{};
        ::GetWindowRect(osd, &r);
        return r.right - r.left;
    };
    const int text = widthAfter(50, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(osd); }))
        << "the notice goes away by itself";
    const int macro = widthAfter(70, 0);
    const int named = widthAfter(40, LPARAM(1) << 16);
    const int fallback = widthAfter(40, LPARAM(3) << 16); // no name: "Profile 4"
    EXPECT_GT(named, text) << "the profile's own name, longer than the message";
    EXPECT_GT(text, fallback);
    EXPECT_GT(fallback, macro) << "\"Profile 4\" is wider than \"M\"";

    // Placement from 1326: left in the high half, top in the low half.
    ::PostMessageA(osd, 1326, 0, LPARAM((40 << 16) | 30));
    widthAfter(50, 0);
    RECT r{};
    ::GetWindowRect(osd, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);

    ::PostMessageA(osd, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    ::CloseHandle(pi.hProcess);
}

} // namespace
} // namespace gm::test
