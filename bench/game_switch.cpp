// Game switching: from a game's window taking the foreground to report 5
// (the profile switch) reaching the virtual mouse, with the monitor told of
// foreground changes by the system, against the same monitor polling the
// foreground every 2 s ([Test] ForegroundPoll=1), measured the same way in
// the same run. The game is this program (its file is the profile's game);
// the window it comes from belongs to a copy of it named other.exe.
//   bash tools/with-wine.sh build/windows/wineprefix wine build/windows/bin/game_switch.exe
//   [rounds]
#include "emulator/tests/emulator_process.h"
#include "shared/settings_block.h"
#include "shared/shared_block_win.h"
#include "shared/tests/message_pump.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace gm;

constexpr const char* kMonitorWindow = "Orvex_Gaming_Mouse_Normal_Monitor";

double NowMs() {
    static LARGE_INTEGER freq{};
    if (!freq.QuadPart)
        ::QueryPerformanceFrequency(&freq);
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(freq.QuadPart);
}

std::string Self() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

HWND MakeWindow(const char* title) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "GmGameSwitchWindow";
    ::RegisterClassA(&wc);
    return ::CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                             200, 120, nullptr, nullptr, wc.hInstance, nullptr);
}

// The window of another program: shown until it is closed.
int RunOther() {
    MakeWindow("Other window");
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    return 0;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5))];
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// One monitor against its own virtual mouse; the times of `rounds` switches.
std::vector<double> Measure(bool poll, int rounds, HWND game) {
    std::vector<double> took;
    test::EmulatorProcess mouse;
    const std::string dir = mouse.folder().path();
    for (const char* f : {"Monitor.exe", "lan.dll"})
        if (!test::CopyFromBuildFolder(f, dir))
            return took;
    test::TestFolder::WriteFile(dir + "config.ini",
                                std::string("[Test]\r\nPacingPercent=1\r\nForegroundPoll=") +
                                    (poll ? "1" : "0") + "\r\n");
    ::CopyFileA(Self().c_str(), (dir + "other.exe").c_str(), FALSE);
    if (!mouse.Start())
        return took;
    auto start = [&](const std::string& line) {
        std::string l = line;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, l.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                              &si, &pi))
            return HANDLE(nullptr);
        ::CloseHandle(pi.hThread);
        return pi.hProcess;
    };
    HANDLE monitor = start("\"" + dir + "Monitor.exe\"");
    HANDLE otherProcess = start("\"" + dir + "other.exe\" --other");
    SharedBlock shared;
    SettingsBlock block;
    HWND other = nullptr;
    const auto log = [&] { return mouse.Command("log").second; };
    // Started, and the read-back at start over: the mouse's log holds still.
    std::string seen;
    const bool ready = test::PumpUntil(
        [&] {
            other = ::FindWindowA(nullptr, "Other window");
            if (!other || !::FindWindowA(nullptr, kMonitorWindow) || !shared.Open())
                return false;
            const std::string now = log();
            const bool still = now == seen && Count(now, "get ok") > 0;
            seen = now;
            if (!still)
                ::Sleep(1000);
            return still;
        },
        60000);
    if (ready && shared.CopyIn(block)) {
        block.Profile(2).Set(prof::GameFile, Self());
        if (shared.CopyOut(block))
            ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1226, 0, 0);
        for (int i = 0; i < rounds; ++i) {
            // From the other program's window, with profile 1 on the mouse.
            ::SetForegroundWindow(other);
            test::PumpUntil([] { return false; }, 300);
            mouse.Command("profile 1");
            if (!test::PumpUntil([&] { return shared.CopyIn(block) && block.CurrentProfile() == 0; },
                                 5000))
                break;
            const int before = Count(log(), "set ok 05");
            const double t0 = NowMs();
            ::SetForegroundWindow(game);
            double t1 = 0;
            while (NowMs() - t0 < 5000) {
                MSG m;
                while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
                    ::DispatchMessageA(&m);
                if (Count(log(), "set ok 05") > before) {
                    t1 = NowMs();
                    break;
                }
                ::Sleep(1);
            }
            if (t1 == 0)
                break;
            took.push_back(t1 - t0);
        }
    }
    if (HWND w = ::FindWindowA(nullptr, "Other window"))
        ::PostMessageA(w, WM_CLOSE, 0, 0);
    if (HWND w = ::FindWindowA(nullptr, kMonitorWindow))
        ::PostMessageA(w, WM_CLOSE, 0, 0);
    for (HANDLE h : {monitor, otherProcess}) {
        if (!h)
            continue;
        if (::WaitForSingleObject(h, 15000) != WAIT_OBJECT_0)
            ::TerminateProcess(h, 9);
        ::CloseHandle(h);
    }
    shared.Close();
    return took;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--other")
        return RunOther();
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    HWND game = MakeWindow("A game");
    const std::vector<double> hooked = Measure(false, rounds, game);
    const std::vector<double> polled = Measure(true, rounds, game);
    std::printf("a game's window in front to report 5 at the mouse, %d rounds each:\n", rounds);
    std::printf("  told by the system   median %7.1f ms  p90 %7.1f ms  (%zu switches)\n",
                Percentile(hooked, 0.5), Percentile(hooked, 0.9), hooked.size());
    std::printf("  2-second poll        median %7.1f ms  p90 %7.1f ms  (%zu switches)\n",
                Percentile(polled, 0.5), Percentile(polled, 0.9), polled.size());
    if (!hooked.empty() && Percentile(hooked, 0.5) > 0)
        std::printf("  ratio poll / system %8.1f\n", Percentile(polled, 0.5) / Percentile(hooked, 0.5));
    return hooked.size() == std::size_t(rounds) && polled.size() == std::size_t(rounds) ? 0 : 1;
}
