// The baseline of the configuration program's start-up figure: a window of
// the same size and skin as the main dialog, built with the same toolkit,
// with no controls, pages or settings behind it.
#include "skin/skin_window_win.h"
#include "win/install_dir.h"
#include "win/startup_marks.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    gm::win::StartupMark("entry");
    gm::skin::SkinWindow window;
    if (!window.Create(gm::win::SkinFolder(), "skin_main.ini", gm::skin::SkinWindow::Kind::Popup,
                       WS_POPUP | WS_CLIPCHILDREN, nullptr))
        return 1;
    ::SetWindowTextA(window.hwnd(), "Bare skinned dialog");
    gm::win::StartupMark("skin window");
    ::ShowWindow(window.hwnd(), SW_SHOW);
    gm::win::StartupMark("shown");
    ::UpdateWindow(window.hwnd());
    gm::win::StartupMark("updated");
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_CLOSE || (msg.hwnd == window.hwnd() && msg.message == WM_CLOSE))
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (!::IsWindow(window.hwnd()))
            break;
    }
    return 0;
}
