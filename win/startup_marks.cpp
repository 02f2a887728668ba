#include "win/startup_marks.h"

#include "win/handles.h"

#include <windows.h>

#include <cstdio>

namespace gm::win {
namespace {

// The file named by the environment, read once; empty when marks are off.
const char* MarksFile() {
    static char path[MAX_PATH] = "";
    static const bool read = [] {
        const DWORD n = ::GetEnvironmentVariableA("GM_STARTUP_MARKS", path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            path[0] = '\0';
        return true;
    }();
    (void)read;
    return path;
}

} // namespace

void StartupMark(const char* what) {
    const char* file = MarksFile();
    if (!*file)
        return;
    LARGE_INTEGER freq{}, now{};
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&now);
    char line[160];
    const int n = std::snprintf(line, sizeof line, "%.3f %s\r\n",
                                double(now.QuadPart) * 1000.0 / double(freq.QuadPart), what);
    if (n <= 0)
        return;
    const unique_file out(::CreateFileA(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (out)
        ::WriteFile(out.get(), line, DWORD(n < int(sizeof line) ? n : int(sizeof line) - 1),
                    &written, nullptr);
}

} // namespace gm::win
