// The real Option.exe, driven as a user would, against a stand-in monitor
// (a window of the monitor's name and the shared block it creates) or the
// real Monitor.exe with the virtual mouse.
#include "emulator/tests/emulator_process.h"
#include "option/main_dialog_win.h"
#include "option/macros/macro_list.h"
#include "option/tests/macro_builder.h"
#include "monitor/device_reports.h"
#include "option/tests/option_driver.h"
#include "option/tests/option_fixtures.h"
#include "skin/control_record.h"
#include "skin/picture_win.h"
#include "shared/private_profile_win.h"
#include "shared/profile_files_win.h"
#include "shared/shared_block_win.h"
#include "shared/struct_codec.h"
#include "win/handles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <vector>

namespace gm {
namespace {

using namespace test;

TEST_F(OptionWithMonitorTest, OpensOnTheSharedBlockAndWaitsForTheMonitorsAnswer) {
    MonitorStandIn pop3("Orvex Gaming Mouse Pop3"), cpu("Orvex Gaming Mouse CPU RAM OSD"),
        skype("Orvex Gaming Mouse OSD SKYPE"), msn("Orvex Gaming Mouse OSD MSN");
    ASSERT_TRUE(StartOption());
    EXPECT_EQ(Label(0), "Shared 1");
    EXPECT_EQ(Label(4), "Shared 5");
    EXPECT_TRUE(Enabled(kOk) && Enabled(kApply));

    ApplyAndWaitForNotice();
    EXPECT_EQ(monitor.got.back().wp, 0u) << "the user's apply has code 0";
    // Every applet hears of it too, with 0 and 0.
    for (MonitorStandIn* applet : {&pop3, &cpu, &skype, &msn}) {
        EXPECT_TRUE(PumpUntil([&] { return applet->Count(1224) == 1; }));
        if (applet->Count(1224) == 1) {
            EXPECT_EQ(applet->got[0].wp, 0u);
            EXPECT_EQ(applet->lps[0], 0);
        }
    }
    test::Settle(300);
    EXPECT_FALSE(Enabled(kOk)) << "waiting for the monitor";
    EXPECT_FALSE(Enabled(kApply));
    Click(Button(kApply));
    test::Settle(300);
    EXPECT_EQ(monitor.Count(1224), 1) << "a disabled Apply does nothing";
    AnswerApply();
    EXPECT_TRUE(PumpUntil([&] { return Enabled(kOk) && Enabled(kApply); }));

    // Close while waiting: the capture goes and the program ends.
    ApplyAndWaitForNotice();
    EXPECT_FALSE(Enabled(kApply));
    Click(Button(kClose));
    EXPECT_TRUE(ClosedAndEnded());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(OptionWithMonitorTest, DetectsChangesAgainstWhatWasApplied) {
    ASSERT_TRUE(StartOption());
    ApplyAndWaitForNotice();
    SettingsBlock b = monitor.Block();
    for (int p = 0; p < kProfileCount; ++p) {
        EXPECT_EQ(b.PerformanceChangeFlag(p), 0) << p;
        EXPECT_EQ(b.OTGChangeFlag(p), 0) << p;
    }
    EXPECT_EQ(b.CurrentProfileChangeFlag(), 0);
    AnswerApply();
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kApply); }));

    Click(Button(kSelector1 + 3));
    ApplyAndWaitForNotice();
    b = monitor.Block();
    EXPECT_EQ(b.CurrentProfile(), 3);
    EXPECT_EQ(b.CurrentProfileChangeFlag(), 1);
    EXPECT_EQ(b.PerformanceChangeFlag(3), 0);
    EXPECT_EQ(ProfileKey(3, "ProFileName"), "Shared 4") << "the files are written on apply";
    EXPECT_EQ(Config("Setting", "CurrentProfile"), "3");
}

TEST_F(OptionWithMonitorTest, ImportSetsEveryButtonFlagAndAnOrientationAloneNoPerformanceFlag) {
    ASSERT_TRUE(StartOption());
    // The current profile as a file, differing in orientation only.
    SettingsBlock shown = monitor.Block();
    ProfileView edited = shown.Profile(0);
    edited.Set(prof::Orientation, edited.Get(prof::Orientation) + 5);
    const std::string file = dir() + "turned.gmp";
    ASSERT_TRUE(ProfileFiles::SaveProfile(edited, file));

    Click(Button(kImport));
    ASSERT_TRUE(test::ChooseFile(main_, file));
    ASSERT_TRUE(PumpUntil([&] { return monitor.Count(1224) == 1; })) << "an import applies";
    const SettingsBlock b = monitor.Block();
    for (int button = 0; button < kButtonCount; ++button)
        EXPECT_EQ(b.ButtonChangeFlag(0, button), 1) << button;
    EXPECT_EQ(b.ButtonChangeFlag(1, 0), 0) << "other profiles' buttons stay";
    EXPECT_EQ(b.PerformanceChangeFlag(0), 0) << "orientation travels without a flag";
    EXPECT_EQ(b.Profile(0).Get(prof::Orientation), edited.Get(prof::Orientation));
}

TEST_F(OptionWithMonitorTest, ImportOfAFileThatIsNoProfileChangesNothing) {
    ASSERT_TRUE(StartOption());
    const std::string file = dir() + "notes.gmp";
    TestFolder::WriteFile(file, "[Shopping]\r\nMilk=2\r\n");
    Click(Button(kImport));
    ASSERT_TRUE(test::ChooseFile(main_, file));
    test::Settle(500);
    EXPECT_EQ(monitor.Count(1224), 0);
    EXPECT_EQ(Label(0), "Shared 1");
    ApplyAndWaitForNotice();
    EXPECT_EQ(monitor.Block().Profile(0).Get(prof::Sensitivity_X), 10) << "not filled with -1";
    // Cancelling the file dialog does nothing either.
    AnswerApply();
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kImport); }));
    Click(Button(kImport));
    ASSERT_TRUE(test::CancelFileDialog(main_));
    test::Settle(300);
    EXPECT_EQ(monitor.Count(1224), 1);
}

TEST_F(OptionWithMonitorTest, ExportWritesTheEditedProfileWholeAndAppliesNothing) {
    ASSERT_TRUE(StartOption());
    Rename(kEdit, "Unapplied");
    EXPECT_EQ(Label(0), "Unapplied");
    const std::string file = dir() + "out.gmp";
    TestFolder::WriteFile(file, "[Old]\r\nStale=1\r\n[Setting]\r\nLeftOver=7\r\n");
    Click(Button(kExport));
    ASSERT_TRUE(test::ChooseFile(main_, file));
    ASSERT_TRUE(PumpUntil(
        [&] { return TestFolder::ReadFile(file).find("Unapplied") != std::string::npos; }));
    const std::string text = TestFolder::ReadFile(file);
    EXPECT_EQ(text.find("Stale"), std::string::npos) << "the old file is replaced whole";
    EXPECT_EQ(text.find("LeftOver"), std::string::npos);
    EXPECT_EQ(monitor.Block().Profile(0).Get(prof::ProFileName), "Shared 1")
        << "export applies nothing";
    EXPECT_EQ(monitor.Count(1224), 0);
}

TEST_F(OptionWithMonitorTest, ProfileChangedReplacesEditsDeviceValuesKeepThem) {
    ASSERT_TRUE(StartOption());
    // Unapplied edits: profile 3 selected and profile 3 renamed.
    Click(Button(kSelector1 + 2));
    Rename(kEdit, "Mine");

    // The device changed its sensitivity and more, then tells of values only.
    SettingsBlock device = monitor.Block();
    device.SetCurrentProfile(2);
    device.Profile(2).Set(prof::Sensitivity_X, 4);
    device.Profile(2).Set(prof::CpiStep, 3);
    device.Profile(2).Set(prof::PollingRate, 1);
    device.Profile(2).Set(prof::Orientation, 44);
    ASSERT_TRUE(monitor.shared.CopyOut(device));
    ::PostMessageA(main_, 1257, 0, 0);
    ApplyAndWaitForNotice();
    SettingsBlock b = monitor.Block();
    EXPECT_EQ(b.Profile(2).Get(prof::ProFileName), "Mine") << "edits stay";
    EXPECT_EQ(b.CurrentProfile(), 2);
    EXPECT_EQ(b.Profile(2).Get(prof::Sensitivity_X), 4) << "device-driven fields follow the device";
    EXPECT_EQ(b.Profile(2).Get(prof::CpiStep), 3);
    EXPECT_EQ(b.Profile(2).Get(prof::PollingRate), 1);
    EXPECT_NE(b.Profile(2).Get(prof::Orientation), 44) << "other fields keep the user's value";
    AnswerApply();
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kApply); }));

    // Now a profile change on the device: unapplied edits are dropped.
    Rename(kEdit, "Dropped");
    device = monitor.Block();
    device.SetCurrentProfile(4);
    ASSERT_TRUE(monitor.shared.CopyOut(device));
    ::PostMessageA(main_, 1255, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Label(2) == "Mine"; }));
    ApplyAndWaitForNotice();
    b = monitor.Block();
    EXPECT_EQ(b.CurrentProfile(), 4);
    EXPECT_EQ(b.Profile(2).Get(prof::ProFileName), "Mine");
    EXPECT_EQ(b.CurrentProfileChangeFlag(), 0) << "the device's own profile is not sent back";
}

TEST_F(OptionWithMonitorTest, DeviceValuesComeFromTheDevicesProfileIntoThatProfileOnly) {
    ASSERT_TRUE(StartOption());
    Click(Button(kSelector1 + 2)); // the user edits profile 3; the mouse is on profile 5
    SettingsBlock device = monitor.Block();
    device.SetCurrentProfile(4);
    for (int p : {2, 4}) {
        device.Profile(p).Set(prof::Sensitivity_X, 3 + p);
        device.Profile(p).Set(prof::Sensitivity_Y, 13 + p);
        device.Profile(p).Set(prof::CpiStep, p);
        device.Profile(p).Set(prof::PollingRate, p / 2);
    }
    ASSERT_TRUE(monitor.shared.CopyOut(device));
    ::PostMessageA(main_, 1257, 0, 0);
    ApplyAndWaitForNotice();
    const SettingsBlock b = monitor.Block();
    EXPECT_EQ(b.CurrentProfile(), 2) << "the user's choice of profile stays";
    EXPECT_EQ(b.Profile(4).Get(prof::Sensitivity_X), 7);
    EXPECT_EQ(b.Profile(4).Get(prof::Sensitivity_Y), 17);
    EXPECT_EQ(b.Profile(4).Get(prof::CpiStep), 4);
    EXPECT_EQ(b.Profile(4).Get(prof::PollingRate), 2);
    SettingsBlock fresh;
    fresh.Profile(2).MakeDefault(2, LevelSet::Monitor);
    for (I32Field f : {prof::Sensitivity_X, prof::Sensitivity_Y, prof::CpiStep, prof::PollingRate})
        EXPECT_EQ(b.Profile(2).Get(f), fresh.Profile(2).Get(f))
            << "the edited profile is not the device's: field at " << f.offset;
}

// The library (config\sequence.dat) as it is on disk now.
static MacroList StoredMacros(const std::string& dir) {
    MacroList list;
    ForgetCachedProfile(dir + "config\\sequence.dat");
    PrivateProfileFile store(dir + "config\\sequence.dat");
    list.Load(store);
    return list;
}

static void GiveMacro(ProfileView profile, int button, const MacroRecord& m) {
    CopyMacroToButton(m, profile.Button(button));
    profile.Button(button).Set(btn::FunctionType, fn::Macro);
}

TEST_F(OptionWithMonitorTest, MacrosTheButtonsCarryReachTheLibraryAtStartOnReadBackAndOnImport) {
    const MacroRecord a{Macro("Library", 1, {{4, 1, 10}, {4, 2, 0}})};
    const MacroRecord kept{Macro("Kept", 2, {{5, 1, 0}, {5, 2, 0}})};
    ::CreateDirectoryA((dir() + "config").c_str(), nullptr);
    {
        MacroList library;
        library.Append(a);
        library.Append(kept);
        PrivateProfileFile store(dir() + "config\\sequence.dat");
        library.Save(store);
    }
    // The mouse's buttons: "library" in a newer form, and one the library lacks.
    SettingsBlock device = monitor.Block();
    GiveMacro(device.Profile(0), 3, Macro("library", 3, {{6, 1, 20}, {6, 2, 0}, {7, 1, 0}}));
    GiveMacro(device.Profile(1), 5, Macro("NewOne", 1, {{8, 1, 0}, {8, 2, 0}}));
    ASSERT_TRUE(monitor.shared.CopyOut(device));

    ASSERT_TRUE(StartOption());
    MacroList stored;
    ASSERT_TRUE(PumpUntil([&] { return (stored = StoredMacros(dir())).size() == 3; }))
        << stored.size();
    EXPECT_EQ(stored.At(0)->Name(), "Library") << "the entry keeps its name";
    EXPECT_EQ(stored.At(0)->Count(), 3) << "and takes the button's events";
    EXPECT_EQ(stored.At(0)->Repeat(), 3);
    EXPECT_EQ(stored.At(0)->Event(0).keyCode, 6);
    EXPECT_EQ(stored.At(1)->Name(), "Kept");
    EXPECT_EQ(stored.At(2)->Name(), "NewOne");

    // A read-back: the dialog takes the mouse's block, unapplied edits go,
    // and the macros it carries join the library.
    Rename(kEdit, "Unapplied");
    device = monitor.Block();
    device.Profile(0).Set(prof::ProFileName, "Read back");
    GiveMacro(device.Profile(2), 6, Macro("FromMouse", 1, {{9, 1, 0}, {9, 2, 0}}));
    ASSERT_TRUE(monitor.shared.CopyOut(device));
    ::PostMessageA(main_, 1254, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return (stored = StoredMacros(dir())).size() == 4; }))
        << stored.size();
    EXPECT_EQ(stored.At(3)->Name(), "FromMouse");
    EXPECT_EQ(Label(0), "Read back");

    // An import brings the imported profile's macros; the apply that follows saves them.
    SettingsBlock file = monitor.Block();
    GiveMacro(file.Profile(0), 7, Macro("Imported", 1, {{10, 1, 0}, {10, 2, 0}}));
    const std::string path = dir() + "with macro.gmp";
    ASSERT_TRUE(ProfileFiles::SaveProfile(file.Profile(0), path));
    Click(Button(kImport));
    ASSERT_TRUE(test::ChooseFile(main_, path));
    ASSERT_TRUE(PumpUntil([&] { return monitor.Count(1224) == 1; }));
    ASSERT_TRUE(PumpUntil([&] { return (stored = StoredMacros(dir())).size() == 5; }))
        << stored.size();
    EXPECT_EQ(stored.At(4)->Name(), "Imported");
    EXPECT_EQ(monitor.Block().Profile(0).Button(7).Get(btn::MacroName), "Imported");
}

TEST_F(OptionWithMonitorTest, AMacroDeletedFromTheLibraryComesBackFromItsButtonAtTheNextStart) {
    SettingsBlock device = monitor.Block();
    GiveMacro(device.Profile(0), 3, Macro("Carried", 1, {{11, 1, 0}, {11, 2, 0}}));
    ASSERT_TRUE(monitor.shared.CopyOut(device));
    ASSERT_TRUE(StartOption());
    ASSERT_TRUE(PumpUntil([&] { return StoredMacros(dir()).size() == 1; }));

    // The manager, from the macro button's menu: delete its macro, then OK.
    const HWND page = ShownPage();
    ASSERT_TRUE(page);
    ChooseFunction(page, 3, 1049);
    HWND manager = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (manager = ::FindWindowA(nullptr, "Marbek Gaming Mouse Macro Manager")); }));
    const std::string ini = Skin("skin_macro_manager.ini");
    const HWND names = ::GetDlgItem(manager, 4096);
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageA(names, LB_GETCURSEL, 0, 0) == 0; }));
    Click(test::ControlAt(manager, ini, 5));
    HWND warning = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (warning = test::OwnedPopup(manager)) != nullptr; }));
    Click(test::ControlAt(warning, Skin("skin_delete_macro_warn.ini"), 1));
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageA(names, LB_GETCOUNT, 0, 0) == 0; }));
    Click(test::ControlAt(manager, ini, 1));
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(manager); }));
    ASSERT_TRUE(PumpUntil([&] { return StoredMacros(dir()).empty(); })) << "OK saves the library";

    // Closed without applying, and started again: the button still carries it.
    Click(Button(kClose));
    ASSERT_TRUE(ClosedAndEnded());
    ::CloseHandle(option_);
    option_ = nullptr;
    ASSERT_TRUE(StartOption());
    MacroList stored;
    ASSERT_TRUE(PumpUntil([&] { return (stored = StoredMacros(dir())).size() == 1; }));
    EXPECT_EQ(stored.At(0)->Name(), "Carried");
    EXPECT_EQ(stored.At(0)->Event(0).keyCode, 11);
}

TEST_F(OptionWithMonitorTest, AnExistingDisplayRecordIsKeptWholeAndWrittenBackOnApply) {
    unsigned char record[348];
    for (std::size_t i = 0; i < sizeof record; ++i)
        record[i] = static_cast<unsigned char>(i * 7 + 1);
    const std::string stored = EncodeStruct(record, sizeof record);
    TestFolder::WriteFile(dir() + "config.ini",
                          "[Setting]\r\nCurrentProfile=0\r\n[OSDSetting]\r\nconfig=" + stored +
                              "\r\n");
    ASSERT_TRUE(StartOption());
    // Another program changes the record meanwhile: the apply puts Option's copy back.
    ::WritePrivateProfileStringA("OSDSetting", "config", std::string(698, '0').c_str(),
                                 (dir() + "config.ini").c_str());
    ApplyAndWaitForNotice();
    EXPECT_EQ(Config("OSDSetting", "config"), stored);
}

TEST_F(OptionWithMonitorTest, CloseCancelAndTheMonitorsCloseApplyNothing) {
    for (int how : {int(kCancel), int(kClose), 0}) {
        ASSERT_TRUE(StartOption());
        Click(Button(kSelector1 + 3));
        Rename(kEdit, "Never");
        if (how)
            Click(Button(how));
        else
            ::PostMessageA(main_, WM_CLOSE, 0, 0);
        ASSERT_TRUE(ClosedAndEnded()) << how;
        ::CloseHandle(option_);
        option_ = nullptr;
        EXPECT_EQ(monitor.Count(1224), 0) << how;
        EXPECT_EQ(monitor.Block().CurrentProfile(), 0) << how;
        EXPECT_FALSE(TestFolder::Exists(dir() + "config\\Default3.gmp")) << how;
    }
}

TEST_F(OptionWithMonitorTest, OkAppliesThenCloses) {
    ASSERT_TRUE(StartOption());
    Click(Button(kSelector1 + 1));
    Click(Button(kOk));
    ASSERT_TRUE(PumpUntil([&] { return monitor.Count(1224) == 1; }));
    EXPECT_TRUE(ClosedAndEnded());
    EXPECT_EQ(monitor.Block().CurrentProfile(), 1);
}

TEST_F(OptionWithMonitorTest, TheDisplaySettingsRecordIsWrittenOnEveryApply) {
    ASSERT_TRUE(StartOption());
    ApplyAndWaitForNotice();
    EXPECT_EQ(Config("OSDSetting", "config"), std::string(698, '0'))
        << "348 zero bytes and their checksum";
}

TEST_F(OptionWithMonitorTest, ASmallerSectionOfTheSharedNameIsNeverMapped) {
    monitor.shared.Close();
    win::unique_handle foreign(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                                    0, 4096,
                                                    "Orvex_Gaming_Mouse_Normal_Share_Data"));
    ASSERT_TRUE(foreign);
    win::unique_view view(::MapViewOfFile(foreign.get(), FILE_MAP_ALL_ACCESS, 0, 0, 4096));
    std::memset(view.get(), 0x5A, 4096);
    TestFolder::WriteFile(dir() + "config.ini", "[Setting]\r\nCurrentProfile=1\r\n");

    option_ = test::StartProcess(dir(), "Option.exe");
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        main_ = ::FindWindowA(nullptr, "Brennick");
        box = main_ ? test::OwnedPopup(main_) : nullptr;
        return box != nullptr;
    }));
    HWND text = ::FindWindowExA(box, nullptr, "Static", "Could not map view of file.");
    EXPECT_TRUE(text) << "the user is told";
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(FoundMain()) << "start-up goes on from the files";
    EXPECT_EQ(Label(1), "Default2");
    Click(Button(kApply));
    ASSERT_TRUE(PumpUntil([&] { return monitor.Count(1224) == 1; }));
    const auto* bytes = static_cast<const unsigned char*>(view.get());
    int untouched = 0;
    for (int i = 0; i < 4096; ++i)
        untouched += bytes[i] == 0x5A;
    EXPECT_EQ(untouched, 4096) << "nothing written into the foreign section";
}

TEST_F(OptionWithMonitorTest, TheLightingResetRestoresEveryProfileAndTheDisplaySettings) {
    TestFolder::WriteFile(dir() + "config.ini", "[Setting]\r\nCurrentProfile=0\r\n");
    SettingsBlock edited = monitor.Block();
    edited.SetCurrentProfile(3);
    edited.Profile(2).Set(prof::Sensitivity_X, 3);
    ASSERT_TRUE(monitor.shared.CopyOut(edited));
    ASSERT_TRUE(StartOption());
    Click(Button(kTab1)); // lighting
    HWND page = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (HWND c = ::GetWindow(main_, GW_CHILD); c && !page; c = ::GetWindow(c, GW_HWNDNEXT))
            if (::IsWindowVisible(c) && test::ControlAt(c, Skin("skin_color_page.ini"), 26))
                page = c;
        return page != nullptr;
    }));
    Click(test::ControlAt(page, Skin("skin_color_page.ini"), 26));
    HWND warning = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (warning = test::OwnedPopup(main_)) != nullptr; }));
    Click(test::ControlAt(warning, Skin("skin_reset_warn.ini"), 1));
    ASSERT_TRUE(PumpUntil([&] { return monitor.Count(1224) == 1; }));
    EXPECT_EQ(monitor.got.back().wp, 1u) << "a reset applies with code 1";
    const SettingsBlock b = monitor.Block();
    EXPECT_EQ(b.CurrentProfile(), 0);
    EXPECT_EQ(b.CurrentProfileChangeFlag(), 1);
    for (int p = 0; p < kProfileCount; ++p) {
        EXPECT_EQ(b.PerformanceChangeFlag(p), 1) << p;
        EXPECT_EQ(b.OTGChangeFlag(p), 1) << p;
        for (int button = 0; button < kButtonCount; ++button)
            EXPECT_EQ(b.ButtonChangeFlag(p, button), 1) << p << "/" << button;
    }
    EXPECT_EQ(b.Profile(2).Get(prof::Sensitivity_X), 10);
    EXPECT_EQ(b.Profile(4).Get(prof::ProFileName), "Default5");
    // The display settings record, back to its defaults.
    unsigned char record[348];
    ASSERT_TRUE(DecodeStruct(Config("OSDSetting", "config"), record, sizeof record));
    int32_t at140 = 0, at344 = 0, others = 0;
    std::memcpy(&at140, record + 140, 4);
    std::memcpy(&at344, record + 344, 4);
    for (std::size_t off : {0u, 8u, 12u, 32u, 36u}) {
        int32_t v = 0;
        std::memcpy(&v, record + off, 4);
        others |= v;
    }
    EXPECT_EQ(at140, 110);
    EXPECT_EQ(at344, 5);
    EXPECT_EQ(others, 0);
    EXPECT_EQ(record[40], 0);
}

// ---- Without a monitor --------------------------------------------------------

TEST_F(OptionTest, WithoutAMonitorItWorksOnTheFilesAndApplyEndsAtOnce) {
    ::CreateDirectoryA((dir() + "config").c_str(), nullptr);
    TestFolder::WriteFile(dir() + "config.ini", "[Setting]\r\nCurrentProfile=1\r\n");
    TestFolder::WriteFile(dir() + "config\\Default1.gmp",
                          "[Setting]\r\nProFileName=From the file\r\n");
    ASSERT_TRUE(StartOption());
    EXPECT_EQ(Label(1), "From the file");
    EXPECT_EQ(Label(0), "Default1") << "missing files give the default profile";

    Click(Button(kSelector1 + 4));
    Click(Button(kApply));
    ASSERT_TRUE(PumpUntil([&] { return Config("Setting", "CurrentProfile") == "4"; }));
    EXPECT_TRUE(PumpUntil([&] { return Enabled(kApply) && Enabled(kOk); }, 5000))
        << "nobody to wait for";
    EXPECT_EQ(ProfileKey(1, "ProFileName"), "From the file");
    EXPECT_TRUE(TestFolder::Exists(dir() + "config\\sequence.dat"));
}

TEST_F(OptionTest, AStoredProfileNumberOutOfRangeEditsNoProfileUntilOneIsChosen) {
    for (const char* stored : {"9", "-1"}) {
        TestFolder::WriteFile(dir() + "config.ini",
                              std::string("[Setting]\r\nCurrentProfile=") + stored + "\r\n");
        ASSERT_TRUE(StartOption()) << stored;
        EXPECT_EQ(Label(4), "Default5") << stored;
        Click(Button(kEdit));
        test::Settle(500);
        EXPECT_EQ(test::OwnedPopup(main_), nullptr) << "no profile to rename: " << stored;
        // Once a profile is chosen it can be renamed, and Apply stores both.
        Click(Button(kSelector1 + 2));
        Rename(kEdit, std::string("Third ") + stored);
        Click(Button(kApply));
        EXPECT_TRUE(PumpUntil([&] {
            return Config("Setting", "CurrentProfile") == "2" &&
                   ProfileKey(2, "ProFileName") == "Third " + std::string(stored);
        })) << stored
            << ": current profile " << Config("Setting", "CurrentProfile") << ", profile 3 named "
            << ProfileKey(2, "ProFileName");
        ::PostMessageA(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(ClosedAndEnded()) << stored;
        ::CloseHandle(option_);
        option_ = nullptr;
    }
}

TEST_F(OptionTest, ASecondStartShowsNothing) {
    ASSERT_TRUE(StartOption());
    HANDLE second = test::StartProcess(dir(), "Option.exe");
    ASSERT_TRUE(second);
    EXPECT_TRUE(test::Ended(second, 15000));
    ::CloseHandle(second);
    int windows = 0;
    for (HWND w = ::FindWindowA(nullptr, "Brennick"); w;
         w = ::FindWindowExA(nullptr, w, nullptr, "Brennick"))
        ++windows;
    EXPECT_EQ(windows, 1);
}

TEST_F(OptionTest, ProfileDialogModesLimitsAndKeys) {
    TestFolder::WriteFile(dir() + "config.ini", "[Setting]\r\nCurrentProfile=0\r\n");
    ASSERT_TRUE(StartOption());
    // New (mode 1): empty fields even though the profile has a name.
    Click(Button(kNew));
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (dialog = test::OwnedPopup(main_)) != nullptr; }));
    const HWND name = test::ControlAt(dialog, Skin("skin_profile.ini"), 1);
    const HWND game = test::ControlAt(dialog, Skin("skin_profile.ini"), 2);
    ASSERT_TRUE(name && game);
    EXPECT_EQ(test::TextOf(name), "");
    test::Type(name, "123456789012345678901234");
    test::Type(game, std::string(600, 'g'));
    ::PostMessageA(name, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageA(name, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    // Every typed character handled (the edits refuse what does not fit).
    PumpUntil([&] { return test::TextOf(game).size() >= 501u; }, 20000);
    test::Settle(500);
    ASSERT_TRUE(::IsWindow(dialog)) << "Enter and Esc close nothing";
    EXPECT_EQ(test::TextOf(name), "12345678901234567890") << "20 characters at most";
    EXPECT_EQ(test::TextOf(game).size(), 501u) << "as much as the profile holds";
    // Centred on the main dialog.
    RECT d{}, m{};
    ::GetWindowRect(dialog, &d);
    ::GetWindowRect(main_, &m);
    EXPECT_NEAR((d.left + d.right) / 2, (m.left + m.right) / 2, 1);
    EXPECT_NEAR((d.top + d.bottom) / 2, (m.top + m.bottom) / 2, 1);
    Click(test::ControlAt(dialog, Skin("skin_profile.ini"), 5)); // Cancel
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }));
    EXPECT_EQ(Label(0), "Default1") << "Cancel keeps the record";

    // Edit (mode 0) starts with the texts; OK with both emptied stores empty texts.
    Click(Button(kEdit));
    ASSERT_TRUE(PumpUntil([&] { return (dialog = test::OwnedPopup(main_)) != nullptr; }));
    const HWND name0 = test::ControlAt(dialog, Skin("skin_profile.ini"), 1);
    EXPECT_EQ(test::TextOf(name0), "Default1");
    ::SendMessageA(name0, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    Click(test::ControlAt(dialog, Skin("skin_profile.ini"), 4));
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }));
    EXPECT_EQ(Label(0), "");
    Click(Button(kApply));
    ASSERT_TRUE(PumpUntil([&] { return ProfileKey(0, "ProFileName") == ""; }));
}

TEST_F(OptionTest, ProfileDialogOkStoresTheGameBrowseFillsItCancelAndCloseKeepTheRecord) {
    TestFolder::WriteFile(dir() + "config.ini", "[Setting]\r\nCurrentProfile=0\r\n");
    const std::string game = dir() + "shooter.exe";
    TestFolder::WriteFile(game, "MZ");
    ASSERT_TRUE(StartOption());
    HWND dialog = nullptr;
    auto open = [&] {
        Click(Button(kEdit));
        return PumpUntil([&] { return (dialog = test::OwnedPopup(main_)) != nullptr; });
    };
    auto field = [&](int key) { return test::ControlAt(dialog, Skin("skin_profile.ini"), key); };
    auto press = [&](int key) {
        Click(field(key));
        return PumpUntil([&] { return !::IsWindow(dialog) || test::OwnedPopup(dialog); });
    };

    ASSERT_TRUE(open());
    ::SendMessageA(field(2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed.exe"));
    ASSERT_TRUE(press(3)); // Browse, then the file dialog cancelled
    ASSERT_TRUE(test::CancelFileDialog(dialog));
    EXPECT_EQ(test::TextOf(field(2)), "typed.exe") << "a cancelled browse changes nothing";
    ASSERT_TRUE(press(3));
    ASSERT_TRUE(test::ChooseFile(dialog, game));
    ASSERT_TRUE(PumpUntil([&] { return test::TextOf(field(2)) == game; }))
        << test::TextOf(field(2));
    ASSERT_TRUE(press(4)); // OK
    Click(Button(kApply));
    ASSERT_TRUE(PumpUntil([&] { return ProfileKey(0, "GameFile") == game; }))
        << ProfileKey(0, "GameFile");

    // Cancel and Close leave the record as it was, whatever was typed.
    for (int key : {5, 6}) {
        ASSERT_TRUE(open()) << key;
        ::SendMessageA(field(1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other"));
        ::SendMessageA(field(2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("other.exe"));
        ASSERT_TRUE(press(key)) << key;
        EXPECT_FALSE(::IsWindow(dialog)) << key;
        EXPECT_EQ(Label(0), "Default1") << key;
    }
    // The next apply writes the file again (it is gone until then).
    ASSERT_TRUE(::DeleteFileA((dir() + "config\\Default0.gmp").c_str()));
    Click(Button(kApply));
    ASSERT_TRUE(PumpUntil([&] { return ProfileKey(0, "GameFile") != "<missing>"; }));
    EXPECT_EQ(ProfileKey(0, "GameFile"), game);
    EXPECT_EQ(ProfileKey(0, "ProFileName"), "Default1");
}

TEST_F(OptionTest, TheMainDialogHasItsMasksShapeAndTabsSwitchPages) {
    ASSERT_TRUE(StartOption());
    win::unique_hrgn region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(main_, region.get()), ERROR) << "the window is shaped";
    EXPECT_FALSE(::PtInRegion(region.get(), 1, 1)) << "the cut corner is outside";
    EXPECT_TRUE(::PtInRegion(region.get(), 400, 300));

    // The five pages: children at the page area, only the buttons page shown.
    // The page shown at start is made first; the other four follow in tab
    // order once the dialog has painted, without a tab being clicked.
    char area[128] = "";
    ::GetPrivateProfileStringA("BUTTONPOS", "42", "", area, sizeof area,
                               Skin("skin_main.ini").c_str());
    std::istringstream parts(area);
    std::string name;
    int left = 0, top = 0;
    std::getline(parts, name, ',');
    parts >> left;
    parts.ignore();
    parts >> top;
    std::vector<HWND> pages;
    const auto findPages = [&] {
        pages.clear();
        for (HWND c = ::GetWindow(main_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            RECT r{};
            ::GetWindowRect(c, &r);
            ::MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
            if (r.left == left && r.top == top)
                pages.push_back(c);
        }
        return pages.size() == 5;
    };
    ASSERT_TRUE(PumpUntil(findPages)) << pages.size() << " pages";
    auto shown = [&] {
        std::string s;
        for (HWND p : pages)
            s += ::IsWindowVisible(p) ? '1' : '0';
        return s;
    };
    // Buttons first, then lighting, sensitivity, system, advance.
    EXPECT_EQ(shown(), "10000");
    Click(Button(kTab1));
    ASSERT_TRUE(PumpUntil([&] { return shown() == "01000"; })) << shown();
    Click(Button(kTab1));
    Click(Button(kTab1 + 2));
    ASSERT_TRUE(PumpUntil([&] { return shown() == "00010"; })) << shown();
}

// ---- The firmware version line ---------------------------------------------

TEST_F(OptionTest, FirmwareVersionShownOnlyInItsRangeAtStartAndAnyAfterARead) {
    // The pixels of the version line for one FWVersion value ("" = no key).
    auto lineFor = [&](const std::string& version, bool readBack = false) {
        std::string ini = "[Setting]\r\nCurrentProfile=0\r\n";
        if (!version.empty())
            ini += "FWVersion=" + version + "\r\n";
        TestFolder::WriteFile(dir() + "config.ini", ini);
        EXPECT_TRUE(StartOption()) << version;
        if (readBack) {
            WritePrivateProfileStringA("Setting", "FWVersion", "650",
                                       (dir() + "config.ini").c_str());
            ::PostMessageA(main_, 1254, 0, 0);
        }
        test::Settle(700);
        const auto pixels = test::ClientPixels(main_, option::kVersionRect);
        ::PostMessageA(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(ClosedAndEnded()) << version;
        ::CloseHandle(option_);
        option_ = nullptr;
        return pixels;
    };
    const auto v100 = lineFor("100"), v500 = lineFor("500"), v99 = lineFor("99"),
               v501 = lineFor("501"), missing = lineFor(""), v650 = lineFor("650"),
               v650Read = lineFor("650", true);
    EXPECT_NE(v100, v500) << "both shown, as 1.00 and 5.00";
    EXPECT_EQ(missing, v100) << "a missing key reads as 100";
    EXPECT_EQ(v99, v501) << "both N/A";
    EXPECT_NE(v99, v100);
    EXPECT_EQ(v650, v99) << "650 is N/A at start";
    EXPECT_NE(v650Read, v650) << "and 6.50 after the monitor's read-back";
}

// ---- With the real monitor and the virtual mouse ------------------------------
TEST_F(OptionJourneyTest, PickRenameApplyAndTheMouseSwitches) {
    ASSERT_TRUE(mouse.Start());
    monitor_ = test::StartProcess(dir(), "Monitor.exe", "1");
    ASSERT_TRUE(monitor_);
    // The monitor opens the configuration program itself.
    ASSERT_TRUE(FoundMain());
    ASSERT_TRUE(PumpUntil([&] { return MouseLog().find("set ok 0E 03 01") != std::string::npos; }))
        << "the monitor has read everything back";
    test::Settle(1000);

    Click(Button(kSelector1 + 2));
    Rename(kEdit, "Headline");
    EXPECT_EQ(Label(2), "Headline");
    Click(Button(kApply));
    ASSERT_TRUE(PumpUntil([&] { return MouseLog().find("set ok 05 03 02") != std::string::npos; }))
        << "report 5 selects profile index 2\n"
        << MouseLog();
    EXPECT_TRUE(PumpUntil([&] { return Enabled(kOk) && Enabled(kApply); }))
        << "the monitor answered";
    EXPECT_EQ(ProfileKey(2, "ProFileName"), "Headline");
    EXPECT_EQ(Config("Setting", "CurrentProfile"), "2");
    SharedBlock shared;
    SettingsBlock block;
    ASSERT_TRUE(shared.Open() && shared.CopyIn(block));
    EXPECT_EQ(block.CurrentProfile(), 2);
    EXPECT_EQ(block.Profile(2).Get(prof::ProFileName), "Headline");

    // Closing the monitor closes the configuration program too.
    ::PostMessageA(::FindWindowA(nullptr, "Orvex_Gaming_Mouse_Normal_Monitor"), WM_CLOSE, 0, 0);
    EXPECT_TRUE(test::Ended(monitor_));
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(main_); }));
}

// ---- The buttons page -------------------------------------------------------

class ButtonsPageTest : public OptionWithMonitorTest {
  protected:
    HWND Page() { return ShownPage(); }
    HWND Function(int i) { return test::ControlAt(Page(), Skin("skin_button_page.ini"), 20 + i); }
    // What choosing a menu entry sends to the page once the menu is closed.
    void Choose(int button, int command) { ChooseFunction(Page(), button, command); }
    SettingsBlock Applied() {
        Click(Button(kApply));
        const int before = monitor.Count(1224);
        EXPECT_TRUE(PumpUntil([&] { return monitor.Count(1224) > before; }));
        AnswerApply();
        EXPECT_TRUE(PumpUntil([&] { return Enabled(kApply); }));
        return monitor.Block();
    }
    HWND WaitPopup() {
        HWND popup = nullptr;
        PumpUntil([&] { return (popup = test::OwnedPopup(main_)) != nullptr; }, 15000);
        return popup;
    }
    // Edits the stand-in's block before the program starts.
    template <typename F> void Prepare(F edit) {
        SettingsBlock b = monitor.Block();
        edit(b.Profile(0));
        ASSERT_TRUE(monitor.shared.CopyOut(b));
    }
};

TEST_F(ButtonsPageTest, CaptionsShowTheFunctionTheKeyAndNothingForAnEmptyKey) {
    Prepare([](ProfileView p) {
        ButtonView key = p.Button(3);
        key.Set(btn::FunctionType, uint8_t(fn::Key));
        key.Set(btn::EventCount, uint16_t(1));
        key.Set(btn::KeyUsage, 0x04);
        key.Set(btn::KeyModifiers, 5);
        ButtonView empty = p.Button(4);
        empty.Set(btn::FunctionType, uint8_t(fn::Key));
        empty.Set(btn::EventCount, uint16_t(0));
        ButtonView run = p.Button(5);
        run.Set(btn::FunctionType, uint8_t(fn::RunProgram));
        run.Set(btn::ProgramPath, "C:\\Tools\\go.bat");
    });
    ASSERT_TRUE(StartOption());
    EXPECT_EQ(test::TextOf(Function(0)), "Left click");
    EXPECT_EQ(test::TextOf(Function(3)), "Ctrl+Alt+A");
    EXPECT_EQ(test::TextOf(Function(4)), "");
    EXPECT_EQ(test::TextOf(Function(5)), "go.bat");
}

TEST_F(ButtonsPageTest, TheOnlyLeftClickCannotBeGivenAwayNotEvenForTheMacroManager) {
    ASSERT_TRUE(StartOption());
    for (int command : {1002, 1049}) {
        Choose(0, command);
        const HWND warning = WaitPopup();
        ASSERT_TRUE(warning) << command;
        Click(test::ControlAt(warning, Skin("skin_click_warn.ini"), 1));
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(warning); }));
    }
    const SettingsBlock b = Applied();
    EXPECT_EQ(b.Profile(0).Button(0).Get(btn::FunctionType), 1);
    EXPECT_EQ(b.ButtonChangeFlag(0, 0), 0);
    // With a second left click either may change.
    Choose(7, 1001);
    Choose(0, 1003);
    const SettingsBlock after = Applied();
    EXPECT_EQ(after.Profile(0).Button(0).Get(btn::FunctionType), 3);
    EXPECT_EQ(after.Profile(0).Button(7).Get(btn::FunctionType), 1);
    EXPECT_EQ(after.ButtonChangeFlag(0, 0), 1) << "the changed button is sent again";
}

TEST_F(ButtonsPageTest, AssigningALibraryMacroCopiesItAndAnotherFunctionClearsIt) {
    // Twelve macros in the library.
    MacroList library;
    for (int k = 0; k < 12; ++k) {
        MacroRecord& m = library.AppendName("Macro " + std::to_string(k));
        m.SetRepeat(k + 2);
        m.SetCount(2);
        m.SetEvent(0, {uint8_t(4 + k), 1, 120});
        m.SetEvent(1, {uint8_t(4 + k), 2, 0});
    }
    ::CreateDirectoryA((dir() + "config").c_str(), nullptr);
    {
        PrivateProfileFile store(dir() + "config\\sequence.dat");
        library.Save(store);
    }
    // Written through to the disk before the program reads it.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr,
                                 (dir() + "config\\sequence.dat").c_str());
    ASSERT_TRUE(StartOption());
    Choose(5, 1100);
    ASSERT_TRUE(PumpUntil([&] { return test::TextOf(Function(5)) == "Macro 0"; }));
    SettingsBlock b = Applied();
    ButtonView five = b.Profile(0).Button(5);
    EXPECT_EQ(five.Get(btn::FunctionType), fn::Macro);
    EXPECT_EQ(five.Get(btn::MacroName), "Macro 0");
    EXPECT_EQ(five.Get(btn::RepeatCount), 2);
    EXPECT_EQ(five.Get(btn::EventCount), 2);
    EXPECT_EQ(five.Event(0).delay, 120);
    EXPECT_EQ(five.Event(1).direction, 2);

    Choose(5, 1003);
    b = Applied();
    five = b.Profile(0).Button(5);
    EXPECT_EQ(five.Get(btn::FunctionType), 3);
    EXPECT_EQ(five.Get(btn::MacroName), "");
    EXPECT_EQ(five.Get(btn::EventCount), 0);
    EXPECT_EQ(five.Event(0).keyCode, 0);
    EXPECT_EQ(five.Get(btn::RepeatCount), 2) << "the repeat count stays";
}

TEST_F(ButtonsPageTest, TheMenuHasItsFrameAndHoverShowsTheMousePicture) {
    ASSERT_TRUE(StartOption());
    Click(Function(2));
    HWND menu = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (menu = ::FindWindowA("#32768", nullptr)) && ::IsWindowVisible(menu); }));
    RECT r{};
    ::GetWindowRect(menu, &r);
    // The frame is drawn after the menu paints itself: wait for it, within
    // a generous limit, rather than for a fixed time.
    std::vector<COLORREF> pixels;
    PumpUntil(
        [&] {
            pixels = test::ClientPixels(nullptr, RECT{r.left, r.top, r.left + 3, r.top + 3});
            return pixels.size() > 4 && pixels[0] == RGB(253, 249, 4) &&
                   pixels[4] == RGB(6, 18, 44);
        },
        10000);
    ASSERT_GT(pixels.size(), 4u);
    EXPECT_EQ(pixels[0], RGB(253, 249, 4)) << "yellow outside";
    EXPECT_EQ(pixels[4], RGB(6, 18, 44)) << "then the menu's own colour";
    ::PostMessageA(Page(), WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(menu) || !::IsWindowVisible(menu); }));

    // The pointer over a button shows its picture of the mouse; away, none.
    auto shownPicture = [&]() -> HWND {
        HWND shown = nullptr;
        int n = 0;
        for (HWND c = ::GetWindow(Page(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if (::GetDlgCtrlID(c) == 100 && ::IsWindowVisible(c))
                shown = c, ++n;
        return n == 1 ? shown : nullptr;
    };
    // The picture file as it would be drawn into the picture's rectangle.
    auto filePixels = [&](const char* name, std::size_t count) {
        win::unique_hbitmap bitmap;
        SIZE size{};
        EXPECT_TRUE(skin::LoadPicture(Skin("Mouse\\") + name, bitmap, size)) << name;
        std::vector<COLORREF> pixels;
        HDC memory = ::CreateCompatibleDC(nullptr);
        const HGDIOBJ old = ::SelectObject(memory, bitmap.get());
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                pixels.push_back(::GetPixel(memory, x, y));
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        EXPECT_EQ(pixels.size(), count) << name << " fills the picture's rectangle";
        return pixels;
    };
    // The pixels the screen shows over button `index`, once they are those
    // of `file` (or, if they never come, the last ones seen).
    auto pictureOver = [&](int index, const char* file) {
        RECT b{};
        ::GetWindowRect(Function(index), &b);
        ::SetCursorPos((b.left + b.right) / 2, (b.top + b.bottom) / 2);
        HWND picture = nullptr;
        EXPECT_TRUE(PumpUntil([&] { return (picture = shownPicture()) != nullptr; }, 10000))
            << index;
        // A picture is decoded the first time its button is hovered: wait
        // until it has painted.
        EXPECT_TRUE(
            PumpUntil([&] { return picture && !::GetUpdateRect(picture, nullptr, FALSE); }, 10000))
            << index;
        RECT area{};
        if (picture)
            ::GetClientRect(picture, &area);
        std::vector<COLORREF> pixels;
        if (picture) {
            const auto expected =
                filePixels(file, std::size_t(area.right) * std::size_t(area.bottom));
            EXPECT_TRUE(PumpUntil(
                [&] { return (pixels = test::ClientPixels(picture, area)) == expected; }, 10000))
                << "button " << index + 1 << " shows " << file;
        }
        // Off the dialog, moving on as a hand would: under load the display's
        // report of the earlier move over the button can come after the move
        // away and take the hover back; the next move ends it again.
        RECT main{};
        ::GetWindowRect(main_, &main);
        const POINT away{main.left > 10 ? main.left - 10 : main.right + 10, main.top + 10};
        int moves = 0;
        const bool hidden = PumpUntil(
            [&] {
                for (HWND c = ::GetWindow(Page(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
                    if (::GetDlgCtrlID(c) == 100 && ::IsWindowVisible(c)) {
                        if (moves++ % 25 == 0)
                            ::SetCursorPos(away.x - (moves / 25) % 2, away.y);
                        return false;
                    }
                return true;
            },
            10000);
        if (!hidden) {
            // Who holds the capture tells a lost leave from a lost capture.
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            ::GetGUIThreadInfo(::GetWindowThreadProcessId(main_, nullptr), &info);
            POINT at{};
            ::GetCursorPos(&at);
            ADD_FAILURE() << "button " << index + 1 << "'s picture stayed; capture "
                          << (info.hwndCapture == Function(index) ? "held by the button"
                              : info.hwndCapture                  ? "held by another window"
                                                                  : "held by nobody")
                          << ", pointer at " << at.x << "," << at.y;
        }
        return pixels;
    };
    // Buttons 8 to 13 show the whole mouse; the others each a picture of their own.
    const auto first = pictureOver(0, "mouse_1.jpg"), tenth = pictureOver(9, "mouse.jpg"),
               eleventh = pictureOver(10, "mouse.jpg"), last = pictureOver(14, "mouse_9.jpg");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(tenth, eleventh);
    EXPECT_NE(first, tenth);
    EXPECT_NE(last, tenth);
    EXPECT_NE(first, last);
}

TEST_F(ButtonsPageTest, SubmenusKeepTheirOwnWidthsAndTheButtonDropsItsHoverAfterTheMenu) {
    // A macro name far longer than the menu is wide.
    ::CreateDirectoryA((dir() + "config").c_str(), nullptr);
    {
        MacroList library;
        library.AppendName(std::string(40, 'W')).SetRepeat(1);
        PrivateProfileFile store(dir() + "config\\sequence.dat");
        library.Save(store);
    }
    ASSERT_TRUE(StartOption());
    // The pointer away from the dialog, so the button shows its normal look.
    RECT main{};
    ::GetWindowRect(main_, &main);
    ::SetCursorPos(main.left > 10 ? main.left - 10 : main.right + 10, main.top + 10);
    const HWND function = Function(2);
    RECT face{};
    ::GetClientRect(function, &face);
    // Its normal look, once painted: a picture, not one colour, the same twice running.
    std::vector<COLORREF> normal;
    ASSERT_TRUE(PumpUntil([&] {
        const auto now = test::ClientPixels(function, face);
        const bool steady = !now.empty() && now == normal &&
                            std::count(now.begin(), now.end(), now[0]) < std::ptrdiff_t(now.size());
        normal = now;
        test::Settle(100);
        return steady;
    }));

    Click(function);
    HWND menu = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (menu = ::FindWindowA("#32768", nullptr)) && ::IsWindowVisible(menu); }));
    EXPECT_TRUE(PumpUntil([&] { return test::ClientPixels(function, face) != normal; }))
        << "the button shows its hover look while its menu is open";
    // The submenu at a position of the main menu, opened by the keyboard: its width.
    int selected = -1;
    auto submenuWidth = [&](int position) {
        for (; selected < position; ++selected)
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, VK_RIGHT, 0);
        HWND sub = nullptr;
        EXPECT_TRUE(PumpUntil([&] {
            for (sub = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); sub;
                 sub = ::FindWindowExA(nullptr, sub, "#32768", nullptr))
                if (sub != menu && ::IsWindowVisible(sub))
                    return true;
            return false;
        })) << position;
        RECT r{};
        ::GetWindowRect(sub, &r);
        ::PostMessageA(menu, WM_KEYDOWN, VK_LEFT, 0);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(sub); })) << position;
        return r.right - r.left;
    };
    // Positions: the macros, then the submenus 1031, 1069 (129 wide), 1017, 1040.
    const int macros = submenuWidth(0), sensitivity = submenuWidth(2), media = submenuWidth(4);
    EXPECT_EQ(macros, media) << "a long macro name does not widen its menu";
    EXPECT_EQ(sensitivity, media - (156 - 129)) << "the sensitivity menu keeps its 129 pixels";
    ::PostMessageA(Page(), WM_CANCELMODE, 0, 0);
    ::PostMessageA(main_, WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(menu) || !::IsWindowVisible(menu); }));
    EXPECT_TRUE(PumpUntil([&] { return test::ClientPixels(function, face) == normal; }))
        << "the hover look goes with the menu";
}

TEST_F(ButtonsPageTest, TheLaunchDialogStartsEmptyKeepsTypedPathsAndCancelChangesNothing) {
    Prepare([](ProfileView p) { p.Button(6).Set(btn::ProgramPath, "C:\\old.exe"); });
    ASSERT_TRUE(StartOption());
    const std::string ini = Skin("skin_lanuch_program.ini");
    Choose(6, 1017);
    HWND dialog = WaitPopup();
    ASSERT_TRUE(dialog);
    HWND edit = test::ControlAt(dialog, ini, 1);
    EXPECT_EQ(test::TextOf(edit), "") << "not a run-program button yet";
    test::Type(edit, std::string(300, 'p'));
    ASSERT_TRUE(PumpUntil([&] { return test::TextOf(edit).size() == 261u; }))
        << "as much as the record holds";
    test::Settle(1000); // the characters it refused are all handled
    EXPECT_EQ(test::TextOf(edit).size(), 261u);
    ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    test::Type(edit, "D:\\no\\such\\tool.exe");
    ASSERT_TRUE(PumpUntil([&] { return test::TextOf(edit) == "D:\\no\\such\\tool.exe"; }));
    Click(test::ControlAt(dialog, ini, 3));
    ASSERT_TRUE(PumpUntil([&] { return test::TextOf(Function(6)) == "tool.exe"; }));

    Choose(6, 1017);
    dialog = WaitPopup();
    ASSERT_TRUE(dialog);
    edit = test::ControlAt(dialog, ini, 1);
    EXPECT_EQ(test::TextOf(edit), "D:\\no\\such\\tool.exe");
    // Browse to a program, then Cancel: the record keeps what it had.
    const std::string chosen = dir() + "picked.exe";
    TestFolder::WriteFile(chosen, "MZ");
    Click(test::ControlAt(dialog, ini, 2)); // Browse
    ASSERT_TRUE(test::ChooseFile(dialog, chosen));
    ASSERT_TRUE(PumpUntil([&] { return test::TextOf(edit) == chosen; })) << test::TextOf(edit);
    Click(test::ControlAt(dialog, ini, 4)); // Cancel
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }));
    const SettingsBlock applied = Applied();
    const ButtonView six = applied.Profile(0).Button(6);
    EXPECT_EQ(six.Get(btn::FunctionType), fn::RunProgram);
    EXPECT_EQ(six.Get(btn::ProgramPath), "D:\\no\\such\\tool.exe");
}

TEST_F(ButtonsPageTest, ThePlayerDialogShowsTheStoredPlayerAndStoresTheChosenOne) {
    Prepare([](ProfileView p) { p.Set(prof::MediaOption, 2); });
    ASSERT_TRUE(StartOption());
    const std::string ini = Skin("skin_select_player.ini");
    Choose(6, 1048);
    HWND dialog = WaitPopup();
    ASSERT_TRUE(dialog);
    HWND player = test::ControlAt(dialog, ini, 1);
    EXPECT_EQ(test::TextOf(player), "Real Player");
    // The menu dismissed without a choice keeps it.
    Click(player);
    HWND menu = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (menu = ::FindWindowA("#32768", nullptr)) && ::IsWindowVisible(menu); }));
    ::PostMessageA(dialog, WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(menu) || !::IsWindowVisible(menu); }));
    test::Settle(300);
    EXPECT_EQ(test::TextOf(player), "Real Player");
    // "iTunes", then Cancel: nothing stored.
    ::PostMessageA(dialog, WM_COMMAND, 1002, 0);
    ASSERT_TRUE(PumpUntil([&] { return test::TextOf(player) == "iTunes"; }));
    Click(test::ControlAt(dialog, ini, 3));
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }));
    EXPECT_EQ(Applied().Profile(0).Get(prof::MediaOption), 2);
    // "Winamp", then OK: 3.
    Choose(6, 1048);
    dialog = WaitPopup();
    ASSERT_TRUE(dialog);
    player = test::ControlAt(dialog, ini, 1);
    ::PostMessageA(dialog, WM_COMMAND, 1004, 0);
    ASSERT_TRUE(PumpUntil([&] { return test::TextOf(player) == "Winamp"; }));
    Click(test::ControlAt(dialog, ini, 2));
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }));
    const SettingsBlock applied = Applied();
    EXPECT_EQ(applied.Profile(0).Get(prof::MediaOption), 3);
    EXPECT_EQ(applied.Profile(0).Button(6).Get(btn::FunctionType), kDefaultFunctionType[6])
        << "choosing a player changes no button";
}

TEST_F(OptionJourneyTest, APageEditAndAResetReachTheMouse) {
    ASSERT_TRUE(mouse.Start());
    monitor_ = test::StartProcess(dir(), "Monitor.exe", "1");
    ASSERT_TRUE(FoundMain());
    ASSERT_TRUE(PumpUntil([&] { return MouseLog().find("set ok 0E 03 01") != std::string::npos; }));
    test::Settle(1000);
    Click(Button(kTab1 + 3)); // advance
    HWND page = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (HWND c = ::GetWindow(main_, GW_CHILD); c && !page; c = ::GetWindow(c, GW_HWNDNEXT))
            if (::IsWindowVisible(c) && test::ControlAt(c, Skin("skin_advance_page.ini"), 17))
                page = c;
        return page != nullptr;
    }));
    const std::string before = mouse.Command("state").second;
    Click(test::ControlAt(page, Skin("skin_advance_page.ini"), 2)); // the first polling rate
    Click(Button(kApply));
    ASSERT_TRUE(PumpUntil([&] { return mouse.Command("state").second != before; })) << before;
    SharedBlock shared;
    SettingsBlock block;
    ASSERT_TRUE(shared.Open() && shared.CopyIn(block));
    const int current = block.CurrentProfile();
    ASSERT_TRUE(SettingsBlock::IsProfileIndex(current));
    EXPECT_NE(mouse.Command("state").second.find(
                  "polling " + std::to_string(block.Profile(current).Get(prof::PollingRate))),
              std::string::npos)
        << mouse.Command("state").second;
    EXPECT_TRUE(PumpUntil([&] { return Enabled(kApply); }));

    // The OTG slider pressed near its right end: the mouse takes the value the block holds.
    const HWND otg = test::ControlAt(page, Skin("skin_advance_page.ini"), 18);
    ASSERT_TRUE(otg);
    RECT track{};
    ::GetClientRect(otg, &track);
    ::PostMessageA(otg, WM_LBUTTONUP, 0, MAKELPARAM(track.right - 1, 5));
    test::Settle(300);
    const int32_t otgBefore = block.Profile(current).Get(prof::OTGSpeed);
    Click(Button(kApply));
    ASSERT_TRUE(PumpUntil([&] {
        return shared.CopyIn(block) && block.Profile(current).Get(prof::OTGSpeed) != otgBefore;
    }));
    const int32_t otgValue = block.Profile(current).Get(prof::OTGSpeed);
    EXPECT_GT(otgValue, 200) << "near the right end of 2-255";
    const std::string otgLine = "profile " + std::to_string(current + 1);
    EXPECT_TRUE(PumpUntil([&] {
        const std::string dump = mouse.Command("dump").second;
        const auto at = dump.find(otgLine);
        return at != std::string::npos &&
               dump.find("OTG " + std::to_string(otgValue) + "\n", at) < dump.find("buttons", at);
    })) << mouse.Command("dump").second;

    // Reset confirmed: every profile's performance record goes to the mouse again.
    const std::size_t logBefore = MouseLog().size();
    Click(test::ControlAt(page, Skin("skin_advance_page.ini"), 17));
    HWND warning = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (warning = test::OwnedPopup(main_)) != nullptr; }));
    Click(test::ControlAt(warning, Skin("skin_reset_warn.ini"), 1));
    ASSERT_TRUE(PumpUntil([&] {
        const std::string log = MouseLog().substr(logBefore);
        for (int p = 0; p < kProfileCount; ++p)
            if (log.find("set ok 06 25 0" + std::to_string(p)) == std::string::npos)
                return false;
        return true;
    })) << MouseLog().substr(logBefore);
    EXPECT_TRUE(PumpUntil([&] { return Enabled(kApply); })) << "the monitor answered the reset";
    EXPECT_EQ(ProfileKey(4, "ProFileName"), "Default5");
}

// A window of this test with the keyboard focus, recording the keys it gets.
class FocusWindow {
  public:
    FocusWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "GmJourneyFocus";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(0, wc.lpszClassName, "focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                 40, 200, 120, nullptr, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~FocusWindow() { ::DestroyWindow(hwnd); }
    [[nodiscard]] bool TakeFocus() {
        ::SetForegroundWindow(hwnd);
        ::SetFocus(hwnd);
        return PumpUntil([&] { return ::GetForegroundWindow() == hwnd && ::GetFocus() == hwnd; },
                         10000);
    }
    // "+47 -47" style: + down, - up, virtual key in hex.
    std::string Joined() const {
        std::string out;
        for (const auto& k : keys)
            out += (out.empty() ? "" : " ") + k.text;
        return out;
    }
    struct Key {
        std::string text;
        DWORD at;
    };
    std::vector<Key> keys;
    HWND hwnd;

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        auto* self = reinterpret_cast<FocusWindow*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self &&
            (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP)) {
            char text[8];
            std::snprintf(text, sizeof text, "%c%02X",
                          (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) ? '+' : '-', unsigned(wp));
            self->keys.push_back({text, ::GetTickCount()});
            return 0;
        }
        return ::DefWindowProcA(h, msg, wp, lp);
    }
};

// A key as the keyboard sends it, through the system's input queue.
void Stroke(BYTE vk, bool up) {
    ::keybd_event(vk, BYTE(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)), up ? KEYEVENTF_KEYUP : 0, 0);
    test::Settle(40);
}

TEST_F(OptionJourneyTest, RecordAMacroGiveItToAButtonPressItAndTheKeysArrive) {
    // One empty macro in the library to record into.
    MacroList library;
    library.AppendName("Journey").SetRepeat(1);
    // And a long one: A typed twenty times, 150 ms apart, three rounds.
    MacroRecord& long_ = library.AppendName("Long");
    long_.SetRepeat(3);
    long_.SetCount(40);
    for (int e = 0; e < 40; ++e)
        long_.SetEvent(e, {0x04, uint8_t(e % 2 ? 2 : 1), 150});
    ::CreateDirectoryA((dir() + "config").c_str(), nullptr);
    {
        PrivateProfileFile store(dir() + "config\\sequence.dat");
        library.Save(store);
    }
    // Written through to the disk before the program reads it.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr,
                                 (dir() + "config\\sequence.dat").c_str());
    ASSERT_TRUE(mouse.Start());
    monitor_ = test::StartProcess(dir(), "Monitor.exe", "1");
    ASSERT_TRUE(FoundMain());
    ASSERT_TRUE(PumpUntil([&] { return MouseLog().find("set ok 0E 03 01") != std::string::npos; }));
    test::Settle(1000);
    const HWND page = ShownPage();
    ASSERT_TRUE(page);
    const std::string buttons = Skin("skin_button_page.ini");
    auto choose = [&](int button, int command) { ChooseFunction(page, button, command); };
    // Apply, then wait until the monitor has answered and the mouse holds the
    // change. Apply is still enabled until the click is taken, so waiting for
    // it alone can end before anything was applied.
    auto applyToTheMouse = [&] {
        const auto before = mouse.Command("dump");
        if (!before.first)
            return false;
        Click(Button(kApply));
        return PumpUntil([&] {
            if (!Enabled(kApply))
                return false;
            test::Settle(100); // one question at a time, not a flood
            const auto now = mouse.Command("dump");
            // Enabled again after the mouse changed: the apply has ended.
            return now.first && now.second != before.second && Enabled(kApply);
        });
    };

    // The macro manager from the function menu of button index 4: record
    // G, a pause, M, with their delays.
    choose(4, 1049);
    HWND manager = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (manager = ::FindWindowA(nullptr, "Marbek Gaming Mouse Macro Manager")); }));
    const std::string ini = Skin("skin_macro_manager.ini");
    const HWND macros = ::GetDlgItem(manager, 4096);
    RECT line{};
    ::SendMessageA(macros, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&line));
    ::PostMessageA(macros, WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM(line.left + 30, (line.top + line.bottom) / 2));
    ::PostMessageA(macros, WM_LBUTTONUP, 0,
                   MAKELPARAM(line.left + 30, (line.top + line.bottom) / 2));
    test::Settle(300);
    Click(test::ControlAt(manager, ini, 8)); // record delays
    Click(test::ControlAt(manager, ini, 7)); // record
    const HWND ok = test::ControlAt(manager, ini, 1);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowEnabled(ok); })) << "recording";
    Stroke('G', false);
    test::Settle(150);
    Stroke('G', true);
    test::Settle(400);
    Stroke('M', false);
    test::Settle(150);
    Stroke('M', true);
    const HWND events = ::GetDlgItem(manager, 4097);
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageA(events, LB_GETCOUNT, 0, 0) >= 4; }));
    Click(test::ControlAt(manager, ini, 7)); // stop
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(ok) != FALSE; }));
    Click(ok);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(manager); }));

    // The program saves the store once the manager has closed.
    MacroList stored;
    PumpUntil([&] {
        stored.FreeAll();
        PrivateProfileFile store(dir() + "config\\sequence.dat");
        stored.Load(store);
        return stored.size() == 2u && stored.At(0)->Count() > 0;
    });
    ASSERT_EQ(stored.size(), 2u);
    const MacroRecord recorded = *stored.At(0);
    ASSERT_EQ(recorded.Count(), 4) << "G down, G up, M down, M up";
    EXPECT_EQ(recorded.Event(0).keyCode, 0x0A);
    EXPECT_EQ(recorded.Event(2).keyCode, 0x10);
    EXPECT_GT(recorded.Event(1).delay, 200) << "the pause between the keys";

    // Give it to button index 4 and apply.
    choose(4, 1100);
    ASSERT_TRUE(
        PumpUntil([&] { return test::TextOf(test::ControlAt(page, buttons, 24)) == "Journey"; }));
    ASSERT_TRUE(applyToTheMouse());

    // The mouse holds the macro: its report 9 decodes to the same events.
    SharedBlock shared;
    SettingsBlock block;
    ASSERT_TRUE(shared.Open() && shared.CopyIn(block));
    const int current = block.CurrentProfile();
    ASSERT_TRUE(SettingsBlock::IsProfileIndex(current));
    const ButtonView sent = block.Profile(current).Button(4);
    EXPECT_EQ(sent.Get(btn::FunctionType), fn::Macro);
    ASSERT_EQ(sent.Get(btn::EventCount), 4);
    const std::string dump = mouse.Command("dump").second;
    EXPECT_NE(dump.find("macro button 5: \"Journey\""), std::string::npos) << dump;
    // The report 9 the mouse took, decoded, gives the recorded events and pauses.
    const std::string log = MouseLog();
    const auto at = log.rfind("set ok 09 82 0" + std::to_string(current) + " 04");
    ASSERT_NE(at, std::string::npos) << log;
    std::vector<uint8_t> report;
    std::istringstream hex(log.substr(at + 7, log.find('\n', at) - at - 7));
    for (unsigned byte = 0; hex >> std::hex >> byte;)
        report.push_back(uint8_t(byte));
    SettingsBlock decoded;
    ButtonView back = decoded.Profile(0).Button(4);
    ASSERT_TRUE(mon::DecodeMacro(report.data(), report.size(), back, current, 4));
    ASSERT_EQ(back.Get(btn::EventCount), 4);
    for (int e = 0; e < 4; ++e) {
        EXPECT_EQ(back.Event(e).keyCode, recorded.Event(e).keyCode) << e;
        EXPECT_EQ(back.Event(e).direction, recorded.Event(e).direction) << e;
        EXPECT_NEAR(back.Event(e).delay, recorded.Event(e).delay, 5)
            << e << ": 5 ms units on the wire";
    }

    // Press the button on the mouse: the focused window gets the keys in order.
    FocusWindow target;
    ASSERT_TRUE(target.TakeFocus());
    ASSERT_TRUE(mouse.Command("click 5").first);
    ASSERT_TRUE(PumpUntil([&] { return target.keys.size() >= 4; }, 15000)) << target.Joined();
    test::Settle(300);
    EXPECT_EQ(target.Joined(), "+47 -47 +4D -4D");
    const DWORD pause = target.keys[2].at - target.keys[1].at;
    EXPECT_GE(pause + 20, DWORD(recorded.Event(1).delay)) << "the recorded pause is kept";
    EXPECT_LE(pause, DWORD(recorded.Event(1).delay) + 1000u)
        << "a safety limit; the benchmark measures timing";

    // Button index 5 gets Ctrl+C through the shortcut dialog.
    choose(5, 1005);
    HWND shortcut = nullptr;
    ASSERT_TRUE(
        PumpUntil([&] { return (shortcut = ::FindWindowA(nullptr, "Marbek Shortcut Dialog")); }));
    test::Settle(300);
    Stroke('C', false);
    Stroke('C', true);
    const std::string sini = Skin("skin_shortcut.ini");
    Click(test::ControlAt(shortcut, sini, 5)); // Ctrl
    test::Settle(200);
    Click(test::ControlAt(shortcut, sini, 2)); // OK
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(shortcut); }));
    EXPECT_EQ(test::TextOf(test::ControlAt(page, buttons, 25)), "Ctrl+C");
    ASSERT_TRUE(applyToTheMouse());
    target.keys.clear();
    ASSERT_TRUE(target.TakeFocus());
    ASSERT_TRUE(mouse.Command("click 6").first);
    ASSERT_TRUE(PumpUntil([&] { return target.keys.size() >= 4; }, 15000)) << target.Joined();
    test::Settle(300);
    EXPECT_EQ(target.Joined(), "+11 +43 -43 -11");

    // A long macro on button index 6, stopped by a second press: nothing stays down.
    choose(6, 1101);
    ASSERT_TRUE(
        PumpUntil([&] { return test::TextOf(test::ControlAt(page, buttons, 26)) == "Long"; }));
    ASSERT_TRUE(applyToTheMouse());
    target.keys.clear();
    ASSERT_TRUE(target.TakeFocus());
    ASSERT_TRUE(mouse.Command("click 7").first);
    ASSERT_TRUE(PumpUntil([&] { return target.keys.size() >= 3; }, 15000)) << target.Joined();
    ASSERT_TRUE(mouse.Command("click 7").first);
    test::Settle(1500);
    const std::size_t stoppedAt = target.keys.size();
    test::Settle(1000);
    EXPECT_EQ(target.keys.size(), stoppedAt) << "nothing more after the stop";
    EXPECT_LT(stoppedAt, 40u) << "stopped long before its end";
    int held = 0;
    for (const auto& k : target.keys)
        held += k.text[0] == '+' ? 1 : -1;
    EXPECT_EQ(held, 0) << target.Joined();
    EXPECT_EQ(::GetAsyncKeyState('A') & 0x8000, 0);
}

} // namespace
} // namespace gm
