#include "skin/skin_dialog_win.h"

#include "skin/late_windows_win.h"

#include "win/startup_marks.h"

#include <algorithm>

namespace gm::skin {

bool SkinDialog::IsSwallowedKey(const MSG& msg, HWND dialog) {
    // Key-ups pass: an in-place edit or a BitmapEdit acts on the release of Enter.
    if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR)
        return false;
    if (msg.hwnd != dialog && !::IsChild(dialog, msg.hwnd))
        return false;
    const WPARAM key = msg.wParam;
    if (msg.message == WM_CHAR)
        return key == '\r' || key == 27;
    return key == VK_RETURN || key == VK_ESCAPE;
}

int SkinDialog::RunModal(const std::string& skinFolder, const std::string& iniName, HWND owner) {
    ended_ = false;
    result_ = kDialogCancel;
    if (!Create(skinFolder, iniName, Kind::Popup, WS_POPUP | WS_CLIPCHILDREN, owner,
                WS_EX_CONTROLPARENT))
        return -1;
    if (!OnInitDialog())
        CenterWindowOn(hwnd(), owner);
    const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    ::ShowWindow(hwnd(), SW_SHOW);
    win::StartupMark("shown");
    ::UpdateWindow(hwnd());
    // Controls made late that no paint drew (a dialog started minimised)
    // get their windows now, and paint themselves.
    MakeLateWindows();
    win::StartupMark("updated");
    ::SetForegroundWindow(hwnd());
    win::StartupMark("foreground");
    running_ = true;

    MSG msg{};
    bool quit = false;
    WPARAM quitCode = 0;
    while (!ended_ && hwnd()) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got < 0)
            break;
        if (SwallowsKey(msg))
            continue;
        if (::IsDialogMessageA(hwnd(), &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    running_ = false;
    // The owner is enabled before this window goes, so activation returns to it.
    if (ownerWasEnabled)
        ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == hwnd())
        ::SetActiveWindow(owner);
    Destroy();
    if (quit)
        ::PostQuitMessage(static_cast<int>(quitCode));
    return result_;
}

void SkinDialog::End(int result) {
    result_ = result;
    ended_ = true;
    // Wakes the modal loop when it is waiting for messages.
    if (hwnd())
        ::PostMessageA(hwnd(), WM_NULL, 0, 0);
}

LRESULT SkinDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_COMMAND:
        if (lp) {
            // The control hears of its own change first (a BitmapEdit filters
            // and reports its text); handled here, the skin window never sees it.
            LRESULT ignored = 0;
            ReflectControlMessage(msg, wp, lp, ignored);
            OnCommand(reinterpret_cast<HWND>(lp), HIWORD(wp));
            return 0;
        }
        break;
    case WM_CLOSE:
        End(kDialogCancel);
        return 0;
    default:
        break;
    }
    return SkinWindow::OnMessage(msg, wp, lp);
}

void CenterWindowOn(HWND window, HWND on) {
    RECT mine{}, target{}, work{};
    ::GetWindowRect(window, &mine);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (on && ::IsWindow(on))
        ::GetWindowRect(on, &target);
    else
        target = work;
    const int w = mine.right - mine.left, h = mine.bottom - mine.top;
    int x = target.left + ((target.right - target.left) - w) / 2;
    int y = target.top + ((target.bottom - target.top) - h) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - w));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace gm::skin
