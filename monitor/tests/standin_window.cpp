// A stand-in for the programs the monitor starts and notifies (the display
// program, the applets, the configuration program) in end-to-end tests. Its
// window name follows from its own file name; it appends every message the
// monitor sends it to "<file name>.log" beside it and ends on WM_CLOSE.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string g_log;

void Append(const char* line) {
    if (FILE* f = std::fopen(g_log.c_str(), "ab")) {
        std::fputs(line, f);
        std::fclose(f);
    }
}

LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == 1324 || msg == 1326 || msg == WM_CLOSE) {
        char line[96];
        std::snprintf(line, sizeof line, "%u %llu %lld\n", msg, static_cast<unsigned long long>(wp),
                      static_cast<long long>(lp));
        Append(line);
    }
    if (msg == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProcA(h, msg, wp, lp);
}

const char* WindowNameFor(const std::string& file) {
    if (file == "osd.exe")
        return "Orvex_Gaming_Mouse_Normal_OSD";
    if (file == "cpuram.exe")
        return "Orvex Gaming Mouse CPU RAM OSD";
    if (file == "emailpop3.exe")
        return "Orvex Gaming Mouse Pop3";
    if (file == "osdskype.exe")
        return "Orvex Gaming Mouse OSD SKYPE";
    if (file == "osdmsn.exe")
        return "Orvex Gaming Mouse OSD MSN";
    if (file == "game.exe")
        return "A game";
    if (file == "game2.exe")
        return "Another game";
    if (file == "other.exe")
        return "Another program";
    return nullptr;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string full(path, n);
    std::string file = full.substr(full.find_last_of('\\') + 1);
    for (char& c : file)
        c = char(::tolower(static_cast<unsigned char>(c)));
    g_log = full + ".log";
    Append("started\n");
    if (file == "spiprobe.exe") {
        // A fresh process reads the system's mouse values as they are now
        // (a running process may keep the ones it read before).
        int speed = 0, mouse[3] = {0, 0, 0};
        UINT lines = 0;
        BOOL swapped = ::GetSystemMetrics(SM_SWAPBUTTON);
        ::SystemParametersInfoA(SPI_GETMOUSESPEED, 0, &speed, 0);
        ::SystemParametersInfoA(SPI_GETMOUSE, 0, mouse, 0);
        ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        char line[160];
        std::snprintf(line, sizeof line,
                      "speed %d mouse %d %d %d lines %u swapped %d doubleclick %u\n", speed,
                      mouse[0], mouse[1], mouse[2], lines, swapped, ::GetDoubleClickTime());
        Append(line);
        return 0;
    }
    const char* name = WindowNameFor(file);
    if (!name)
        return 0; // the configuration program's stand-in only leaves its mark

    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "GmStandIn";
    ::RegisterClassA(&wc);
    // Games and other programs show a window and come to the front.
    const bool game = file == "game.exe" || file == "game2.exe" || file == "other.exe";
    HWND w = ::CreateWindowExA(
        0, wc.lpszClassName, name, game ? WS_OVERLAPPEDWINDOW | WS_VISIBLE : WS_POPUP, 0, 0,
        game ? 200 : 10, game ? 150 : 10, nullptr, nullptr, instance, nullptr);
    if (!w)
        return 1;
    if (game)
        ::SetForegroundWindow(w); // a game comes to the front
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    return 0;
}
