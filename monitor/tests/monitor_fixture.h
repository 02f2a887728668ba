#pragma once
// The fixture of the monitor's end-to-end tests: the real Monitor.exe in a
// test folder with the virtual mouse, a window named "Brennick" standing in
// for the configuration dialog and stand-in programs for the display program
// and the applets.
#include "emulator/tests/emulator_process.h"
#include "monitor/tests/dialog_standin.h"
#include "shared/shared_block_win.h"
#include "shared/tests/message_pump.h"
#include "shared/tests/test_process.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace gm {

using test::TestFolder;

inline constexpr const char* kMonitorWindow = "Orvex_Gaming_Mouse_Normal_Monitor";

class MonitorTest : public ::testing::Test {
  protected:
    // `mode` as hiddriver.ini has it: "emulator", or "hid" for the virtual
    // mouse as a HID device reached through the HID transport.
    explicit MonitorTest(const std::string& mode = "emulator") : mouse(mode) {}

    void SetUp() override {
        const std::string dir = mouse.folder().path();
        for (const char* f : {"Monitor.exe", "lan.dll"})
            ASSERT_TRUE(test::CopyFromBuildFolder(f, dir)) << f;
        ::CreateDirectoryA((dir + "Applets").c_str(), nullptr);
        const std::string standin = win_dir() + "standin_window.exe";
        for (const char* to : {"OSD.exe", "Applets\\CpuRam.exe", "Applets\\EmailPOP3.EXE",
                               "Applets\\OSDSkype.exe", "Applets\\OSDMSN.exe", "Option.exe"})
            ASSERT_TRUE(::CopyFileA(standin.c_str(), (dir + to).c_str(), FALSE)) << to;
        // The protocol's fixed pauses at 1%, so the tests stay quick.
        TestFolder::WriteFile(dir + "config.ini", "[Test]\r\nPacingPercent=1\r\n");
    }
    void TearDown() override { StopMonitor(); }

    static std::string win_dir() {
        char path[MAX_PATH];
        const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
        std::string s(path, n);
        return s.substr(0, s.find_last_of('\\') + 1);
    }
    std::string dir() const { return mouse.folder().path(); }

    HANDLE StartProgram(const std::string& exe, const std::string& args = "") {
        std::string line = "\"" + dir() + exe + "\" " + args;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!test::CreateTestProcess(line, dir().c_str(), si, pi))
            return nullptr;
        ::CloseHandle(pi.hThread);
        return pi.hProcess;
    }
    HANDLE StartMonitor(const std::string& args = "") { return StartProgram("Monitor.exe", args); }
    // Starts the monitor and waits for its window. A monitor that ends before
    // its window appears is a start Wine's loader dropped: it is started
    // once more, and the retry counted (test::NoteFlaky).
    bool Launch(const std::string& args = "") {
        for (int attempt = 1;; ++attempt) {
            const ULONGLONG started = ::GetTickCount64();
            monitor_ = StartMonitor(args);
            if (!monitor_)
                return false;
            bool ended = false;
            const bool shown = dialog.WaitFor([&] {
                if (::FindWindowA(nullptr, kMonitorWindow))
                    return true;
                ended = ::WaitForSingleObject(monitor_, 0) == WAIT_OBJECT_0;
                return ended;
            });
            if (shown && !ended)
                return true;
            if (!ended || attempt == 2)
                return false;
            DWORD code = 0;
            ::GetExitCodeProcess(monitor_, &code);
            ::CloseHandle(monitor_);
            monitor_ = nullptr;
            test::NoteFlaky("the monitor ended with exit code " + std::to_string(code) + " after " +
                            std::to_string(::GetTickCount64() - started) +
                            " ms, before its window appeared; starting it once more");
        }
    }
    void StopMonitor() {
        if (!monitor_)
            return;
        if (HWND w = ::FindWindowA(nullptr, kMonitorWindow))
            ::PostMessageA(w, WM_CLOSE, 0, 0);
        const bool ended =
            dialog.WaitFor([&] { return ::WaitForSingleObject(monitor_, 0) == WAIT_OBJECT_0; });
        if (!ended)
            ::TerminateProcess(monitor_, 9);
        ::CloseHandle(monitor_);
        monitor_ = nullptr;
    }
    bool MonitorEnded(DWORD limitMs = 30000) {
        return dialog.WaitFor([&] { return ::WaitForSingleObject(monitor_, 0) == WAIT_OBJECT_0; },
                              limitMs);
    }

    std::string Config(const char* section, const char* key) const {
        char text[512];
        ::GetPrivateProfileStringA(section, key, "<missing>", text, sizeof text,
                                   (dir() + "config.ini").c_str());
        return text;
    }
    std::string StandInLog(const std::string& file) const {
        return TestFolder::ReadFile(dir() + file + ".log");
    }
    // The virtual mouse's log, one exchange a line: "set ok 05 03 02".
    std::vector<std::string> Exchanges() {
        std::vector<std::string> out;
        std::istringstream in(mouse.Command("log").second);
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string time, kind, ok, rest, b;
            words >> time >> kind >> ok;
            while (words >> b)
                rest += (rest.empty() ? "" : " ") + b;
            out.push_back(kind + " " + ok + " " + rest);
        }
        return out;
    }
    static bool Has(const std::vector<std::string>& log, const std::string& start) {
        for (const auto& l : log)
            if (l.rfind(start, 0) == 0)
                return true;
        return false;
    }
    // The system's mouse values as a fresh process reads them.
    std::string Probe() {
        ::DeleteFileA((dir() + "spiprobe.exe.log").c_str());
        HANDLE probe = StartProgram("spiprobe.exe");
        ::WaitForSingleObject(probe, 10000);
        ::CloseHandle(probe);
        return StandInLog("spiprobe.exe");
    }
    // Whether the monitor's notification-area icon is there: the shell only
    // modifies an icon that exists.
    static bool TrayIconShown() {
        NOTIFYICONDATAA nid{};
        nid.cbSize = sizeof nid;
        nid.hWnd = ::FindWindowA(nullptr, kMonitorWindow);
        nid.uID = 102;
        nid.uFlags = NIF_TIP;
        std::snprintf(nid.szTip, sizeof nid.szTip, "probe");
        return nid.hWnd && ::Shell_NotifyIconA(NIM_MODIFY, &nid);
    }
    std::string LastSet() {
        const auto log = Exchanges();
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->rfind("set", 0) == 0)
                return *it;
        return {};
    }
    // The virtual mouse, then the monitor, then its first read-back; a step
    // that fails says so, with how the monitor stands.
    bool StartedWithMouse() {
        const char* failed = !mouse.Start()    ? "the virtual mouse did not start"
                             : !Launch()       ? "the monitor's window did not appear within 30 s"
                             : !ReadBackDone() ? "the monitor's read-back did not end within 30 s"
                                               : nullptr;
        if (!failed)
            return true;
        DWORD code = STILL_ACTIVE;
        if (monitor_)
            ::GetExitCodeProcess(monitor_, &code);
        std::fprintf(stderr, "%s; the monitor %s\n", failed,
                     !monitor_ ? "was not started"
                     : code == STILL_ACTIVE
                         ? "runs"
                         : ("ended with exit code " + std::to_string(code)).c_str());
        return false;
    }
    // The configuration program's view: the shared block and a copy of it.
    static bool OpenShared(SharedBlock& shared, SettingsBlock& block) {
        return shared.Open() && shared.CopyIn(block);
    }
    bool ReadBackDone() {
        return dialog.WaitFor([&] { return dialog.Count(1254) > 0; });
    }

    test::EmulatorProcess mouse;
    DialogStandIn dialog;
    HANDLE monitor_ = nullptr;
};

} // namespace gm
