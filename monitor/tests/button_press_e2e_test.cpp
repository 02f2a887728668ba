// The whole path from a button of the virtual mouse: an apply puts the
// functions into the mouse's button table, a press of the button makes the
// mouse report its event, and the monitor carries out the function.
#include "monitor/tests/actions_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace gm::test {
namespace {

TEST_F(ActionsTest, MouseButtonsTypeKeysShortcutsAndMacros) {
    Recorder target("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    target.TakeFocus();
    ButtonView key = Button(5);
    key.Set(btn::FunctionType, uint8_t(fn::Key));
    key.Set(btn::KeyUsage, 0x04);                                         // A
    key.Set(btn::KeyModifiers, 0x02);                                     // Shift
    Button(6).Set(btn::FunctionType, uint8_t(fn::CtrlShortcutFirst + 1)); // Ctrl+C
    SetMacro(4, {{0x05, P, 5}, {0x05, R, 5}}, 2);                         // B, twice
    ApplyButtons({4, 5, 6});

    Mouse("press 5");
    ASSERT_TRUE(PumpUntil([&] { return target.Count("+41") == 1; })) << target.Joined();
    Mouse("release 5");
    ASSERT_TRUE(PumpUntil([&] { return target.Count("-10") == 1; })) << target.Joined();
    // Shift, A (repeated if the button was held over a second), then up in reverse.
    std::string keys = target.Joined();
    for (std::size_t at; (at = keys.find(" -41 +41")) != std::string::npos;)
        keys.erase(at, 8);
    EXPECT_EQ(keys, "+10 +41 -41 -10") << target.Joined();

    // A shortcut travels to the mouse as Ctrl and its key.
    target.got.clear();
    Mouse("click 6");
    EXPECT_TRUE(PumpUntil([&] { return target.Count("-11") == 1; }, 5000)) << target.Joined();
    Settle(200);
    EXPECT_EQ(target.Joined(), "+11 +43 -43 -11");

    target.got.clear();
    Mouse("click 4");
    ASSERT_TRUE(PumpUntil([&] { return target.Count("-42") == 2; })) << target.Joined();
    Settle(200);
    EXPECT_EQ(target.Joined(), "+42 -42 +42 -42");
}

TEST_F(ActionsTest, MouseButtonsTiltPlayAndRunPrograms) {
    ProfileView profile = block.Profile(block.CurrentProfile());
    profile.Set(prof::TiltSpeed, 2);
    profile.Set(prof::MediaOption, 3);
    Button(8).Set(btn::FunctionType, 28); // play/pause
    Button(9).Set(btn::FunctionType, uint8_t(fn::RunProgram));
    Button(9).Set(btn::ProgramPath, dir() + "ran.exe");
    Button(10).Set(btn::FunctionType, 31); // volume up
    Button(14).Set(btn::FunctionType, 9);  // Scroll left
    Button(15).Set(btn::FunctionType, 10); // Scroll right
    ApplyButtons({8, 9, 10, 14, 15});

    Recorder plain("GmPlainScroll", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VISIBLE, 100, 100, 300,
                   200);
    plain.TakeFocus();
    // Each button scrolls the way its name says: SB_LINELEFT (H0) for
    // "Scroll left", SB_LINERIGHT (H1) for "Scroll right", tilt speed times.
    Mouse("click 14");
    ASSERT_TRUE(PumpUntil([&] { return plain.got.size() >= 2; })) << plain.Joined();
    Settle(200);
    EXPECT_EQ(plain.Joined(), "H0 H0") << "Scroll left";
    plain.got.clear();
    Mouse("click 15");
    ASSERT_TRUE(PumpUntil([&] { return plain.got.size() >= 2; })) << plain.Joined();
    Settle(200);
    EXPECT_EQ(plain.Joined(), "H1 H1") << "Scroll right";

    Recorder winamp("Winamp v1.x", WS_POPUP, 0, 0, 10, 10);
    Mouse("click 8");
    Mouse("click 8");
    ASSERT_TRUE(PumpUntil([&] { return winamp.got.size() >= 2; })) << winamp.Joined();
    EXPECT_EQ(winamp.Joined(), "C40045 C40046");

    // Volume up repeats while the button is held, and stops with it.
    plain.got.clear();
    Mouse("press 10");
    ASSERT_TRUE(PumpUntil([&] { return plain.Count("+AF") >= 3; })) << plain.Joined();
    Mouse("release 10");
    Settle(300);
    const int held = plain.Count("+AF");
    Settle(1000);
    EXPECT_EQ(plain.Count("+AF"), held) << plain.Joined();
    EXPECT_EQ(plain.Count("-AF"), held);

    Mouse("click 9");
    EXPECT_TRUE(PumpUntil([&] { return Started("ran.exe"); }));
}

} // namespace
} // namespace gm::test

namespace gm::test {
namespace {

// The pause an arrived mouse is given before it is opened, at half the real
// pacing: 4 s, during which the monitor goes on handling everything else.
class ArrivalTest : public ActionsTest {
  protected:
    void BeforeStart() override {
        TestFolder::WriteFile(dir() + "config.ini", "[Test]\r\nPacingPercent=50\r\n");
    }
};

TEST_F(ArrivalTest, AKeyButtonDuringTheArrivalPauseActsAtOnceAndASecondArrivalDoesNothing) {
    Recorder target("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    ButtonView key = Button(5);
    key.Set(btn::FunctionType, uint8_t(fn::Key));
    key.Set(btn::KeyUsage, 0x04); // A
    key.Set(btn::KeyModifiers, 0);
    ApplyButtons({5});
    target.TakeFocus();

    Mouse("unplug");
    ASSERT_TRUE(PumpUntil([&] { return Config("Setting", "Device") == "0"; }));
    // The removal closed the dialog; a new one hears of the read-back.
    Recorder dialog("GmDialogStandIn", WS_POPUP, 0, 0, 10, 10, nullptr, "Brennick");
    Mouse("plug");
    // A second arrival inside the pause changes nothing.
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1326, 1, 0);
    Mouse("press 5");
    ASSERT_TRUE(PumpUntil([&] { return target.Count("+41") >= 1; }, 10000)) << target.Joined();
    EXPECT_EQ(Config("Setting", "Device"), "0") << "the key came only after the pause";
    Mouse("release 5");
    ASSERT_TRUE(PumpUntil([&] { return target.Count("-41") >= 1; })) << target.Joined();
    EXPECT_EQ(dialog.Count("U1254"), 0);

    // After the pause: one read-back, the mouse present again.
    ASSERT_TRUE(PumpUntil([&] { return dialog.Count("U1254") == 1; })) << dialog.Joined();
    EXPECT_EQ(Config("Setting", "Device"), "1");
    Settle(3000);
    EXPECT_EQ(dialog.Count("U1254"), 1) << "the second arrival read nothing back";
}

} // namespace
} // namespace gm::test
