// The real Monitor.exe against the virtual mouse, with a window named
// "Brennick" standing in for the configuration dialog and stand-in programs
// for the display program and the applets.
#include "monitor/tests/monitor_fixture.h"
#include "shared/tests/message_pump.h"
#include "shared/osd_settings.h"
#include "shared/private_profile_win.h"
#include "shared/profile_files_win.h"
#include "shared/shared_block_win.h"
#include "shared/tests/damage.h"
#include "shared/tests/sound_files.h"
#include "win/handles.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <vector>

namespace gm {
namespace {

TEST_F(MonitorTest, StartsWithTheMouseReadsBackAndEndsInOrder) {
    ASSERT_TRUE(mouse.Start());
    ASSERT_TRUE(mouse.Command("profile 2").first);
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ReadBackDone()) << "the dialog hears about the read-back";
    EXPECT_EQ(Config("Setting", "Device"), "1");
    EXPECT_TRUE(TrayIconShown());
    EXPECT_EQ(Config("Setting", "CurrentProfile"), "1")
        << "the mouse's active profile was read back and saved";
    EXPECT_TRUE(TestFolder::Exists(dir() + "config\\Default4.gmp"));
    auto log = Exchanges();
    EXPECT_TRUE(Has(log, "get ok 05")) << "report 5 read";
    EXPECT_TRUE(Has(log, "set ok 04 04 20")) << "button table of profile 5 selected";
    // The read-back ends with host attached (then its acknowledgement).
    ASSERT_TRUE(dialog.WaitFor([&] { return LastSet() == "set ok 0E 03 01"; })) << LastSet();
    EXPECT_TRUE(dialog.WaitFor(
        [&] { return StandInLog("Applets\\OSDMSN.exe").find("started") != std::string::npos; }));
    EXPECT_NE(StandInLog("OSD.exe").find("started"), std::string::npos);

    // The shared block holds what was read back.
    SharedBlock shared;
    SettingsBlock block;
    ASSERT_TRUE(OpenShared(shared, block));
    EXPECT_EQ(block.CurrentProfile(), 1);
    EXPECT_EQ(block.Profile(0).Get(prof::OTGSpeed), 10);

    // Shutdown: host detached, then the dialog and the other windows close.
    StopMonitor();
    const auto after = Exchanges();
    EXPECT_EQ(after.back().substr(0, 15), "get ok 04 01 00") << "the detach is acknowledged";
    EXPECT_TRUE(Has(after, "set ok 0E 03 00"));
    EXPECT_EQ(dialog.Count(WM_CLOSE), 1);
    EXPECT_NE(StandInLog("OSD.exe").find("16 0 0"), std::string::npos) << "WM_CLOSE to the display";
    EXPECT_NE(StandInLog("Applets\\CpuRam.exe").find("16 0 0"), std::string::npos);
    shared.Close();
    EXPECT_FALSE(shared.Open()) << "the shared memory is gone with the monitor";
}

TEST_F(MonitorTest, StartsWithoutTheMouseAndWithoutTheLibrary) {
    ASSERT_TRUE(Launch()); // the virtual mouse is not running
    ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") == "0"; }));
    EXPECT_TRUE(dialog.WaitFor([&] {
        return StandInLog("OSD.exe").find("started") != std::string::npos;
    })) << "applets start anyway";
    EXPECT_FALSE(TrayIconShown()) << "no mouse, no tray icon";
    StopMonitor();

    ::DeleteFileA((dir() + "hiddriver.dll").c_str());
    ASSERT_TRUE(mouse.Start());
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") == "0"; }));
    dialog.WaitFor([] { return false; }, 500);
    EXPECT_EQ(dialog.Count(1254), 0);
    EXPECT_TRUE(Exchanges().empty()) << "no library, no call to the mouse";

    // Without a library an arrival message, whoever sent it, is no mouse.
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1326, 1, 0);
    dialog.WaitFor([] { return false; }, 1000); // the arrival pause is 80 ms at this pacing
    EXPECT_EQ(Config("Setting", "Device"), "0");
    EXPECT_FALSE(TrayIconShown());
    EXPECT_EQ(dialog.Count(1254), 0);
}

TEST_F(MonitorTest, ALibraryWithAnEntryMissingIsNeverCalled) {
    ASSERT_TRUE(::CopyFileA((win_dir() + "partial_hiddriver.dll").c_str(),
                            (dir() + "hiddriver.dll").c_str(), FALSE));
    ASSERT_TRUE(mouse.Start());
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") == "0"; }));
    StopMonitor();
    EXPECT_FALSE(TestFolder::Exists(dir() + "hiddriver.dll.called"))
        << TestFolder::ReadFile(dir() + "hiddriver.dll.called");
}

TEST_F(MonitorTest, StartsWhileAnotherProgramStillHoldsTheBlockMutex) {
    // What a configuration program left open after a monitor died.
    win::unique_handle held(
        ::CreateMutexA(nullptr, FALSE, "Orvex_Gaming_Mouse_Normal_Mutex_Object"));
    ASSERT_TRUE(held);
    ASSERT_TRUE(mouse.Start());
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ReadBackDone()) << "the monitor runs and serves the shared block";
    SharedBlock shared;
    ASSERT_TRUE(shared.Open());
    SettingsBlock block;
    EXPECT_TRUE(shared.CopyIn(block));
}

TEST_F(MonitorTest, TheTrayOpensTheDialogOrTheProgramEndsTheMonitorAndComesBackWithTheTaskbar) {
    ASSERT_TRUE(StartedWithMouse());
    const HWND w = ::FindWindowA(nullptr, kMonitorWindow);
    ASSERT_TRUE(TrayIconShown());
    // Explorer restarted: the icon it held is gone until the taskbar is back.
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = w;
    nid.uID = 102;
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &nid));
    ASSERT_FALSE(TrayIconShown());
    ::PostMessageA(w, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(dialog.WaitFor([] { return TrayIconShown(); }));

    auto starts = [&] {
        const std::string log = StandInLog("Option.exe");
        int n = 0;
        for (std::size_t at = log.find("started"); at != std::string::npos;
             at = log.find("started", at + 1))
            ++n;
        return n;
    };
    // A double-click with the dialog open starts nothing. It is sent, not
    // posted: the dialog may only go once the monitor has handled the click,
    // and the open command after it then shows that it started nothing.
    DWORD_PTR result = 0;
    ASSERT_NE(::SendMessageTimeoutA(w, 1036, 102, WM_LBUTTONDBLCLK, SMTO_NORMAL, 10000, &result),
              0);
    ::DestroyWindow(dialog.hwnd);
    ::PostMessageA(w, WM_COMMAND, 6001, 0);
    ASSERT_TRUE(dialog.WaitFor([&] { return starts() >= 1; }));
    ::PostMessageA(w, 1036, 102, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(dialog.WaitFor([&] { return starts() == 2; })) << starts();

    // A right-click shows the menu; cancelled, it does nothing.
    HWND menu = nullptr;
    auto rightClick = [&] {
        ::PostMessageA(w, 1036, 102, WM_RBUTTONDOWN);
        return dialog.WaitFor(
            [&] { return (menu = ::FindWindowA("#32768", nullptr)) && ::IsWindowVisible(menu); });
    };
    ASSERT_TRUE(rightClick());
    ::PostMessageA(w, WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(dialog.WaitFor([&] { return !::IsWindowVisible(menu); }));
    EXPECT_EQ(::WaitForSingleObject(monitor_, 0), WAIT_TIMEOUT);
    // Its last item, Exit, ends the monitor, which tells the mouse the host is gone.
    ASSERT_TRUE(rightClick());
    ::PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(MonitorEnded());
    EXPECT_EQ(LastSet(), "set ok 0E 03 00");
}

TEST_F(MonitorTest, DamagedFilesStartItAndTheReadBackWritesSoundOnes) {
    SettingsBlock users;
    users.SetCurrentProfile(1);
    for (int p = 0; p < kProfileCount; ++p) {
        users.Profile(p).MakeDefault(p, LevelSet::Monitor);
        users.Profile(p).Set(prof::ProFileName, "Mine " + std::to_string(p + 1));
    }
    ASSERT_TRUE(mouse.Start());
    for (test::Damage d : test::kEveryDamage) {
        const std::string label = test::DamageName(d);
        ASSERT_TRUE(ProfileFiles(dir(), LevelSet::Monitor).SaveAll(users)) << label;
        std::vector<std::string> files = {"config.ini"};
        for (int p = 0; p < kProfileCount; ++p)
            files.push_back("config\\Default" + std::to_string(p) + ".gmp");
        for (const std::string& f : files)
            TestFolder::WriteFile(dir() + f, test::Damaged(TestFolder::ReadFile(dir() + f), d));
        // The tests' own pace survives the damage.
        TestFolder::WriteFile(dir() + "config.ini", TestFolder::ReadFile(dir() + "config.ini") +
                                                        "\r\n[Test]\r\nPacingPercent=1\r\n");
        dialog.got.clear();
        ASSERT_TRUE(Launch()) << label;
        ASSERT_TRUE(ReadBackDone()) << label;
        DWORD_PTR r = 0;
        EXPECT_TRUE(::SendMessageTimeoutA(::FindWindowA(nullptr, kMonitorWindow), WM_NULL, 0, 0,
                                          SMTO_ABORTIFHUNG, 2000, &r))
            << label;
        StopMonitor();
        for (int p = 0; p < kProfileCount; ++p)
            test::ExpectSoundProfileFile(dir() + "config\\Default" + std::to_string(p) + ".gmp",
                                         label);
    }
}

TEST_F(MonitorTest, ADamagedLibrarySettingsFileStartsItWithoutTheMouseAndItEndsCleanly) {
    const std::string ini = dir() + "hiddriver.ini";
    const std::string original = TestFolder::ReadFile(ini);
    for (test::Damage d : test::kEveryDamage) {
        const std::string label = test::DamageName(d);
        TestFolder::WriteFile(ini, test::Damaged(original, d));
        ASSERT_TRUE(Launch()) << label;
        ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") != "<missing>"; }))
            << label;
        DWORD_PTR r = 0;
        EXPECT_TRUE(::SendMessageTimeoutA(::FindWindowA(nullptr, kMonitorWindow), WM_NULL, 0, 0,
                                          SMTO_ABORTIFHUNG, 2000, &r))
            << label;
        HANDLE process = monitor_;
        if (HWND w = ::FindWindowA(nullptr, kMonitorWindow))
            ::PostMessageA(w, WM_CLOSE, 0, 0);
        ASSERT_TRUE(MonitorEnded()) << label;
        DWORD code = 1;
        ::GetExitCodeProcess(process, &code);
        EXPECT_EQ(code, 0u) << label;
        StopMonitor();
        ::DeleteFileA((dir() + "config.ini").c_str());
        TestFolder::WriteFile(dir() + "config.ini", "[Test]\r\nPacingPercent=1\r\n");
    }
}

TEST_F(MonitorTest, TheMouseCanAskForTheConfigurationProgram) {
    ASSERT_TRUE(mouse.Start());
    ASSERT_TRUE(Launch());
    // The monitor listens to the mouse once it has opened it.
    ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") == "1"; }));
    ::DestroyWindow(dialog.hwnd);
    ASSERT_TRUE(mouse.Command("event 0xA000 1").first);
    EXPECT_TRUE(dialog.WaitFor(
        [&] { return StandInLog("Option.exe").find("started") != std::string::npos; }));
}

TEST_F(MonitorTest, OneInstanceAndTheOpenRequestIsForwarded) {
    ASSERT_TRUE(Launch());
    ::DestroyWindow(dialog.hwnd); // no dialog: the request starts the configuration program
    HANDLE second = StartMonitor("1");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(::WaitForSingleObject(second, 30000), WAIT_OBJECT_0)
        << "the second monitor ends at once";
    ::CloseHandle(second);
    EXPECT_TRUE(dialog.WaitFor(
        [&] { return StandInLog("Option.exe").find("started") != std::string::npos; }));
}

TEST_F(MonitorTest, AppliesChangedSettingsWithTheirReports) {
    // The display's place, and profile notices off.
    PrivateProfileFile config(dir() + "config.ini");
    OsdSettingsRecord osd;
    osd.SetI32(32, 0x123);
    osd.SetI32(36, 0x456);
    ASSERT_TRUE(osd.Write(config));
    ASSERT_TRUE(StartedWithMouse());
    const std::size_t before = Exchanges().size();

    SharedBlock shared;
    SettingsBlock block;
    ASSERT_TRUE(OpenShared(shared, block));
    block.SetAllFlags(0);
    block.Profile(3).Set(prof::Sensitivity_X, 17);
    block.SetPerformanceChangeFlag(3, 1);
    block.Profile(0).Set(prof::OTGSpeed, 99);
    block.SetCurrentProfile(0);
    block.SetOTGChangeFlag(0, 1);
    ASSERT_TRUE(shared.CopyOut(block));
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1224, 0, 0);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1256) > 0; }));

    auto log = Exchanges();
    std::vector<std::string> sets;
    for (std::size_t i = before; i < log.size(); ++i)
        if (log[i].rfind("set", 0) == 0)
            sets.push_back(log[i].substr(0, 15));
    EXPECT_EQ(sets, (std::vector<std::string>{"set ok 06 25 03", "set ok 08 06 63"}))
        << "one performance record, then the OTG value";
    for (std::size_t i = before; i < log.size(); ++i) {
        if (log[i].rfind("set ok 06", 0) == 0) {
            EXPECT_EQ(log[i].substr(0, 18), "set ok 06 25 03 11") << "sensitivity 17";
        }
    }

    // Every apply reads the display record again and tells the display its place.
    const std::string place = "1326 0 " + std::to_string(0x123 << 16 | 0x456);
    EXPECT_TRUE(dialog.WaitFor([&] {
        return StandInLog("OSD.exe").find(place) != std::string::npos;
    })) << StandInLog("OSD.exe");
    osd.SetI32(32, 0x7);
    osd.SetI32(36, 0x8);
    ASSERT_TRUE(osd.Write(config));
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1224, 0, 0);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1256) > 1; }));
    EXPECT_TRUE(dialog.WaitFor([&] {
        return StandInLog("OSD.exe").find("1326 0 " + std::to_string(0x7 << 16 | 0x8)) !=
               std::string::npos;
    })) << StandInLog("OSD.exe");

    // With profile notices off, a profile the mouse chose shows nothing.
    ASSERT_TRUE(mouse.Command("profile 2").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1255) == 1; }));
    test::Settle(500);
    EXPECT_EQ(StandInLog("OSD.exe").find("1324 40"), std::string::npos) << StandInLog("OSD.exe");
}

TEST_F(MonitorTest, ApplyWithoutTheMouseEndsAtOnce) {
    ASSERT_TRUE(Launch());
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1224, 0, 0);
    EXPECT_TRUE(dialog.WaitFor([&] { return dialog.Count(1256) == 1; }));
}

TEST_F(MonitorTest, DeviceEventsChangeTheBlockAndTellTheDialog) {
    // Profile notices on: offset 8 of the display settings record.
    PrivateProfileFile config(dir() + "config.ini");
    uint8_t osd[348] = {};
    osd[8] = 1;
    ASSERT_TRUE(config.WriteStruct("OSDSetting", "config", osd, sizeof osd));
    ASSERT_TRUE(StartedWithMouse());

    ASSERT_TRUE(mouse.Command("profile 4").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1255) == 1 && dialog.Count(1257) == 1; }));
    EXPECT_EQ(Config("Setting", "CurrentProfile"), "3");
    EXPECT_EQ(Config("OSDData", "Message"), "Profile 4");
    ASSERT_TRUE(dialog.WaitFor(
        [&] { return StandInLog("OSD.exe").find("1324 50 0") != std::string::npos; }));
    EXPECT_NE(StandInLog("OSD.exe").find("1324 40 196608"), std::string::npos)
        << "profile notice for profile 4";

    ASSERT_TRUE(mouse.Command("event 0xB000 3").first);
    ASSERT_TRUE(mouse.Command("event 0xC000 0x0A05").first);
    ASSERT_TRUE(mouse.Command("event 0xD000 1").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1257) == 4; }));
    SharedBlock shared;
    SettingsBlock block;
    ASSERT_TRUE(OpenShared(shared, block));
    EXPECT_EQ(block.Profile(3).Get(prof::CpiStep), 2);
    EXPECT_EQ(block.Profile(3).Get(prof::Sensitivity_X), 5);
    EXPECT_EQ(block.Profile(3).Get(prof::Sensitivity_Y), 10);
    EXPECT_EQ(block.Profile(3).Get(prof::PollingRate), 0);

    // Out of range: nothing changes, nothing is posted.
    for (const char* raw : {"event 0x3000 6", "event 0xB000 8", "event 0xC000 0x1500",
                            "event 0xD000 5", "event 0x2000 1", "event 0x6000 0x0103"})
        ASSERT_TRUE(mouse.Command(raw).first) << raw;
    dialog.WaitFor([] { return false; }, 1500);
    EXPECT_EQ(dialog.Count(1257), 4);
    EXPECT_EQ(dialog.Count(1255), 1);
    EXPECT_EQ(Config("Setting", "CurrentProfile"), "3");
    SettingsBlock again;
    ASSERT_TRUE(shared.CopyIn(again));
    EXPECT_TRUE(again == block);
}

TEST_F(MonitorTest, UnplugClosesTheDialogAndPlugReadsBackAgain) {
    ASSERT_TRUE(StartedWithMouse());
    ASSERT_TRUE(mouse.Command("unplug").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(WM_CLOSE) == 1; }));
    EXPECT_EQ(Config("Setting", "Device"), "0");
    EXPECT_FALSE(TrayIconShown());
    ASSERT_TRUE(mouse.Command("plug").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1254) == 2; }))
        << "arrival reads everything back";
    EXPECT_EQ(Config("Setting", "Device"), "1");
    EXPECT_TRUE(TrayIconShown());
}

TEST_F(MonitorTest, RemovalDuringReadBackAbortsWithoutSaving) {
    // Slow enough pacing that the removal is seen while the job still runs.
    TestFolder::WriteFile(dir() + "config.ini", "[Test]\r\nPacingPercent=20\r\n");
    ASSERT_TRUE(mouse.Start());
    ASSERT_TRUE(mouse.Command("unplugafter 12").first); // in the middle of the performance records
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") == "0"; }));
    dialog.WaitFor([] { return false; }, 1500);
    EXPECT_EQ(dialog.Count(1254), 0);
    EXPECT_FALSE(TestFolder::Exists(dir() + "config\\Default0.gmp"))
        << "an aborted read-back is not saved";
}

TEST_F(MonitorTest,
       AMouseUnpluggedWhileAReportIsInFlightEndsTheReadBackUnsavedAndTheNextArrivalReadsAgain) {
    ASSERT_TRUE(StartedWithMouse());
    const std::string profileFile = dir() + "config\\Default0.gmp";
    const auto lastWrite = [&] {
        WIN32_FILE_ATTRIBUTE_DATA a{};
        ::GetFileAttributesExA(profileFile.c_str(), GetFileExInfoStandard, &a);
        return (uint64_t(a.ftLastWriteTime.dwHighDateTime) << 32) | a.ftLastWriteTime.dwLowDateTime;
    };
    const uint64_t savedAt = lastWrite();
    ASSERT_NE(savedAt, 0u);

    // A slow mouse: every answer comes 200 ms late, so the unplug below
    // lands while a button-table read is on its way.
    ASSERT_TRUE(mouse.Command("slow 200").first);
    ASSERT_TRUE(mouse.Command("unplug").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") == "0"; }));
    const std::size_t before = Exchanges().size();
    ASSERT_TRUE(mouse.Command("plug").first);
    ASSERT_TRUE(dialog.WaitFor(
        [&] {
            const auto log = Exchanges();
            return Has(std::vector<std::string>(log.begin() + long(before), log.end()),
                       "get ok 07");
        },
        40000))
        << "the read-back reaches the button tables";
    ASSERT_TRUE(mouse.Command("unplug").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") == "0"; }));

    // The job stops at its next step: the mouse hears nothing more, nothing
    // is saved or announced.
    std::size_t settled = 0;
    for (int i = 0; i < 40; ++i) {
        const std::size_t n = Exchanges().size();
        if (n == settled)
            break;
        settled = n;
        dialog.WaitFor([] { return false; }, 500);
    }
    EXPECT_EQ(dialog.Count(1254), 1);
    EXPECT_EQ(lastWrite(), savedAt) << "an aborted read-back saves nothing";
    const auto log = Exchanges();
    const std::vector<std::string> since(log.begin() + long(before), log.end());
    EXPECT_FALSE(Has(since, "get ok 08") || Has(since, "get fail 08"))
        << "no report after the button tables";

    // The abort ended with its job: the next arrival reads everything back.
    ASSERT_TRUE(mouse.Command("clearfaults").first);
    ASSERT_TRUE(mouse.Command("plug").first);
    EXPECT_TRUE(dialog.WaitFor([&] { return dialog.Count(1254) == 2; }, 40000));
}

TEST_F(MonitorTest, AnApplyDuringAReadBackIsTakenAfterItWhole) {
    // Slow enough pacing that the apply comes while the read-back runs.
    TestFolder::WriteFile(dir() + "config.ini", "[Test]\r\nPacingPercent=20\r\n");
    ASSERT_TRUE(StartedWithMouse());
    SharedBlock shared;
    SettingsBlock edited;
    ASSERT_TRUE(OpenShared(shared, edited));
    edited.SetAllFlags(0);
    for (int p = 0; p < kProfileCount; ++p) {
        edited.Profile(p).Set(prof::Sensitivity_X, 17 + p);
        edited.SetPerformanceChangeFlag(p, 1);
    }

    // Plugging the mouse in again reads everything back once its pause is
    // over; the configuration program applies right then.
    ASSERT_TRUE(mouse.Command("unplug").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") == "0"; }));
    const std::size_t before = Exchanges().size();
    ASSERT_TRUE(mouse.Command("plug").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return Config("Setting", "Device") == "1"; }, 20000));
    ASSERT_TRUE(shared.CopyOut(edited));
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1224, 0, 0);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1256) == 1; }, 30000));

    // The read-back ran whole first (every performance record read), then
    // the apply sent every profile as edited.
    const auto log = Exchanges();
    std::size_t lastRead = 0, firstSet = log.size();
    for (std::size_t i = before; i < log.size(); ++i) {
        if (log[i].rfind("get ok 06", 0) == 0)
            lastRead = i;
        if (log[i].rfind("set ok 06 25", 0) == 0 && firstSet == log.size())
            firstSet = i;
    }
    EXPECT_LT(lastRead, firstSet) << "the apply waited for the read-back";
    for (int p = 0; p < kProfileCount; ++p) {
        char start[32];
        std::snprintf(start, sizeof start, "set ok 06 25 %02x %02x", p, 17 + p);
        EXPECT_TRUE(Has(std::vector<std::string>(log.begin() + long(before), log.end()), start))
            << start;
    }
    // The shared block and the files hold the edit, not the mouse's old values.
    SettingsBlock now;
    ASSERT_TRUE(shared.CopyIn(now));
    SettingsBlock saved;
    saved.Reset();
    ProfileFiles(dir(), LevelSet::Monitor).LoadAll(saved);
    for (int p = 0; p < kProfileCount; ++p) {
        EXPECT_EQ(now.Profile(p).Get(prof::Sensitivity_X), 17 + p) << "profile " << p;
        EXPECT_EQ(saved.Profile(p).Get(prof::Sensitivity_X), 17 + p) << "profile " << p;
    }
}

TEST_F(MonitorTest, OnlyACopyOf151BytesCarriesANoticeText) {
    ASSERT_TRUE(StartedWithMouse());
    const HWND monitor = ::FindWindowA(nullptr, kMonitorWindow);
    const auto send = [&](std::string bytes) {
        COPYDATASTRUCT data{0, DWORD(bytes.size()), bytes.data()};
        DWORD_PTR result = 0;
        EXPECT_TRUE(::SendMessageTimeoutA(monitor, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                          SMTO_ABORTIFHUNG, 5000, &result));
        EXPECT_EQ(result, 1u) << bytes.size() << " bytes";
    };
    const auto padded = [](const std::string& text, std::size_t size) {
        std::string bytes(size, '\0');
        bytes.replace(1, text.size(), text);
        return bytes;
    };
    send(padded("short", 150));
    send(padded("long", 152));
    EXPECT_EQ(Config("OSDData", "Message"), "<missing>") << "other sizes are ignored";
    send(padded("Hello", 151));
    EXPECT_EQ(Config("OSDData", "Message"), "Hello");
    // A text that fills all 150 bytes without its end is cut there.
    send(std::string(1, '\0') + std::string(150, 'x'));
    EXPECT_EQ(Config("OSDData", "Message"), std::string(150, 'x'));
}

TEST_F(MonitorTest, GamesInTheForegroundSelectTheirProfilesAndOtherProgramsChangeNothing) {
    ASSERT_TRUE(StartedWithMouse());
    SharedBlock shared;
    SettingsBlock block;
    ASSERT_TRUE(OpenShared(shared, block));
    block.Profile(2).Set(prof::GameFile, "D:\\Games\\GAME.EXE");
    block.Profile(4).Set(prof::GameFile, "  C:\\Other Games\\game2.exe ");
    ASSERT_TRUE(shared.CopyOut(block));
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1226, 0, 0); // take the shared block
    const std::size_t before = Exchanges().size();
    // The profiles report 5 chose since `before`, in order.
    const auto chosen = [&] {
        std::string profiles;
        auto log = Exchanges();
        for (std::size_t i = before; i < log.size(); ++i)
            if (log[i].rfind("set ok 05 03 0", 0) == 0)
                profiles += log[i].substr(14, 1);
        return profiles;
    };
    std::vector<HANDLE> programs;
    const auto start = [&](const char* file, const char* title) {
        EXPECT_TRUE(
            ::CopyFileA((win_dir() + "standin_window.exe").c_str(), (dir() + file).c_str(), FALSE));
        programs.push_back(StartProgram(file));
        EXPECT_NE(programs.back(), nullptr);
        EXPECT_TRUE(dialog.WaitFor([&] {
            const HWND w = ::FindWindowA(nullptr, title);
            return w && ::GetForegroundWindow() == w;
        })) << title
            << " comes to the front";
    };

    start("game.exe", "A game");
    EXPECT_TRUE(dialog.WaitFor([&] { return dialog.Count(1255) == 1; }))
        << "the game's profile is chosen";
    EXPECT_TRUE(dialog.WaitFor([&] { return chosen() == "2"; })) << "and sent to the mouse";
    ASSERT_TRUE(shared.CopyIn(block));
    EXPECT_EQ(block.CurrentProfile(), 2);

    // A program that is no game leaves the profile alone; the next game,
    // named with other folders, spaces and case, takes its own.
    start("other.exe", "Another program");
    start("game2.exe", "Another game");
    EXPECT_TRUE(dialog.WaitFor([&] { return chosen() == "24"; })) << chosen();
    EXPECT_TRUE(dialog.WaitFor([&] { return dialog.Count(1255) == 2; })) << dialog.Count(1255);
    ASSERT_TRUE(shared.CopyIn(block));
    EXPECT_EQ(block.CurrentProfile(), 4);

    for (const char* title : {"A game", "Another program", "Another game"})
        ::PostMessageA(::FindWindowA(nullptr, title), WM_CLOSE, 0, 0);
    for (HANDLE h : programs) {
        ::WaitForSingleObject(h, 10000);
        ::CloseHandle(h);
    }
}

TEST_F(MonitorTest, WindowsMouseValuesReachTheSystem) {
    ASSERT_TRUE(StartedWithMouse());
    SharedBlock shared;
    SettingsBlock block;
    ASSERT_TRUE(OpenShared(shared, block));
    const int p = block.CurrentProfile();
    ASSERT_TRUE(SettingsBlock::IsProfileIndex(p));
    block.Profile(p).Set(prof::MouseSpeed, 15);
    block.Profile(p).Set(prof::DbleClickSpeed, 640);
    block.Profile(p).Set(prof::ScrollWheelFlag, 1);
    block.Profile(p).Set(prof::AccelerationFlag, 0);
    // A leftover acceleration row in the registry is reset when acceleration is off.
    HKEY mouseKey;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Mouse", 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &mouseKey, nullptr),
              ERROR_SUCCESS);
    for (auto [name, value] :
         {std::pair{"MouseSpeed", "1"}, {"MouseThreshold1", "6"}, {"MouseThreshold2", "0"}})
        ::RegSetValueExA(mouseKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), 2);
    block.Profile(p).Set(prof::Orientation, 1);
    ASSERT_TRUE(shared.CopyOut(block));
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1227, 0, 0);
    ASSERT_TRUE(::CopyFileA((win_dir() + "standin_window.exe").c_str(),
                            (dir() + "spiprobe.exe").c_str(), FALSE));
    // Wine keeps pointer speed, acceleration and wheel lines set without
    // SPIF_UPDATEINIFILE inside the process that set them, so another
    // process sees only the double-click time and the button swap.
    std::string seen;
    EXPECT_TRUE(dialog.WaitFor([&] {
        seen = Probe();
        return seen.find("swapped 1 doubleclick 640") != std::string::npos;
    })) << seen;
    char text[16] = {};
    DWORD size = sizeof text;
    ::RegQueryValueExA(mouseKey, "MouseThreshold1", nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                       &size);
    EXPECT_STREQ(text, "0");
    ::RegCloseKey(mouseKey);

    // Leave the desktop as other tests expect it: buttons not swapped.
    block.Profile(p).Set(prof::Orientation, 0);
    block.Profile(p).Set(prof::MouseSpeed, 10);
    block.Profile(p).Set(prof::DbleClickSpeed, 500);
    block.Profile(p).Set(prof::ScrollWheelFlag, 0);
    ASSERT_TRUE(shared.CopyOut(block));
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1227, 0, 0);
    EXPECT_TRUE(dialog.WaitFor(
        [&] { return Probe().find("swapped 0 doubleclick 500") != std::string::npos; }));
}

} // namespace
} // namespace gm
