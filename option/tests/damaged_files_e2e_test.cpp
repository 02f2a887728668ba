// Every file the programs read, damaged each way a file gets damaged: the
// programs start, take sound defaults for what they could not read, keep what
// they could, and write nothing damaged back. A damaged skin gives a plain
// window, never a crash.
#include "option/macros/macro_list.h"
#include "option/tests/macro_builder.h"
#include "option/tests/option_fixtures.h"
#include "shared/private_profile_win.h"
#include "shared/profile_files_win.h"
#include "shared/tests/damage.h"
#include "shared/tests/sound_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace gm {
namespace {

using namespace test;

// A block as a user leaves it: every profile edited, a macro on a button.
SettingsBlock UsersBlock() {
    SettingsBlock b;
    b.SetCurrentProfile(2);
    for (int p = 0; p < kProfileCount; ++p) {
        b.Profile(p).MakeDefault(p, LevelSet::Option);
        b.Profile(p).Set(prof::ProFileName, "Mine " + std::to_string(p + 1));
        b.Profile(p).Set(prof::Sensitivity_X, 3 + p);
        CopyMacroToButton(Macro("Combo", 2, {{4, 1, 30}, {4, 2, 0}}), b.Profile(p).Button(4));
        b.Profile(p).Button(4).Set(btn::FunctionType, fn::Macro);
    }
    return b;
}

class DamagedFilesTest : public OptionWithMonitorTest {
  protected:
    // Writes the user's files, then damages those named.
    void WriteFiles(const std::vector<std::string>& damagedFiles, Damage d) {
        ::CreateDirectoryA((dir() + "config").c_str(), nullptr);
        ASSERT_TRUE(ProfileFiles(dir(), LevelSet::Option).SaveAll(UsersBlock()));
        if (monitor.shared.IsOpen()) {
            ASSERT_TRUE(monitor.shared.CopyOut(UsersBlock()));
        }
        MacroList library;
        library.Append(Macro("Combo", 2, {{4, 1, 30}, {4, 2, 0}}));
        library.Append(Macro("Other", 1, {{5, 1, 0}, {5, 2, 0}}));
        PrivateProfileFile store(dir() + "config\\sequence.dat");
        library.Save(store);
        // Written through before the damage reads the file.
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, store.path().c_str());
        for (const std::string& f : damagedFiles)
            TestFolder::WriteFile(dir() + f, Damaged(TestFolder::ReadFile(dir() + f), d));
    }
    // Option started on them answers and shows its main dialog.
    bool StartedAndAnswering(const std::string& label) {
        if (!StartOption()) {
            ADD_FAILURE() << label << ": no main dialog";
            return false;
        }
        DWORD_PTR r = 0;
        const bool answers =
            ::SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &r) != 0;
        EXPECT_TRUE(answers) << label;
        return answers;
    }
    void CloseOption(const std::string& label) {
        ::PostMessageA(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(ClosedAndEnded()) << label;
        DWORD code = 1;
        ::GetExitCodeProcess(option_, &code);
        EXPECT_EQ(code, 0u) << label;
        ::CloseHandle(option_);
        option_ = nullptr;
        main_ = nullptr;
    }
};

// Without a monitor the configuration program works on the files alone.
class DamagedFilesAloneTest : public DamagedFilesTest {
  protected:
    // The stand-in's window goes and its block is never made.
    void SetUp() override {
        OptionTest::SetUp();
        ::DestroyWindow(monitor.hwnd);
    }
};

TEST_F(DamagedFilesAloneTest, ProfileFilesAndConfigDamagedAreReadSoundAndWrittenBackSound) {
    std::vector<std::string> files = {"config.ini"};
    for (int p = 0; p < kProfileCount; ++p)
        files.push_back("config\\Default" + std::to_string(p) + ".gmp");
    for (Damage d : kEveryDamage) {
        const std::string label = DamageName(d);
        WriteFiles(files, d);
        ASSERT_TRUE(StartedAndAnswering(label));
        // Each name is the file's, or empty where the file lost it.
        for (int p = 0; p < kProfileCount; ++p) {
            const std::string n = std::to_string(p + 1);
            EXPECT_TRUE(Label(p) == "Mine " + n || Label(p).empty()) << label << ": " << Label(p);
        }
        Click(Button(kApply)); // without a monitor the apply ends at once
        EXPECT_TRUE(PumpUntil([&] { return Enabled(kApply); })) << label;
        CloseOption(label);
        for (int p = 0; p < kProfileCount; ++p)
            ExpectSoundProfileFile(dir() + "config\\Default" + std::to_string(p) + ".gmp", label);
        ExpectSoundConfig(dir(), label);
    }
}

TEST_F(DamagedFilesAloneTest, KeysAProfileFileLostTakeTheirDefaultsAndTheRestIsKept) {
    WriteFiles({}, Damage::Truncated);
    const std::string file = dir() + "config\\Default0.gmp";
    for (const char* key : {"Sensitivity_Y", "dpiStepFlag0", "PollingRate"})
        ::WritePrivateProfileStringA("Setting", key, nullptr, file.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    TestFolder::WriteFile(dir() + "config.ini", "[Setting]\r\nCurrentProfile=0\r\n");
    ASSERT_TRUE(StartedAndAnswering("lost keys"));
    EXPECT_EQ(Label(0), "Mine 1") << "the name was readable";
    Click(Button(kApply));
    EXPECT_TRUE(PumpUntil([&] { return Enabled(kApply); }));
    CloseOption("lost keys");
    ExpectSoundProfileFile(file, "lost keys");
    SettingsBlock defaults;
    defaults.Profile(0).MakeDefault(0, LevelSet::Option);
    auto stored = [&](const char* key) {
        return int(::GetPrivateProfileIntA("Setting", key, -7, file.c_str()));
    };
    EXPECT_EQ(stored("Sensitivity_Y"), defaults.Profile(0).Get(prof::Sensitivity_Y));
    EXPECT_EQ(stored("PollingRate"), defaults.Profile(0).Get(prof::PollingRate));
    EXPECT_EQ(stored("dpiStepFlag0"), defaults.Profile(0).Get(prof::StepFlag(0)));
    EXPECT_EQ(stored("Sensitivity_X"), 3) << "what the file held is kept";
}

TEST_F(DamagedFilesTest, ADamagedMacroStoreKeepsItsGoodMacrosAndIsWrittenBackSound) {
    for (Damage d : kEveryDamage) {
        const std::string label = DamageName(d);
        WriteFiles({"config\\sequence.dat"}, d);
        ASSERT_TRUE(StartedAndAnswering(label));
        // The library is written again at start; what it holds reads back whole.
        MacroList stored;
        ASSERT_TRUE(PumpUntil([&] {
            stored.FreeAll();
            PrivateProfileFile store(dir() + "config\\sequence.dat");
            stored.Load(store);
            return stored.size() >= 1;
        })) << label;
        const int number = int(::GetPrivateProfileIntA("Macros", "number", -1,
                                                       (dir() + "config\\sequence.dat").c_str()));
        EXPECT_EQ(number, int(stored.size())) << label << ": every key the count names is there";
        for (std::size_t k = 0; k < stored.size(); ++k) {
            EXPECT_GE(stored.At(int(k))->Count(), 0) << label;
            EXPECT_LE(stored.At(int(k))->Count(), kMaxEvents) << label;
        }
        EXPECT_EQ(stored.At(0)->Name(), "Combo")
            << label << ": the buttons' macro comes back from the buttons";
        CloseOption(label);
    }
}

TEST_F(DamagedFilesTest, ADamagedImportIsRefusedOrTakenSoundAndTheFilesStaySound) {
    for (Damage d : kEveryDamage) {
        const std::string label = DamageName(d);
        WriteFiles({}, d);
        const std::string file = dir() + "imported.gmp";
        ASSERT_TRUE(ProfileFiles::SaveProfile(UsersBlock().Profile(3), file));
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
        TestFolder::WriteFile(file, Damaged(TestFolder::ReadFile(file), d));
        ASSERT_TRUE(StartedAndAnswering(label));
        const int before = monitor.Count(1224);
        Click(Button(kImport));
        ASSERT_TRUE(ChooseFile(main_, file)) << label;
        // Either refused, or applied: the Apply after it shows which.
        Click(Button(kApply));
        ASSERT_TRUE(PumpUntil([&] { return monitor.Count(1224) > before; })) << label;
        const SettingsBlock shared = monitor.Block();
        for (int b = 0; b < kButtonCount; ++b)
            EXPECT_LE(shared.Profile(0).Button(b).Get(btn::EventCount), kMaxEvents) << label;
        AnswerApply();
        ASSERT_TRUE(PumpUntil([&] { return Enabled(kApply); })) << label;
        CloseOption(label);
        ExpectSoundProfileFile(dir() + "config\\Default0.gmp", label);
        monitor.got.clear();
    }
}

TEST_F(DamagedFilesTest, ADamagedSkinGivesAPlainWindowThatWorksAndCloses) {
    const std::string skins = dir() + "skins\\";
    const std::vector<std::string> files = {"skin_main.ini",          "main_normal.bmp",
                                            "main_mask.bmp",          "main_over.bmp",
                                            "button_page_normal.bmp", "skin_button_page.ini"};
    std::vector<std::string> originals;
    for (const std::string& f : files)
        originals.push_back(TestFolder::ReadFile(skins + f));
    for (Damage d : kEveryDamage) {
        const std::string label = DamageName(d);
        for (std::size_t i = 0; i < files.size(); ++i)
            TestFolder::WriteFile(skins + files[i], Damaged(originals[i], d));
        option_ = StartProcess(dir(), "Option.exe");
        ASSERT_TRUE(option_) << label;
        ASSERT_TRUE(PumpUntil([&] { return (main_ = ::FindWindowA(nullptr, "Brennick")); }))
            << label << ": the main dialog";
        DWORD_PTR r = 0;
        EXPECT_TRUE(::SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &r))
            << label;
        // It paints whatever it has and goes on answering.
        ::RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Settle(300);
        EXPECT_EQ(::WaitForSingleObject(option_, 0), WAIT_TIMEOUT) << label << ": still running";
        CloseOption(label);
    }
}

} // namespace
} // namespace gm
