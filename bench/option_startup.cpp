// Start-up of the configuration program: from CreateProcess of Option.exe to
// its main dialog shown and painted (visible, nothing left to paint in it or
// in any of its controls' windows; the controls shown at start are drawn by
// the dialog's first paint and get their windows right after it, which the
// split shows as "control windows made"),
// against a bare skinned dialog of the same size and skin built with the
// same toolkit, measured the same way in the same run. Both run from a
// temporary install folder without a monitor, stripped as the installer
// ships them. The start-up marks of both (GM_STARTUP_MARKS) split their time
// into phases, printed as medians; the starts that write marks are not the
// ones timed.
//   bash tools/with-wine.sh build/windows/wineprefix wine build/windows/bin/option_startup.exe
//   [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Folder(const std::string& path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

bool CopyTree(const std::string& from, const std::string& to) {
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA f{};
    HANDLE h = ::FindFirstFileA((from + "\\*").c_str(), &f);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    do {
        const std::string n = f.cFileName;
        if (n == "." || n == "..")
            continue;
        if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + "\\" + n, to + "\\" + n);
        else
            ::CopyFileA((from + "\\" + n).c_str(), (to + "\\" + n).c_str(), FALSE);
    } while (::FindNextFileA(h, &f));
    ::FindClose(h);
    return true;
}

double NowMs() {
    static LARGE_INTEGER freq{};
    if (!freq.QuadPart)
        ::QueryPerformanceFrequency(&freq);
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(freq.QuadPart);
}

struct Phase {
    std::string name;
    double ms;
};

// The marks a run left, as the time each phase took since the one before
// (the first since the process was created); the same mark seen again is
// numbered ("tab", "tab 2", ...).
std::vector<Phase> ReadPhases(const std::string& file, double start) {
    std::vector<Phase> phases;
    std::ifstream in(file);
    std::map<std::string, int> seen;
    std::string line;
    double last = start;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        double at = 0;
        std::string name;
        if (!(words >> at) || !std::getline(words >> std::ws, name))
            continue;
        if (!name.empty() && name.back() == '\r')
            name.pop_back();
        if (const int n = ++seen[name]; n > 1)
            name += " " + std::to_string(n);
        phases.push_back({name, at - last});
        last = at;
    }
    return phases;
}

// Shown, with nothing left to paint in it or in any window shown inside it.
bool ShownAndPainted(HWND w) {
    if (!::IsWindowVisible(w) || ::GetUpdateRect(w, nullptr, FALSE))
        return false;
    bool painted = true;
    ::EnumChildWindows(
        w,
        [](HWND child, LPARAM all) -> BOOL {
            if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) {
                *reinterpret_cast<bool*>(all) = false;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&painted));
    return painted;
}

// Milliseconds until the window of `title` is shown and fully painted; -1 on
// failure. With `marks`, the program's start-up marks go to that file.
double TimeToFirstPaint(const std::string& dir, const char* exe, const char* title,
                        std::vector<Phase>* phases = nullptr) {
    const std::string marks = dir + "startup_marks.txt";
    ::DeleteFileA(marks.c_str());
    ::SetEnvironmentVariableA("GM_STARTUP_MARKS", phases ? marks.c_str() : nullptr);
    std::string line = "\"" + dir + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = NowMs();
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                          &si, &pi))
        return -1;
    double took = -1;
    HWND w = nullptr;
    while (NowMs() - start < 30000) {
        // Looked for until found, then watched: a search every millisecond
        // asks the server about every top-level window and slows the start.
        if (!w)
            w = ::FindWindowA(nullptr, title);
        if (w && ShownAndPainted(w)) {
            took = NowMs() - start;
            break;
        }
        ::Sleep(1);
    }
    if (w)
        ::PostMessageA(w, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 9);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    if (phases) {
        *phases = ReadPhases(marks, start);
        double marked = 0;
        for (const Phase& p : *phases)
            marked += p.ms;
        phases->push_back({"until seen shown and painted", took - marked});
    }
    return took;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The phases of many runs, in the order first seen.
struct Split {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> ms;
    void Add(const std::vector<Phase>& phases) {
        for (const Phase& p : phases) {
            if (ms.find(p.name) == ms.end())
                order.push_back(p.name);
            ms[p.name].push_back(p.ms);
        }
    }
    void Print() {
        for (const std::string& name : order)
            std::printf("  %-28s%8.1f ms\n", name.c_str(), Median(ms[name]));
    }
};

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string bin = Folder(self);
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "gm_option_startup\\";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    CopyTree(bin + "skins", dir + "skins");
    for (const char* f : {"Option.exe", "lan.dll", "bare_skinned_dialog.exe"})
        ::CopyFileA((bin + "startup_programs\\" + f).c_str(), (dir + f).c_str(), FALSE);

    std::vector<double> option, bare;
    // One unmeasured start of each warms the file cache.
    TimeToFirstPaint(dir, "Option.exe", "Brennick");
    TimeToFirstPaint(dir, "bare_skinned_dialog.exe", "Bare skinned dialog");
    // The timed starts write no marks (a mark is a file write); the split
    // comes from starts of their own, with marks, in between.
    Split optionSplit, bareSplit;
    for (int i = 0; i < runs; ++i) {
        option.push_back(TimeToFirstPaint(dir, "Option.exe", "Brennick"));
        bare.push_back(TimeToFirstPaint(dir, "bare_skinned_dialog.exe", "Bare skinned dialog"));
        std::vector<Phase> phases;
        TimeToFirstPaint(dir, "Option.exe", "Brennick", &phases);
        optionSplit.Add(phases);
        TimeToFirstPaint(dir, "bare_skinned_dialog.exe", "Bare skinned dialog", &phases);
        bareSplit.Add(phases);
    }
    const double o = Median(option), b = Median(bare);
    // The machine's speed drifts over a run of many starts; each Option start
    // against the bare start right after it cancels most of that.
    std::vector<double> paired;
    for (std::size_t i = 0; i < option.size() && i < bare.size(); ++i)
        if (option[i] > 0 && bare[i] > 0)
            paired.push_back(option[i] / bare[i]);
    std::printf("start to first paint, median of %d runs:\n", runs);
    std::printf("  Option.exe main dialog      %8.1f ms (min %.1f, max %.1f)\n", o,
                *std::min_element(option.begin(), option.end()),
                *std::max_element(option.begin(), option.end()));
    std::printf("  bare skinned dialog         %8.1f ms (min %.1f, max %.1f)\n", b,
                *std::min_element(bare.begin(), bare.end()),
                *std::max_element(bare.begin(), bare.end()));
    std::printf("  ratio Option / bare         %8.2f\n", b > 0 ? o / b : 0.0);
    std::printf(
        "  median of paired ratios     %8.2f (each Option start / the bare start after it)\n",
        Median(paired));
    std::printf("where Option's start goes (median of each phase, starts with marks):\n");
    optionSplit.Print();
    std::printf("where the bare dialog's start goes (median of each phase, starts with marks):\n");
    bareSplit.Print();
    return 0;
}
