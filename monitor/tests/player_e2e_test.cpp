// The media player functions end to end: what the players that are not
// reached by WM_COMMAND receive, and where the monitor finds a player's
// program in the registry.
#include "monitor/tests/actions_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

namespace gm::test {
namespace {

constexpr const char* kMediaPlayerKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe";
constexpr const char* kITunesKey = "SOFTWARE\\Apple Computer, Inc.\\iPod\\RegisteredApps\\4";
constexpr const char* kWinampKey = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";
constexpr REGSAM kView64 = KEY_WOW64_64KEY, kView32 = KEY_WOW64_32KEY;

class PlayerTest : public ActionsTest {
  protected:
    void Choose(int player) {
        block.Profile(block.CurrentProfile()).Set(prof::MediaOption, player);
        Share();
    }
    // A program that only leaves "started" in "<name>.log" beside it.
    void StandIn(const std::string& name) {
        ASSERT_TRUE(::CopyFileA((BuildDir() + "standin_window.exe").c_str(), (dir() + name).c_str(),
                                FALSE));
    }
};

TEST_F(PlayerTest, ITunesGetsCtrlArrowsAndSpaceInItsOwnWindowOnly) {
    Choose(1);
    // The player's class under another title is not the player.
    Recorder other("iTunes", WS_POPUP, 0, 0, 10, 10, nullptr, "iTunes Mini Player");
    Event(0xF000, 28);
    Settle(800);
    EXPECT_EQ(other.Joined(), "");

    Recorder player("iTunes", WS_POPUP, 0, 0, 10, 10, nullptr, "iTunes");
    player.keyParams = true;
    for (unsigned code : {27u, 26u, 28u, 29u})
        Event(0xF000, code);
    ASSERT_TRUE(PumpUntil([&] { return player.got.size() >= 12; })) << player.Joined();
    Settle(300);
    EXPECT_EQ(player.Joined(), "+11@001D0001 +27@014D0001 -27@C14D0001 -11@C01D0001 "
                               "+11@001D0001 +25@014B0001 -25@C14B0001 -11@C01D0001 "
                               "+20@00390001 -20@C0390001 +20@00390001 -20@C0390001")
        << "next, previous, play/pause, stop";
    EXPECT_EQ(other.Joined(), "");
}

TEST_F(PlayerTest, MediaPlayerCommandsGoOutAsTheSystemsMediaKeys) {
    Choose(0);
    // The shell's view of the desktop: a hook that sees every application
    // command no window took, in whatever program it was raised.
    HMODULE dll = ::LoadLibraryA((BuildDir() + "appcommand_hook.dll").c_str());
    ASSERT_NE(dll, nullptr);
    auto proc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(dll, "ShellProc")));
    ASSERT_NE(proc, nullptr);
    HHOOK hook = ::SetWindowsHookExA(WH_SHELL, proc, dll, 0);
    ASSERT_NE(hook, nullptr);
    Recorder sink("GmAppCommandSink", WS_POPUP, 0, 0, 10, 10);

    for (unsigned code : {27u, 26u, 28u, 29u})
        Event(0xF000, code);
    const bool seen = PumpUntil([&] { return sink.got.size() >= 4; });
    Settle(300);
    ::UnhookWindowsHookEx(hook);
    ::FreeLibrary(dll);
    ASSERT_TRUE(seen) << sink.Joined();
    auto command = [](int n) { return "U" + std::to_string(WM_APP + n); };
    EXPECT_EQ(sink.Joined(), command(APPCOMMAND_MEDIA_NEXTTRACK) + " " +
                                 command(APPCOMMAND_MEDIA_PREVIOUSTRACK) + " " +
                                 command(APPCOMMAND_MEDIA_PLAY_PAUSE) + " " +
                                 command(APPCOMMAND_MEDIA_STOP));
}

TEST_F(PlayerTest, StartBringsAnOpenMediaPlayerToTheFrontOrRunsTheRegisteredOne) {
    StandIn("wmplayer.exe");
    // The registered path names the install folder through an environment string.
    MachineValue entry(kMediaPlayerKey, nullptr, "%GM_TEST_FOLDER%wmplayer.exe", kView64,
                       REG_EXPAND_SZ);
    ASSERT_TRUE(entry.ok);
    Choose(0);
    {
        Recorder player("GmPlayerWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 300, 200,
                        nullptr, "Windows Media Player");
        Recorder focus("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        focus.TakeFocus();
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == focus.hwnd; }));
        Event(0xF000, 25);
        EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == player.hwnd; }))
            << "the open player comes to the front";
        Settle(1000);
        EXPECT_FALSE(Started("wmplayer.exe")) << "and is not started again";
    }
    Event(0xF000, 25);
    EXPECT_TRUE(PumpUntil([&] { return Started("wmplayer.exe"); }))
        << "no player window: the registered program runs";
}

TEST_F(PlayerTest, AnOpenMediaPlayerComesToTheFrontEvenWithoutItsRegistryEntry) {
    for (REGSAM view : {kView64, kView32})
        ASSERT_FALSE(MachineKeyExists(kMediaPlayerKey, view));
    Choose(0);
    Recorder player("GmPlayerWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 300, 200, nullptr,
                    "Windows Media Player");
    Recorder focus("GmFocus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    focus.TakeFocus();
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == focus.hwnd; }));
    Event(0xF000, 25);
    EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == player.hwnd; }));
}

TEST_F(PlayerTest, APlayerRegisteredFor32BitProgramsOnlyIsFoundThere) {
    StandIn("iTunes.exe");
    ASSERT_FALSE(MachineKeyExists(kITunesKey, kView64));
    MachineValue entry(kITunesKey, "path", dir() + "iTunes.exe", kView32);
    ASSERT_TRUE(entry.ok);
    ASSERT_TRUE(MachineKeyExists(kITunesKey, kView32));
    ASSERT_FALSE(MachineKeyExists(kITunesKey, kView64)) << "the 32-bit view is a view of its own";
    Choose(1);
    Event(0xF000, 25);
    EXPECT_TRUE(PumpUntil([&] { return Started("iTunes.exe"); }));
}

TEST_F(PlayerTest, AMissingEntryStartsNothingAndCreatesNoKey) {
    for (REGSAM view : {kView64, kView32})
        for (const char* key : {kITunesKey, kWinampKey})
            ASSERT_FALSE(MachineKeyExists(key, view)) << key;
    // Stand-ins where a mistaken look-up might find something to run.
    StandIn("iTunes.exe");
    StandIn("winamp.exe");
    for (int player : {1, 3}) {
        Choose(player);
        Event(0xF000, 25);
    }
    // Both looked before the other player's value below exists.
    AwaitEvents();
    // The value of another player is not taken for the chosen one.
    MachineValue other(kWinampKey, nullptr, "\"" + dir() + "winamp.exe\" \"%1\"", kView64);
    ASSERT_TRUE(other.ok);
    Choose(1);
    Event(0xF000, 25);
    Settle(1500);
    EXPECT_FALSE(Started("iTunes.exe"));
    EXPECT_FALSE(Started("winamp.exe"));
    for (REGSAM view : {kView64, kView32})
        EXPECT_FALSE(MachineKeyExists(kITunesKey, view)) << "looked up read-only, never created";
}

TEST_F(PlayerTest, APlayerThatStopsAnsweringDoesNotStopTheMonitor) {
    Choose(3);
    // The player's window lives on a thread that stops taking messages.
    HANDLE created = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE wake = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        Recorder winamp("Winamp v1.x", WS_POPUP, 0, 0, 10, 10);
        ::SetEvent(created);
        ::WaitForSingleObject(wake, INFINITE);
    });
    ASSERT_EQ(::WaitForSingleObject(created, 10000), WAIT_OBJECT_0);
    Recorder plain("GmPlainScroll", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VISIBLE, 100, 100, 300,
                   200);
    plain.TakeFocus();
    for (unsigned code : {27u, 28u, 29u})
        Event(0xF000, code);
    Event(0x1000, 255);
    EXPECT_TRUE(PumpUntil([&] { return !plain.got.empty(); }))
        << "the events after the player's commands are handled";
    ::SetEvent(wake);
    hung.join();
    ::CloseHandle(created);
    ::CloseHandle(wake);
}

} // namespace
} // namespace gm::test
