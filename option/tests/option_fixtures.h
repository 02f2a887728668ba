#pragma once
// The fixtures of the configuration program's end-to-end tests: Option.exe
// against a stand-in monitor (a window of the monitor's name and the shared
// block it creates), or against the real Monitor.exe and the virtual mouse.
#include "emulator/tests/emulator_process.h"
#include "option/tests/option_driver.h"
#include "shared/settings_block.h"
#include "shared/shared_block_win.h"
#include "shared/tests/test_folder.h"
#include "skin/control_record.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace gm::test {

// Drops this process's cached copy of a private-profile file, so the next
// read sees what another program wrote last. Wine's cache notices a change
// by the file's write time alone, which moves in ticks of a few
// milliseconds: a read between two writes of one save can otherwise stay
// with the first for good.
inline void ForgetCachedProfile(const std::string& path) {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

enum Key {
    kNew = 1,
    kImport = 2,
    kExport = 3,
    kEdit = 4,
    kSelector1 = 5,
    kClose = 11,
    kOk = 12,
    kApply = 13,
    kCancel = 14,
    kLabel1 = 15,
    kTab1 = 35
};

struct Posted {
    UINT msg;
    WPARAM wp;
};

// What the configuration program sees of a monitor: its window and its shared block.
class MonitorStandIn {
  public:
    explicit MonitorStandIn(const char* name = "Orvex_Gaming_Mouse_Normal_Monitor") {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "GmMonitorStandIn";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(0, wc.lpszClassName, name, WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MonitorStandIn() { ::DestroyWindow(hwnd); }
    bool CreateBlock() {
        if (!shared.Create())
            return false;
        SettingsBlock block;
        block.SetCurrentProfile(0);
        for (int p = 0; p < kProfileCount; ++p) {
            block.Profile(p).MakeDefault(p, LevelSet::Monitor);
            block.Profile(p).Set(prof::ProFileName, "Shared " + std::to_string(p + 1));
        }
        return shared.CopyOut(block);
    }
    SettingsBlock Block() {
        SettingsBlock b;
        EXPECT_TRUE(shared.CopyIn(b));
        return b;
    }
    int Count(UINT msg) const {
        int n = 0;
        for (const Posted& p : got)
            n += p.msg == msg;
        return n;
    }

    HWND hwnd;
    SharedBlock shared;
    std::vector<Posted> got;
    std::vector<LPARAM> lps;

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        auto* self = reinterpret_cast<MonitorStandIn*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self && msg == 1224) {
            self->got.push_back({msg, wp});
            self->lps.push_back(lp);
            return 0;
        }
        return ::DefWindowProcA(h, msg, wp, lp);
    }
};

class OptionTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(test::InstallOption(dir())); }
    void TearDown() override {
        CloseOption();
        test::KillProcessesIn(dir());
    }
    void CloseOption() {
        if (option_) {
            if (main_ && ::IsWindow(main_))
                ::PostMessageA(main_, WM_CLOSE, 0, 0);
            if (!test::Ended(option_, 10000))
                ::TerminateProcess(option_, 9);
            ::CloseHandle(option_);
            option_ = nullptr;
        }
    }
    virtual std::string dir() const { return folder_.path(); }
    std::string Skin(const char* ini) const { return dir() + "skins\\" + ini; }

    bool StartOption() {
        option_ = test::StartProcess(dir(), "Option.exe");
        return option_ && FoundMain();
    }
    bool FoundMain() {
        const bool found = PumpUntil([&] {
            main_ = ::FindWindowA(nullptr, "Brennick");
            // The controls' windows are made right after the first paint,
            // in the order the controls were created: the main dialog's,
            // then the buttons page's, its Edit profile (39) last.
            if (!main_ || !::IsWindowVisible(main_) || !Button(kApply))
                return false;
            const HWND page = ShownPage();
            return page && test::ControlAt(page, Skin("skin_button_page.ini"), 39) != nullptr;
        });
        if (!found)
            ADD_FAILURE() << "main " << main_ << " visible " << (main_ && ::IsWindowVisible(main_))
                          << " ended "
                          << (option_ && ::WaitForSingleObject(option_, 0) == WAIT_OBJECT_0)
                          << " skin " << TestFolder::Exists(Skin("skin_main.ini"));
        return found;
    }
    HWND Button(int key) const { return test::ControlAt(main_, Skin("skin_main.ini"), key); }
    bool Enabled(int key) const { return ::IsWindowEnabled(Button(key)) != FALSE; }
    bool ClosedAndEnded() { return test::Ended(option_, 15000); }

    // Edit (mode 0) or New (mode 1): the profile dialog, a name typed, OK.
    void Rename(int key, const std::string& name) {
        Click(Button(key));
        HWND dialog = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (dialog = test::OwnedPopup(main_)) != nullptr; }));
        const HWND edit = test::ControlAt(dialog, Skin("skin_profile.ini"), 1);
        ASSERT_TRUE(edit);
        ::SendMessageA(edit, EM_SETSEL, 0, -1);
        test::Type(edit, name);
        ASSERT_TRUE(PumpUntil([&] { return test::TextOf(edit) == name; }));
        Click(test::ControlAt(dialog, Skin("skin_profile.ini"), 4));
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }));
    }
    // The page shown in the main dialog's page area.
    HWND ShownPage() const {
        char area[128] = "";
        ::GetPrivateProfileStringA("BUTTONPOS", "42", "", area, sizeof area,
                                   Skin("skin_main.ini").c_str());
        const skin::ControlRecord r = skin::ParseControlRecord(area);
        for (HWND c = ::GetWindow(main_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            RECT w{};
            ::GetWindowRect(c, &w);
            ::MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&w), 2);
            if (w.left == r.left && w.top == r.top && ::IsWindowVisible(c))
                return c;
        }
        return nullptr;
    }
    std::string Label(int profile) const { return test::TextOf(Button(kLabel1 + profile)); }
    // A command of a button's function menu on the buttons page: the menu
    // opened by a click and closed, then its command.
    void ChooseFunction(HWND page, int button, int command) {
        Click(test::ControlAt(page, Skin("skin_button_page.ini"), 20 + button));
        HWND menu = nullptr;
        ASSERT_TRUE(PumpUntil(
            [&] { return (menu = ::FindWindowA("#32768", nullptr)) && ::IsWindowVisible(menu); }));
        ::PostMessageA(page, WM_CANCELMODE, 0, 0);
        ::PostMessageA(main_, WM_CANCELMODE, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(menu) || !::IsWindowVisible(menu); }));
        ::PostMessageA(page, WM_COMMAND, WPARAM(command), 0);
    }
    std::string Config(const char* section, const char* key) const {
        char text[2048];
        const std::string path = dir() + "config.ini";
        ForgetCachedProfile(path);
        ::GetPrivateProfileStringA(section, key, "<missing>", text, sizeof text, path.c_str());
        return text;
    }
    std::string ProfileKey(int profile, const char* key) const {
        char text[600];
        const std::string path = dir() + "config\\Default" + std::to_string(profile) + ".gmp";
        ForgetCachedProfile(path);
        ::GetPrivateProfileStringA("Setting", key, "<missing>", text, sizeof text, path.c_str());
        return text;
    }

    TestFolder folder_;
    HANDLE option_ = nullptr;
    HWND main_ = nullptr;
};

// ---- With a stand-in monitor --------------------------------------------------

class OptionWithMonitorTest : public OptionTest {
  protected:
    void SetUp() override {
        OptionTest::SetUp();
        ASSERT_TRUE(monitor.CreateBlock());
    }
    // Apply pressed; the notice reached the monitor.
    void ApplyAndWaitForNotice() {
        const int before = monitor.Count(1224);
        Click(Button(kApply));
        ASSERT_TRUE(PumpUntil([&] { return monitor.Count(1224) > before; }));
    }
    void AnswerApply() { ::PostMessageA(main_, 1256, 0, 0); }
    MonitorStandIn monitor;
};

class OptionJourneyTest : public OptionTest {
  protected:
    void SetUp() override {
        OptionTest::SetUp();
        for (const char* f : {"Monitor.exe", "lan.dll"})
            ASSERT_TRUE(test::CopyFromBuildFolder(f, dir())) << f;
        TestFolder::WriteFile(dir() + "config.ini", "[Test]\r\nPacingPercent=1\r\n");
    }
    void TearDown() override {
        if (HWND w = ::FindWindowA(nullptr, "Orvex_Gaming_Mouse_Normal_Monitor"))
            ::PostMessageA(w, WM_CLOSE, 0, 0);
        if (monitor_ && !test::Ended(monitor_, 30000))
            ::TerminateProcess(monitor_, 9);
        if (monitor_)
            ::CloseHandle(monitor_);
        CloseOption();
        // The virtual mouse lives in the install folder: it quits on its own
        // before whatever is left there is ended.
        mouse.Stop();
        test::KillProcessesIn(dir());
    }
    std::string dir() const override { return mouse.folder().path(); }
    // The virtual mouse's log with its columns closed up: "set ok 05 03 02".
    std::string MouseLog() {
        std::string out;
        for (char c : mouse.Command("log").second)
            if (!(c == ' ' && !out.empty() && out.back() == ' '))
                out += c;
        return out;
    }

    test::EmulatorProcess mouse;
    HANDLE monitor_ = nullptr;
};

} // namespace gm::test
