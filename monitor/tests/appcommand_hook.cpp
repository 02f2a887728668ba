// A shell hook for the tests: every application command that reaches the
// shell (a WM_APPCOMMAND that no window took) is posted to the window named
// "GmAppCommandSink" as message WM_APP + the command's number.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK ShellProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HSHELL_APPCOMMAND) {
        if (HWND sink = ::FindWindowA(nullptr, "GmAppCommandSink"))
            ::PostMessageA(sink, WM_APP + GET_APPCOMMAND_LPARAM(lp), wp, lp);
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}
