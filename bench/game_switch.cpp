// Game switching: from a game's window taking the foreground to report 5
// (the profile switch) reaching the virtual mouse, with the monitor told of
// foreground changes by the system, against the same monitor polling the
// foreground every 2 s ([Test] ForegroundPoll=1), measured the same way in
// the same run: once for a running game whose window comes to the front,
// once for a game that starts (its new window takes the foreground). The
// game is this program (its file is the profile's game); the window it
// comes from belongs to a copy of it named other.exe.
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
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace gm;

constexpr const char* kMonitorWindow = "Orvex_Gaming_Mouse_Normal_Monitor";

std::string Self() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

// Asks a window of ours to bring itself to the front, as a program does when
// the user switches to it.
constexpr UINT kComeToFront = WM_APP + 7;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == kComeToFront) {
        ::SetForegroundWindow(hwnd);
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

HWND MakeWindow(const char* title) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "GmGameSwitchWindow";
    ::RegisterClassA(&wc);
    return ::CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                             200, 120, nullptr, nullptr, wc.hInstance, nullptr);
}

// The window of a game or of another program: shown until it is closed.
int RunWindow(const char* title) {
    MakeWindow(title);
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

// The times (ms) of the mouse's log lines with `kind` ("set", "get")
// answered "ok", and, with `report` >= 0, of that report.
std::vector<double> Times(const std::string& log, const char* kind, int report = -1) {
    std::vector<double> times;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        double at = 0;
        char k[8] = "", ok[8] = "";
        unsigned id = 0;
        if (std::sscanf(line.c_str(), "%lf %7s %7s %x", &at, k, ok, &id) == 4 &&
            std::string(k) == kind && std::string(ok) == "ok" && (report < 0 || int(id) == report))
            times.push_back(at * 1000.0);
    }
    return times;
}

// The first of `times` at or after `since`; 0 when there is none.
double FirstAfter(const std::vector<double>& times, uint64_t since) {
    for (double t : times)
        if (t >= double(since))
            return t;
    return 0;
}

// One monitor against its own virtual mouse; the times of `rounds` switches.
struct Result {
    std::vector<double> took;     // ms from the window taking the foreground
    std::vector<double> asked;    // ms from the window being asked to come to the front
    std::vector<double> switched; // ms from the foreground to the switch seen in the shared block
    int missed = 0;               // rounds with no switch within 5 s
};

// How the game's window takes the foreground in each round.
enum class Way { ComesToFront, Starts };

Result Measure(bool poll, Way way, int rounds) {
    Result result;
    std::vector<double>& took = result.took;
    test::EmulatorProcess mouse;
    const std::string dir = mouse.folder().path();
    for (const char* f : {"Monitor.exe", "lan.dll"})
        if (!test::CopyFromBuildFolder(f, dir))
            return result;
    test::TestFolder::WriteFile(dir + "config.ini",
                                std::string("[Test]\r\nPacingPercent=1\r\nForegroundPoll=") +
                                    (poll ? "1" : "0") + "\r\n");
    ::CopyFileA(Self().c_str(), (dir + "other.exe").c_str(), FALSE);
    ::CopyFileA(Self().c_str(), (dir + "game.exe").c_str(), FALSE);
    if (!mouse.Start())
        return result;
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
    HANDLE otherProcess = nullptr, gameProcess = nullptr;
    SharedBlock shared;
    SettingsBlock block;
    HWND other = nullptr, game = nullptr;
    const auto log = [&] { return mouse.Command("log").second; };
    // Started, and the read-back at start over: the mouse's log holds still.
    std::string seen;
    const bool ready = test::PumpUntil(
        [&] {
            if (!::FindWindowA(nullptr, kMonitorWindow) || !shared.Open())
                return false;
            const std::string now = log();
            const bool still = now == seen && !Times(now, "get").empty();
            seen = now;
            if (!still)
                ::Sleep(1000);
            return still;
        },
        60000);
    if (ready) {
        // Started after the monitor, as programs usually are.
        otherProcess = start("\"" + dir + "other.exe\" --window");
        if (way == Way::ComesToFront)
            gameProcess = start("\"" + dir + "game.exe\" --window");
        test::PumpUntil(
            [&] {
                other = ::FindWindowA(nullptr, "other.exe");
                game = ::FindWindowA(nullptr, "game.exe");
                return other && (game || way == Way::Starts);
            },
            20000);
    }
    if (!ready || !other || (!game && way == Way::ComesToFront))
        std::fprintf(stderr, "not ready: monitor %p, other %p, game %p, log %zu bytes\n",
                     static_cast<void*>(::FindWindowA(nullptr, kMonitorWindow)),
                     static_cast<void*>(other), static_cast<void*>(game), seen.size());
    else if (shared.CopyIn(block)) {
        block.Profile(2).Set(prof::GameFile, dir + "game.exe");
        if (shared.CopyOut(block))
            ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1226, 0, 0);
        for (int i = 0; i < rounds; ++i) {
            // From the other program's window, with profile 1 on the mouse.
            ::PostMessageA(other, kComeToFront, 0, 0);
            if (!test::PumpUntil([&] { return ::GetForegroundWindow() == other; }, 3000)) {
                std::fprintf(stderr, "the other window did not come to the front\n");
                break;
            }
            test::PumpUntil([] { return false; }, 300);
            mouse.Command("profile 1");
            if (!test::PumpUntil(
                    [&] { return shared.CopyIn(block) && block.CurrentProfile() == 0; }, 5000)) {
                std::fprintf(stderr, "the mouse's profile 1 did not reach the monitor\n");
                break;
            }
            // The mouse stamps its log with the system's tick count; so is t0.
            // The log is read once the switch is seen in the shared block, so
            // no reading of ours competes with the monitor for the mouse.
            const uint64_t t0 = ::GetTickCount64();
            if (way == Way::Starts)
                gameProcess = start("\"" + dir + "game.exe\" --window");
            else
                ::PostMessageA(game, kComeToFront, 0, 0);
            // The moment the game's window has the foreground, to the tick.
            uint64_t front = 0;
            while (::GetTickCount64() - t0 < 5000) {
                if (way == Way::Starts && !game)
                    game = ::FindWindowA(nullptr, "game.exe");
                if (game && ::GetForegroundWindow() == game) {
                    front = ::GetTickCount64();
                    break;
                }
                ::Sleep(1);
            }
            // A game started for the round ends with it.
            const auto endRound = [&] {
                if (way != Way::Starts || !gameProcess)
                    return;
                if (game)
                    ::PostMessageA(game, WM_CLOSE, 0, 0);
                if (::WaitForSingleObject(gameProcess, 10000) != WAIT_OBJECT_0)
                    ::TerminateProcess(gameProcess, 9);
                ::CloseHandle(gameProcess);
                gameProcess = nullptr;
                game = nullptr;
            };
            if (!test::PumpUntil(
                    [&] { return shared.CopyIn(block) && block.CurrentProfile() == 2; }, 5000)) {
                ++result.missed;
                endRound();
                continue;
            }
            const uint64_t switched = ::GetTickCount64(); // within 10 ms
            double t1 = 0;
            test::PumpUntil([&] { return (t1 = FirstAfter(Times(log(), "set", 5), t0)) > 0; },
                            5000);
            endRound();
            if (t1 == 0) {
                std::fprintf(stderr, "report 5 did not reach the mouse\n");
                break;
            }
            result.asked.push_back(t1 - double(t0));
            if (front) {
                took.push_back(t1 - double(front));
                result.switched.push_back(double(switched - front));
            }
        }
    }
    for (HWND w : {other, game})
        if (w)
            ::PostMessageA(w, WM_CLOSE, 0, 0);
    if (HWND w = ::FindWindowA(nullptr, kMonitorWindow))
        ::PostMessageA(w, WM_CLOSE, 0, 0);
    for (HANDLE h : {monitor, otherProcess, gameProcess}) {
        if (!h)
            continue;
        if (::WaitForSingleObject(h, 15000) != WAIT_OBJECT_0)
            ::TerminateProcess(h, 9);
        ::CloseHandle(h);
    }
    shared.Close();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--window") {
        // Titled with its own file name.
        const std::string self = Self();
        return RunWindow(self.substr(self.find_last_of('\\') + 1).c_str());
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    for (const auto& [way, what] :
         {std::pair<Way, const char*>{Way::ComesToFront, "a running game's window comes"},
          {Way::Starts, "a game starts, its window"}}) {
        const Result hooked = Measure(false, way, rounds);
        const Result polled = Measure(true, way, rounds);
        std::printf("%s to the front, to report 5 at the mouse, %d rounds each:\n", what, rounds);
        for (const auto& [name, r] :
             {std::pair<const char*, const Result&>{"told by the system", hooked},
              {"2-second poll", polled}})
            std::printf("  %-20s median %7.1f ms  p90 %7.1f ms  (%zu switches, %d missed); "
                        "from the ask: median %7.1f ms; switch shared after %5.1f ms\n",
                        name, Percentile(r.took, 0.5), Percentile(r.took, 0.9), r.took.size(),
                        r.missed, Percentile(r.asked, 0.5), Percentile(r.switched, 0.5));
        if (!hooked.took.empty() && Percentile(hooked.took, 0.5) > 0)
            std::printf("  ratio poll / system %8.1f\n",
                        Percentile(polled.took, 0.5) / Percentile(hooked.took, 0.5));
    }
    return 0;
}
