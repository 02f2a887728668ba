// Timing of the monitor's actions as a receiving window sees them:
//  - macro: a 40-event macro with pauses of 1-50 ms, five rounds (200
//    injected events); error of each arrival against its schedule counted
//    from the first arrival: median, 99th percentile, and the drift (error
//    of the last event), in ms;
//  - the baseline: the same 200 events played the plain way from a thread of
//    this program (sleep the pause, then inject), measured the same way;
//  - latency: from a button event posted to the monitor (message 1325) to
//    the first injected key arriving, 200 presses: median and 99th percentile.
// Runs the real Monitor.exe from a temporary folder (no mouse needed).
//   bash tools/with-wine.sh build/windows/wineprefix wine build/windows/bin/action_timing.exe
#include "shared/settings_block.h"
#include "shared/shared_block_win.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

LARGE_INTEGER g_freq;
std::vector<double> g_arrivals; // ms, one per key message
int g_downs = 0;

double NowMs() {
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(g_freq.QuadPart);
}

LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
        g_arrivals.push_back(NowMs());
        g_downs += msg == WM_KEYDOWN;
        return 0;
    }
    return ::DefWindowProcA(h, msg, wp, lp);
}

bool Pump(bool (*done)(), double limitMs) {
    const double end = NowMs() + limitMs;
    while (NowMs() < end) {
        MSG m;
        while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&m);
        if (done())
            return true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return false;
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5))];
}

// Each arrival against its schedule; the schedule's start is the median of
// (arrival - offset), so a late first event does not skew the rest.
std::vector<double> Errors(const std::vector<double>& arrivals, const std::vector<double>& schedule,
                           double roundMs) {
    std::vector<double> raw;
    for (std::size_t i = 0; i < arrivals.size() && i < 200; ++i)
        raw.push_back(arrivals[i] - (double(i / 40) * roundMs + schedule[i % 40]));
    const double start = raw.empty() ? 0 : Percentile(raw, 0.5);
    std::vector<double> errors;
    for (double r : raw)
        errors.push_back(r - start);
    return errors;
}

std::vector<double> Absolute(std::vector<double> v) {
    for (double& e : v)
        e = std::fabs(e);
    return v;
}

std::string Here() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

} // namespace

int main() {
    ::QueryPerformanceFrequency(&g_freq);
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "gm_action_timing\\";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    for (const char* f : {"Monitor.exe", "lan.dll"})
        ::CopyFileA((Here() + f).c_str(), (dir + f).c_str(), FALSE);

    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "GmTimingTarget";
    ::RegisterClassA(&wc);
    HWND target = ::CreateWindowExA(0, wc.lpszClassName, "timing", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    50, 50, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetForegroundWindow(target);
    ::SetFocus(target);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = "\"" + dir + "Monitor.exe\"";
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                          &si, &pi))
        return 1;
    static gm::SharedBlock shared;
    static gm::SettingsBlock block;
    HWND monitor = nullptr;
    for (int i = 0; i < 300 && !(monitor && shared.Open()); ++i) {
        ::Sleep(50);
        monitor = ::FindWindowA(nullptr, "Orvex_Gaming_Mouse_Normal_Monitor");
    }
    if (!monitor || !shared.CopyIn(block)) {
        std::puts("monitor did not start");
        ::TerminateProcess(pi.hProcess, 1);
        return 1;
    }
    int p = block.CurrentProfile();
    if (!gm::SettingsBlock::IsProfileIndex(p)) {
        p = 0;
        block.SetCurrentProfile(0);
    }
    gm::ButtonView key = block.Profile(p).Button(4);
    key.Set(gm::btn::FunctionType, uint8_t(gm::fn::Key));
    key.Set(gm::btn::KeyUsage, 0x04);
    key.Set(gm::btn::KeyModifiers, 0);
    gm::ButtonView macro = block.Profile(p).Button(3);
    macro.Set(gm::btn::FunctionType, uint8_t(gm::fn::Macro));
    macro.Set(gm::btn::RepeatCount, 5);
    macro.Set(gm::btn::EventCount, 40);
    std::vector<double> schedule; // offsets of one round's events, and the round length
    double t = 0;
    for (int i = 0; i < 40; ++i) {
        const uint16_t pause = uint16_t(1 + (i * 37) % 50); // 1-50 ms, mixed
        macro.SetEvent(i, {uint8_t(0x04 + (i / 2) % 20), uint8_t(i % 2 ? 2 : 1), pause});
        schedule.push_back(t);
        t += pause;
    }
    const double roundMs = t;
    if (!shared.CopyOut(block))
        return 1;
    ::SendMessageA(monitor, 1226, 0, 0);

    // Latency: press and release button 5, 200 times.
    std::vector<double> latency;
    for (int i = 0; i < 200; ++i) {
        g_arrivals.clear();
        const double t0 = NowMs();
        ::PostMessageA(monitor, 1325, 0x5000, 5);
        if (!Pump([] { return !g_arrivals.empty(); }, 2000))
            break;
        latency.push_back(g_arrivals.front() - t0);
        ::PostMessageA(monitor, 1325, 0x5000, 0x0105);
        Pump([] { return g_arrivals.size() >= 2; }, 2000);
    }

    // Macro: 200 events.
    g_arrivals.clear();
    ::PostMessageA(monitor, 1325, 0x4000, 4);
    ::PostMessageA(monitor, 1325, 0x4000, 0x0104);
    Pump([] { return g_arrivals.size() >= 200; }, 20000);
    const std::vector<double> errors = Errors(g_arrivals, schedule, roundMs);

    // The baseline: the same events from a thread of ours, sleeping each pause.
    g_arrivals.clear();
    std::thread plain([&] {
        for (int round = 0; round < 5; ++round)
            for (int i = 0; i < 40; ++i) {
                ::keybd_event(BYTE('A' + (i / 2) % 20), 0, i % 2 ? KEYEVENTF_KEYUP : 0, 0);
                ::Sleep(DWORD(1 + (i * 37) % 50));
            }
    });
    Pump([] { return g_arrivals.size() >= 200; }, 20000);
    plain.join();
    const std::vector<double> plainErrors = Errors(g_arrivals, schedule, roundMs);
    auto meanOf = [&](std::size_t from, std::size_t to) {
        double sum = 0;
        for (std::size_t i = from; i < to; ++i)
            sum += errors[i];
        return sum / double(to - from);
    };

    ::PostMessageA(monitor, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 1);
    shared.Close();
    ::DeleteFileA((dir + "Monitor.exe").c_str());

    if (errors.size() < 200 || plainErrors.size() < 200 || latency.empty()) {
        std::printf("incomplete: %zu events, %zu plain, %zu presses\n", errors.size(),
                    plainErrors.size(), latency.size());
        return 1;
    }
    const std::vector<double> absErr = Absolute(errors), plainAbs = Absolute(plainErrors);
    std::printf("macro timing, 200 events (40 x 5 rounds, pauses 1-50 ms, %.0f ms a round)\n",
                roundMs);
    std::printf("  error median %.3f ms  p99 %.3f ms  max %.3f ms\n", Percentile(absErr, 0.5),
                Percentile(absErr, 0.99), Percentile(absErr, 1.0));
    std::printf("  drift (last round's mean error - first round's) %+.3f ms; last event %+.3f ms; "
                "first event %+.3f ms\n",
                meanOf(160, 200) - meanOf(1, 40), errors.back(), errors.front());
    std::printf("the same events played the plain way (sleep the pause, then inject)\n");
    std::printf("  error median %.3f ms  p99 %.3f ms  max %.3f ms\n", Percentile(plainAbs, 0.5),
                Percentile(plainAbs, 0.99), Percentile(plainAbs, 1.0));
    std::printf("  ratio monitor / plain: median %.3f  p99 %.3f\n",
                Percentile(absErr, 0.5) / std::max(1e-9, Percentile(plainAbs, 0.5)),
                Percentile(absErr, 0.99) / std::max(1e-9, Percentile(plainAbs, 0.99)));
    std::printf("button event to first injected key, %zu presses\n", latency.size());
    std::printf("  latency median %.3f ms  p99 %.3f ms\n", Percentile(latency, 0.5),
                Percentile(latency, 0.99));
    return 0;
}
