// The installer as a user meets it, in a Wine prefix of its own (see
// run_installer_tests.sh): silent and interactive installs and uninstalls,
// an upgrade over a running older install, and the cases that must change
// nothing. GM_SETUP names the installer built by the "package" target.
#include "shared/tests/message_pump.h"
#include "shared/tests/test_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using gm::test::PumpUntil;
using gm::test::TestFolder;

constexpr const char* kAppKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvexGamingMouse";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Orvex Gaming Mouse";
constexpr const char* kMonitorWindow = "Orvex_Gaming_Mouse_Normal_Monitor";
constexpr UINT kMonitorExit = 6002;
constexpr const char* kVersion = GM_VERSION_TEXT;

std::string Env(const char* name) {
    char value[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

std::string InstallDir() {
    return Env("LOCALAPPDATA") + "\\Programs\\Orvex Gaming Mouse\\";
}
std::string MenuDir() {
    return Env("APPDATA") + "\\Microsoft\\Windows\\Start Menu\\Programs\\Orvex Gaming Mouse\\";
}

std::optional<std::string> RegString(const char* key, const char* value) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (::RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

bool KeyExists(const char* key) {
    HKEY h = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(h);
    return true;
}

// Every file below `dir`, as paths relative to it.
std::set<std::string> FilesBelow(const std::string& dir, const std::string& prefix = "") {
    std::set<std::string> out;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((dir + prefix + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (auto& f : FilesBelow(dir, prefix + name + "\\"))
                out.insert(f);
        } else {
            out.insert(prefix + name);
        }
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return out;
}

bool FolderExists(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// A string of a program's version resource, in its first language.
std::string VersionString(const std::string& file, const char* name) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0)
        return "<no version resource>";
    std::string data(size, '\0');
    if (!::GetFileVersionInfoA(file.c_str(), 0, size, data.data()))
        return "<unreadable>";
    struct Translation {
        WORD language, codePage;
    }* tr = nullptr;
    UINT len = 0;
    if (!::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&tr),
                          &len) ||
        len < sizeof *tr)
        return "<no translation>";
    char query[128];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", tr->language, tr->codePage,
                  name);
    char* value = nullptr;
    if (!::VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&value), &len) || !value)
        return "<missing>";
    return value;
}

// Runs a command line and waits for it, delivering messages meanwhile (the
// setup sends messages to windows of this thread). Returns its exit code.
DWORD RunAndWait(const std::string& commandLine, DWORD limitMs = 120000) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    // Wine's loader now and then refuses a start under load; each refusal is
    // printed, and the third one fails the test.
    for (int attempt = 1;; ++attempt) {
        if (::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                             &pi))
            break;
        const DWORD error = ::GetLastError();
        std::printf("CreateProcess refused %s (error %lu), attempt %d\n", commandLine.c_str(),
                    error, attempt);
        if (attempt == 3) {
            ADD_FAILURE() << "could not start " << commandLine << " (error " << error << ")";
            return DWORD(-1);
        }
        ::Sleep(500);
    }
    ::CloseHandle(pi.hThread);
    const bool ended =
        PumpUntil([&] { return ::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, limitMs);
    DWORD code = DWORD(-1);
    if (ended)
        ::GetExitCodeProcess(pi.hProcess, &code);
    else
        ADD_FAILURE() << commandLine << " did not end within " << limitMs << " ms";
    ::CloseHandle(pi.hProcess);
    return code;
}

std::string SetupCommand() {
    return "\"" + Env("GM_SETUP") + "\"";
}

DWORD Install(const std::string& options) {
    return RunAndWait(SetupCommand() + " " + options);
}

HWND Monitor() {
    return ::FindWindowA(nullptr, kMonitorWindow);
}

bool WaitForMonitor(bool running) {
    return PumpUntil([&] { return (Monitor() != nullptr) == running; }, 30000);
}

void EndMonitor() {
    if (HWND m = Monitor())
        ::PostMessageA(m, WM_COMMAND, kMonitorExit, 0);
    EXPECT_TRUE(WaitForMonitor(false));
}

// The uninstaller runs on from a copy of itself after the program started
// here has ended; its last step removes the Add/Remove entry.
void WaitForUninstall() {
    EXPECT_TRUE(PumpUntil([] { return !KeyExists(kAppKey); }, 60000))
        << "the uninstaller did not finish";
    // Its copy may still be closing its window.
    gm::test::Settle(500);
}

// Everything of the suite outside the install folder.
void ExpectNothingRegistered() {
    EXPECT_FALSE(KeyExists(kAppKey));
    EXPECT_FALSE(RegString(kRunKey, kRunValue).has_value());
    EXPECT_FALSE(FolderExists(MenuDir())) << MenuDir();
}

const std::set<std::string> kProgramFiles = {"Monitor.exe",       "Option.exe",    "OSD.exe",
                                             "MouseEmulator.exe", "hiddriver.dll", "lan.dll"};

// The user's own files, as an edit in the configuration program and a
// recorded macro leave them.
struct UserFiles {
    std::string profile =
        "[Profile]\r\nName=Rocket arena\r\nCurrentCPI=3\r\n; edited in the settings\r\n";
    std::string macros = std::string("\x01\x00\x00\x00Jump shot\x00\x20\x00\x10\x00\xff\xfe", 22);
    std::string driver =
        "[Transport]\r\nMode=hid\r\n[Device]\r\nVendorId=0x1234\r\nProductId=4660\r\n";

    void Write() const {
        ::CreateDirectoryA((InstallDir() + "config").c_str(), nullptr);
        TestFolder::WriteFile(InstallDir() + "config\\Default2.gmp", profile);
        TestFolder::WriteFile(InstallDir() + "config\\sequence.dat", macros);
        TestFolder::WriteFile(InstallDir() + "hiddriver.ini", driver);
    }
    void ExpectKept() const {
        EXPECT_EQ(TestFolder::ReadFile(InstallDir() + "config\\Default2.gmp"), profile);
        EXPECT_EQ(TestFolder::ReadFile(InstallDir() + "config\\sequence.dat"), macros);
        EXPECT_EQ(TestFolder::ReadFile(InstallDir() + "hiddriver.ini"), driver);
    }
};

// A window named as the monitor that never ends, as a hung monitor would.
class StuckMonitor {
  public:
    StuckMonitor() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) noexcept -> LRESULT {
            if (m == WM_COMMAND || m == WM_CLOSE)
                return 0;
            return ::DefWindowProcA(h, m, w, l);
        };
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "GmStuckMonitor";
        ::RegisterClassA(&wc);
        hwnd_ = ::CreateWindowExA(0, wc.lpszClassName, kMonitorWindow, WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~StuckMonitor() { ::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

class Installer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Env("GM_SETUP").empty()) << "GM_SETUP names the installer";
        ASSERT_FALSE(FolderExists(InstallDir())) << "a test left an install behind";
    }
    void TearDown() override {
        // Whatever a failed test left: the suite's programs, then its files.
        if (HWND m = Monitor())
            ::PostMessageA(m, WM_COMMAND, kMonitorExit, 0);
        WaitForMonitor(false);
        gm::test::KillProcessesIn(InstallDir());
        if (TestFolder::Exists(InstallDir() + "uninstall.exe")) {
            RunAndWait("\"" + InstallDir() + "uninstall.exe\" /S /REMOVESETTINGS");
            WaitForUninstall();
        }
        gm::test::RemoveTree(InstallDir());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kAppKey);
        HKEY run = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
            ::RegDeleteValueA(run, kRunValue);
            ::RegCloseKey(run);
        }
    }
};

TEST_F(Installer, SilentInstallPutsTheProductTheShortcutsAndTheRegistrationInPlace) {
    ASSERT_EQ(Install("/S /NOSTART"), 0u);
    const std::string dir = InstallDir();

    // Exactly the product: no test program, benchmark or stand-in library.
    std::set<std::string> files = FilesBelow(dir);
    std::set<std::string> topLevel, skins;
    for (const auto& f : files)
        (f.rfind("skins\\", 0) == 0 ? skins : topLevel).insert(f);
    std::set<std::string> expected = kProgramFiles;
    expected.insert({"hiddriver.ini", "readme.txt", "LICENSE.txt", "uninstall.exe"});
    EXPECT_EQ(topLevel, expected);
    EXPECT_TRUE(skins.count("skins\\skin_main.ini"));
    EXPECT_GT(skins.size(), 50u);
    for (const auto& f : skins)
        EXPECT_EQ(f.find("\\res\\"), std::string::npos) << f;

    // One version everywhere.
    for (const auto& program : kProgramFiles) {
        SCOPED_TRACE(program);
        EXPECT_EQ(VersionString(dir + program, "FileVersion"), kVersion);
        EXPECT_EQ(VersionString(dir + program, "ProductVersion"), kVersion);
        EXPECT_EQ(VersionString(dir + program, "ProductName"), "Orvex Gaming Mouse");
        EXPECT_NE(VersionString(dir + program, "FileDescription").find("Orvex Gaming Mouse"),
                  std::string::npos);
    }
    EXPECT_EQ(VersionString(Env("GM_SETUP"), "ProductVersion"), kVersion);

    // Start menu: the settings (through the monitor), the virtual mouse, the uninstaller.
    EXPECT_EQ(FilesBelow(MenuDir()),
              (std::set<std::string>{"Orvex Gaming Mouse settings.lnk", "Virtual mouse.lnk",
                                     "Uninstall Orvex Gaming Mouse.lnk"}));

    const std::string quoted = "\"" + dir.substr(0, dir.size() - 1) + "\\";
    EXPECT_EQ(RegString(kRunKey, kRunValue).value_or(""), quoted + "Monitor.exe\"");
    EXPECT_EQ(RegString(kAppKey, "DisplayName").value_or(""), "Orvex Gaming Mouse");
    EXPECT_EQ(RegString(kAppKey, "DisplayVersion").value_or(""), kVersion);
    EXPECT_EQ(RegString(kAppKey, "DisplayIcon").value_or(""), quoted + "Monitor.exe\",0");
    EXPECT_EQ(RegString(kAppKey, "UninstallString").value_or(""), quoted + "uninstall.exe\"");
    EXPECT_EQ(RegString(kAppKey, "QuietUninstallString").value_or(""),
              quoted + "uninstall.exe\" /S");
    DWORD size = 0, bytes = sizeof size;
    EXPECT_EQ(::RegGetValueA(HKEY_CURRENT_USER, kAppKey, "EstimatedSize", RRF_RT_REG_DWORD, nullptr,
                             &size, &bytes),
              ERROR_SUCCESS);
    EXPECT_GT(size, 1000u); // kilobytes
    EXPECT_EQ(Monitor(), nullptr) << "/NOSTART starts nothing";
}

TEST_F(Installer, TheRunValueStartsTheMonitorAndASilentInstallStartsItUnlessToldNot) {
    ASSERT_EQ(Install("/S"), 0u);
    EXPECT_TRUE(WaitForMonitor(true)) << "a silent install starts the monitor";
    EndMonitor();

    // What Windows runs at sign-in.
    const std::string command = RegString(kRunKey, kRunValue).value_or("");
    ASSERT_FALSE(command.empty());
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = command;
    ASSERT_TRUE(::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &si, &pi));
    ::CloseHandle(pi.hThread);
    EXPECT_TRUE(WaitForMonitor(true)) << command;
    EndMonitor();
    EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    ::CloseHandle(pi.hProcess);
}

TEST_F(Installer, AnUpgradeEndsTheRunningMonitorReplacesTheProgramsAndKeepsTheUsersFiles) {
    ASSERT_EQ(Install("/S"), 0u);
    ASSERT_TRUE(WaitForMonitor(true));
    const UserFiles mine;
    mine.Write();
    // Mark the install as an older one.
    TestFolder::WriteFile(InstallDir() + "readme.txt", "old readme");
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kAppKey, "DisplayVersion", REG_SZ, "1.00", 5);
    const std::string stagedReadme = TestFolder::ReadFile(Env("GM_STAGE") + "\\readme.txt");
    ASSERT_FALSE(stagedReadme.empty());

    ASSERT_EQ(Install("/S /NOSTART"), 0u);
    EXPECT_EQ(Monitor(), nullptr) << "the upgrade ended the running monitor";
    EXPECT_EQ(TestFolder::ReadFile(InstallDir() + "readme.txt"), stagedReadme);
    EXPECT_EQ(RegString(kAppKey, "DisplayVersion").value_or(""), kVersion);
    mine.ExpectKept();
}

TEST_F(Installer, AMonitorThatDoesNotEndIsReportedAndNothingIsReplaced) {
    ASSERT_EQ(Install("/S /NOSTART"), 0u);
    TestFolder::WriteFile(InstallDir() + "readme.txt", "old readme");
    StuckMonitor stuck;
    ASSERT_NE(stuck.hwnd(), nullptr);

    const DWORD start = ::GetTickCount();
    EXPECT_NE(Install("/S /NOSTART"), 0u);
    EXPECT_GE(::GetTickCount() - start, 4500u) << "the setup waited 5 s for the monitor";
    EXPECT_TRUE(::IsWindow(stuck.hwnd())) << "nothing was killed";
    EXPECT_EQ(TestFolder::ReadFile(InstallDir() + "readme.txt"), "old readme");
}

TEST_F(Installer, AFolderThatCannotBeWrittenChangesNothing) {
    TestFolder temp;
    const std::string file = temp / "a file";
    TestFolder::WriteFile(file, "not a folder");
    for (const std::string& target : {file + "\\Orvex", std::string("Q:\\Orvex Gaming Mouse")}) {
        SCOPED_TRACE(target);
        EXPECT_NE(Install("/S /NOSTART /D=" + target), 0u);
        EXPECT_FALSE(FolderExists(target));
        ExpectNothingRegistered();
        EXPECT_EQ(Monitor(), nullptr);
    }
    EXPECT_EQ(TestFolder::ReadFile(file), "not a folder");
}

// The visible top-level windows whose caption starts with `prefix`.
std::vector<HWND> WindowsTitled(const std::string& prefix) {
    struct Search {
        std::string prefix;
        std::vector<HWND> found;
    } search{prefix, {}};
    ::EnumWindows(
        [](HWND w, LPARAM p) noexcept -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            char title[256] = {};
            ::GetWindowTextA(w, title, sizeof title);
            if (::IsWindowVisible(w) && std::string(title).rfind(s->prefix, 0) == 0)
                s->found.push_back(w);
            return TRUE;
        },
        LPARAM(&search));
    return search.found;
}

TEST_F(Installer, ASecondSetupWhileOneRunsRefuses) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION first{};
    std::string cmd = SetupCommand();
    ASSERT_TRUE(::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &si, &first));
    ::CloseHandle(first.hThread);
    const std::string title = std::string("Orvex Gaming Mouse ") + kVersion + " Setup";
    ASSERT_TRUE(PumpUntil([&] { return !WindowsTitled(title).empty(); }));

    EXPECT_NE(Install("/S /NOSTART"), 0u);
    EXPECT_FALSE(FolderExists(InstallDir()));
    ExpectNothingRegistered();

    // The first one is still there, and Cancel ends it.
    ASSERT_EQ(WindowsTitled(title).size(), 1u);
    HWND wizard = WindowsTitled(title).front();
    ::PostMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
    if (::WaitForSingleObject(first.hProcess, 20000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the first setup did not end on Cancel";
        ::TerminateProcess(first.hProcess, 1);
    }
    ::CloseHandle(first.hProcess);
    EXPECT_FALSE(FolderExists(InstallDir()));
}

// Clicks through the interactive uninstaller: Uninstall, the answer to the
// keep question, Close.
void UninstallInteractively(bool keep) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + InstallDir() + "uninstall.exe\"";
    ASSERT_TRUE(::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &si, &pi));
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    bool asked = false, seen = false;
    const std::string title = std::string("Orvex Gaming Mouse ") + kVersion + " Uninstall";
    const bool done = PumpUntil(
        [&] {
            const auto windows = WindowsTitled(title);
            for (HWND w : windows) {
                seen = true;
                if (HWND no = ::GetDlgItem(w, IDNO)) { // the keep question
                    asked = true;
                    ::PostMessageA(w, WM_COMMAND, keep ? IDYES : IDNO,
                                   LPARAM(keep ? ::GetDlgItem(w, IDYES) : no));
                } else if (HWND next = ::GetDlgItem(w, IDOK);
                           next && ::IsWindowEnabled(next) && ::IsWindowVisible(next)) {
                    ::PostMessageA(w, WM_COMMAND, IDOK, LPARAM(next)); // Uninstall, then Close
                }
            }
            return seen && windows.empty() && !KeyExists(kAppKey);
        },
        90000);
    EXPECT_TRUE(done) << "the uninstaller did not finish";
    EXPECT_TRUE(asked) << "the uninstaller asked whether to keep the settings";
}

TEST_F(Installer, UninstallEndsTheSuiteAndKeepsOnlyTheSettingsWhenAsked) {
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "keep" : "remove");
        ASSERT_EQ(Install("/S"), 0u);
        ASSERT_TRUE(WaitForMonitor(true));
        const UserFiles mine;
        mine.Write();
        TestFolder::WriteFile(InstallDir() + "config.ini", "[Setting]\r\nCurrentProfile=2\r\n");

        UninstallInteractively(keep);
        EXPECT_EQ(Monitor(), nullptr);
        ExpectNothingRegistered();
        if (keep) {
            for (const auto& f : FilesBelow(InstallDir()))
                EXPECT_TRUE(f == "config.ini" || f == "hiddriver.ini" ||
                            f == "MouseEmulator.flash" || f.rfind("config\\", 0) == 0)
                    << f << " was left";
            mine.ExpectKept();
            // Reinstalling finds them again.
            ASSERT_EQ(Install("/S /NOSTART"), 0u);
            mine.ExpectKept();
            RunAndWait("\"" + InstallDir() + "uninstall.exe\" /S /REMOVESETTINGS");
            WaitForUninstall();
        }
        EXPECT_EQ(FilesBelow(InstallDir()), std::set<std::string>{});
        EXPECT_FALSE(FolderExists(InstallDir())) << "nothing is left";
    }
}

TEST_F(Installer, ASilentUninstallKeepsTheSettingsUnlessToldToRemoveThem) {
    ASSERT_EQ(Install("/S /NOSTART"), 0u);
    const UserFiles mine;
    mine.Write();
    RunAndWait("\"" + InstallDir() + "uninstall.exe\" /S");
    WaitForUninstall();
    ExpectNothingRegistered();
    EXPECT_EQ(
        FilesBelow(InstallDir()),
        (std::set<std::string>{"config\\Default2.gmp", "config\\sequence.dat", "hiddriver.ini"}));
    mine.ExpectKept();

    ASSERT_EQ(Install("/S /NOSTART"), 0u);
    RunAndWait("\"" + InstallDir() + "uninstall.exe\" /S /REMOVESETTINGS");
    WaitForUninstall();
    ExpectNothingRegistered();
    EXPECT_FALSE(FolderExists(InstallDir()));
}

} // namespace
