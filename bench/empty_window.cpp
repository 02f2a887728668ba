// The baseline of the idle benchmark: a plain Win32 program with one hidden
// window and a message loop, doing nothing.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "GmEmptyWindow";
    ::RegisterClassA(&wc);
    ::CreateWindowExA(0, wc.lpszClassName, "Empty window", WS_POPUP, 0, 0, 100, 100, nullptr,
                      nullptr, instance, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    return 0;
}
