#pragma once
// What the end-to-end tests of the monitor's actions share: windows that
// record what reaches them, a message pump with a safety limit, and a
// fixture running the real Monitor.exe against a virtual mouse in a fresh
// install folder.
#include "emulator/tests/emulator_process.h"
#include "shared/settings_block.h"
#include "shared/shared_block_win.h"
#include "shared/tests/message_pump.h"
#include "shared/tests/test_process.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace gm::test {

inline constexpr const char* kMonitorWindow = "Orvex_Gaming_Mouse_Normal_Monitor";
inline constexpr const char* kOsdWindow = "Orvex_Gaming_Mouse_Normal_OSD";

inline std::string Hex(unsigned v, int width = 0) {
    char t[16];
    std::snprintf(t, sizeof t, "%0*X", width, v);
    return t;
}

// A window that records the input and scroll messages it receives, one
// short word each: "+41" key down, "-41" key up, "L+" left button down,
// "H0" WM_HSCROLL with SB_LINELEFT ("H0b" when it names a bar, "H0:name"
// when that bar was given a name), "C40045" WM_COMMAND, "U1256" a message
// from WM_USER on. With `keyParams` key words carry their lParam:
// "+27@014D0001".
class Recorder {
  public:
    Recorder(const char* cls, DWORD style, int x, int y, int w, int h, HWND parent = nullptr,
             const char* title = nullptr) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = cls;
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(0, cls, title ? title : cls, style, x, y, w, h, parent, nullptr,
                                 wc.hInstance, nullptr);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Recorder() {
        Names().erase(hwnd);
        ::DestroyWindow(hwnd);
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Foreground, keyboard focus and the cursor over its middle.
    void TakeFocus() {
        ::SetForegroundWindow(hwnd);
        ::SetFocus(hwnd);
        RECT r;
        ::GetWindowRect(hwnd, &r);
        ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::string Joined() const {
        std::string s;
        for (const auto& w : got)
            s += (s.empty() ? "" : " ") + w;
        return s;
    }
    int Count(const std::string& word) const {
        int n = 0;
        for (const auto& w : got)
            n += w == word;
        return n;
    }
    // The name a scroll message shows for the bar `bar`.
    static void Name(HWND bar, const std::string& name) { Names()[bar] = name; }

    HWND hwnd;
    bool keyParams = false;
    std::vector<std::string> got;

  private:
    static std::map<HWND, std::string>& Names() {
        static std::map<HWND, std::string> names;
        return names;
    }
    std::string Key(const char* sign, WPARAM wp, LPARAM lp) const {
        std::string w = sign + Hex(unsigned(wp));
        if (keyParams)
            w += "@" + Hex(unsigned(lp), 8);
        return w;
    }
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        auto* self = reinterpret_cast<Recorder*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self) {
            switch (msg) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                self->got.push_back(self->Key("+", wp, lp));
                break;
            case WM_KEYUP:
            case WM_SYSKEYUP:
                self->got.push_back(self->Key("-", wp, lp));
                break;
            case WM_LBUTTONDOWN:
                self->got.push_back("L+");
                break;
            case WM_LBUTTONUP:
                self->got.push_back("L-");
                break;
            case WM_RBUTTONDOWN:
                self->got.push_back("R+");
                break;
            case WM_RBUTTONUP:
                self->got.push_back("R-");
                break;
            case WM_XBUTTONDOWN:
                self->got.push_back("X" + std::to_string(HIWORD(wp)) + "+");
                break;
            case WM_XBUTTONUP:
                self->got.push_back("X" + std::to_string(HIWORD(wp)) + "-");
                break;
            case WM_HSCROLL: {
                std::string word = "H" + std::to_string(LOWORD(wp));
                if (lp) {
                    const auto name = Names().find(reinterpret_cast<HWND>(lp));
                    word += name != Names().end() ? ":" + name->second : "b";
                }
                self->got.push_back(word);
                return 0;
            }
            case WM_COMMAND:
                self->got.push_back("C" + std::to_string(wp));
                return 0;
            default:
                if (msg >= WM_USER && msg < 0xC000) {
                    self->got.push_back("U" + std::to_string(msg));
                    return 0;
                }
                break;
            }
        }
        return ::DefWindowProcA(h, msg, wp, lp);
    }
};

inline bool MachineKeyExists(const std::string& key, REGSAM view) {
    HKEY k;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &k) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(k);
    return true;
}

// A text value under HKEY_LOCAL_MACHINE in one registry view, for one test:
// the keys it had to create go again, a value it replaced comes back.
class MachineValue {
  public:
    MachineValue(const std::string& key, const char* value, const std::string& text, REGSAM view,
                 DWORD type = REG_SZ)
        : key_(key), value_(value ? value : ""), view_(view) {
        for (std::size_t end = key.find('\\');; end = key.find('\\', end + 1)) {
            const std::string part = key.substr(0, end);
            if (!MachineKeyExists(part, view)) {
                created_ = part;
                break;
            }
            if (end == std::string::npos)
                break;
        }
        HKEY k;
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                              KEY_READ | KEY_WRITE | view, nullptr, &k, nullptr) != ERROR_SUCCESS)
            return;
        if (created_.empty()) {
            char old[1024];
            DWORD size = sizeof old;
            if (::RegQueryValueExA(k, value, nullptr, &oldType_, reinterpret_cast<BYTE*>(old),
                                   &size) == ERROR_SUCCESS)
                old_.assign(old, size);
        }
        ok = ::RegSetValueExA(k, value, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                              DWORD(text.size() + 1)) == ERROR_SUCCESS;
        ::RegCloseKey(k);
    }
    ~MachineValue() {
        if (!created_.empty()) {
            const std::size_t cut = created_.find_last_of('\\');
            HKEY parent;
            if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, created_.substr(0, cut).c_str(), 0,
                                KEY_ALL_ACCESS | view_, &parent) == ERROR_SUCCESS) {
                ::RegDeleteTreeA(parent, created_.substr(cut + 1).c_str());
                ::RegCloseKey(parent);
            }
            return;
        }
        HKEY k;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_WRITE | view_, &k) !=
            ERROR_SUCCESS)
            return;
        const char* value = value_.empty() ? nullptr : value_.c_str();
        if (oldType_ != REG_NONE)
            ::RegSetValueExA(k, value, 0, oldType_, reinterpret_cast<const BYTE*>(old_.data()),
                             DWORD(old_.size()));
        else
            ::RegDeleteValueA(k, value);
        ::RegCloseKey(k);
    }
    MachineValue(const MachineValue&) = delete;
    MachineValue& operator=(const MachineValue&) = delete;

    bool ok = false;

  private:
    std::string key_, value_, created_, old_;
    REGSAM view_;
    DWORD oldType_ = REG_NONE;
};

inline std::string BuildDir() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

// Monitor.exe started after the virtual mouse, with a stand-in (or the real
// OSD.exe) as its display program; set up once the start-up read-back has
// shared the block. `block` is the configuration program's copy.
class ActionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string dir = mouse.folder().path();
        for (const char* f : {"Monitor.exe", "lan.dll"})
            ASSERT_TRUE(test::CopyFromBuildFolder(f, dir)) << f;
        if (realOsd_) {
            ASSERT_TRUE(test::CopyFromBuildFolder("OSD.exe", dir));
        }
        const std::string standin = BuildDir() + "standin_window.exe";
        for (const char* to : {"OSD.exe", "ran.exe"}) {
            if (realOsd_ && std::string(to) == "OSD.exe")
                continue;
            ASSERT_TRUE(::CopyFileA(standin.c_str(), (dir + to).c_str(), FALSE)) << to;
        }
        TestFolder::WriteFile(dir + "config.ini", "[Test]\r\nPacingPercent=1\r\n");
        BeforeStart();
        // Registry paths of players can name the install folder this way.
        ::SetEnvironmentVariableA("GM_TEST_FOLDER", dir.c_str());
        ASSERT_TRUE(mouse.Start());
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string line = "\"" + dir + "Monitor.exe\"";
        ASSERT_TRUE(test::CreateTestProcess(line, dir.c_str(), si, pi))
            << "error " << ::GetLastError();
        ::CloseHandle(pi.hThread);
        monitor_ = pi.hProcess;
        ASSERT_TRUE(PumpUntil([] { return ::FindWindowA(nullptr, kMonitorWindow) != nullptr; }));
        // The read-back at start-up ends by sharing the block; wait for it.
        ASSERT_TRUE(PumpUntil([&] {
            return (shared.IsOpen() || shared.Open()) && Config("Setting", "Device") == "1" &&
                   shared.CopyIn(block) && block.HasCurrentProfile();
        }));
        Settle(1500);
        ASSERT_TRUE(shared.CopyIn(block));
    }
    void TearDown() override {
        if (!monitor_)
            return;
        if (HWND w = ::FindWindowA(nullptr, kMonitorWindow))
            ::PostMessageA(w, WM_CLOSE, 0, 0);
        if (!PumpUntil([&] { return ::WaitForSingleObject(monitor_, 0) == WAIT_OBJECT_0; }))
            ::TerminateProcess(monitor_, 9);
        ::CloseHandle(monitor_);
    }
    // Files of the install folder that the monitor must find at start-up.
    virtual void BeforeStart() {}

    std::string dir() const { return mouse.folder().path(); }
    std::string Config(const char* section, const char* key) const {
        char text[512];
        ::GetPrivateProfileStringA(section, key, "", text, sizeof text,
                                   (dir() + "config.ini").c_str());
        return text;
    }
    std::string Log(const std::string& file) const {
        return TestFolder::ReadFile(dir() + file + ".log");
    }
    bool Started(const std::string& file) const {
        return Log(file).find("started") != std::string::npos;
    }
    ButtonView Button(int number) {
        return block.Profile(block.CurrentProfile()).Button(number - 1);
    }
    // Hands the edited block to the monitor, as the configuration program does.
    void Share() {
        ASSERT_TRUE(shared.CopyOut(block));
        ::SendMessageA(::FindWindowA(nullptr, kMonitorWindow), 1226, 0, 0);
    }
    // Applies the edited buttons as the configuration program does: the
    // monitor sends them to the mouse's button table (and macros), then
    // tells the dialog it is done.
    void ApplyButtons(std::initializer_list<int> numbers) {
        Recorder dialog("GmDialogStandIn", WS_POPUP, 0, 0, 10, 10, nullptr, "Brennick");
        block.SetAllFlags(0);
        for (int n : numbers)
            block.SetButtonChangeFlag(block.CurrentProfile(), n - 1, 1);
        ASSERT_TRUE(shared.CopyOut(block));
        ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1224, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return dialog.Count("U1256") > 0; })) << dialog.Joined();
    }
    void Event(unsigned cls, unsigned value) {
        ASSERT_TRUE(mouse.Command("event 0x" + Hex(cls) + " 0x" + Hex(value)).first);
    }
    // Waits until the monitor has handled every event sent so far: events
    // are handled in order, so a stage change sent behind them shows in the
    // shared block only after them.
    void AwaitEvents() {
        const int p = block.CurrentProfile();
        const int step = (block.Profile(p).Get(prof::CpiStep) + 1) % 5;
        Event(0xB000, unsigned(step + 1));
        ASSERT_TRUE(PumpUntil(
            [&] { return shared.CopyIn(block) && block.Profile(p).Get(prof::CpiStep) == step; }));
    }
    // The virtual mouse's own buttons: "press 4", "release 4", "click 4".
    void Mouse(const std::string& command) { ASSERT_TRUE(mouse.Command(command).first) << command; }
    void SetMacro(int number, std::vector<MacroEvent> events, int repeat,
                  const char* name = "Test macro") {
        ButtonView b = Button(number);
        b.Set(btn::FunctionType, uint8_t(fn::Macro));
        b.Set(btn::MacroName, name);
        b.Set(btn::RepeatCount, repeat);
        b.Set(btn::EventCount, uint16_t(events.size()));
        for (std::size_t i = 0; i < events.size(); ++i)
            b.SetEvent(int(i), events[i]);
    }

    bool realOsd_ = false;
    test::EmulatorProcess mouse;
    SharedBlock shared;
    SettingsBlock block;
    HANDLE monitor_ = nullptr;
};

inline constexpr uint8_t P = 1, R = 2;

} // namespace gm::test
