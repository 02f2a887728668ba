#include "option/tests/page_driver.h"

#include "skin/skin_ini_file_win.h"

#include <string>

namespace gm::option::test {

void Click(HWND hwnd, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    ::SendMessageA(hwnd, WM_MOUSEMOVE, 0, at);
    ::SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    Pump();
}

void ClickCentre(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    Click(hwnd, r.right / 2, r.bottom / 2);
}

void RealClick(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    ::SetCursorPos(p.x, p.y);
    Pump();
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
    // Input arrives through the server; give it a moment to be queued.
    for (int i = 0; i < 20; ++i) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
}

namespace {

// Sends a pointer message to the thumb at a point in the track's coordinates.
void ToThumb(skin::CclickHSlider& slider, UINT msg, WPARAM keys, int trackX, int trackY) {
    POINT p{trackX, trackY};
    ::MapWindowPoints(slider.hwnd(), slider.thumb().hwnd(), &p, 1);
    ::SendMessageA(slider.thumb().hwnd(), msg, keys, MAKELPARAM(p.x, p.y));
}

} // namespace

void DragThumb(skin::CclickHSlider& slider, int dx) {
    const int x = slider.thumb().left() + 3, y = 5;
    ToThumb(slider, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    ToThumb(slider, WM_MOUSEMOVE, MK_LBUTTON, x + dx, y);
    ToThumb(slider, WM_LBUTTONUP, 0, x + dx, y);
    Pump();
}

void TouchThumb(skin::CclickHSlider& slider) {
    DragThumb(slider, 0);
}

void ClickTrack(skin::CclickHSlider& slider, int x) {
    ::SendMessageA(slider.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
    Pump();
}

namespace {

struct AnswerState {
    std::string skinFolder;
    int slot = 0;
    HWND main = nullptr;
    HWND warning = nullptr;
    bool answered = false;
    bool mainDisabled = false;
    UINT_PTR timer = 0;
};
AnswerState g_answer;

BOOL CALLBACK FindWarning(HWND hwnd, LPARAM) {
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (hwnd != g_answer.main && ::IsWindowVisible(hwnd) && std::string(cls) == "GmSkinWindow" &&
        ::GetWindow(hwnd, GW_OWNER) != nullptr &&
        (::GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0) {
        g_answer.warning = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_answer.answered)
        return;
    g_answer.warning = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindWarning, 0);
    if (!g_answer.warning)
        return;
    g_answer.answered = true;
    g_answer.mainDisabled = g_answer.main && !::IsWindowEnabled(g_answer.main);
    // The button where the skin puts it, clicked as a pointer would.
    const skin::ControlRecord r =
        skin::SkinIniFile(g_answer.skinFolder + "skin_reset_warn.ini").Record(g_answer.slot);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const HWND button = ::ChildWindowFromPoint(g_answer.warning, centre);
    if (!button || button == g_answer.warning)
        return;
    POINT inButton = centre;
    ::MapWindowPoints(g_answer.warning, button, &inButton, 1);
    const LPARAM at = MAKELPARAM(inButton.x, inButton.y);
    ::SendMessageA(button, WM_MOUSEMOVE, 0, at);
    ::SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(button, WM_LBUTTONUP, 0, at);
}

} // namespace

WarningAnswer::WarningAnswer(const std::string& skinFolder, int slot, HWND mainWindow) {
    g_answer = AnswerState{};
    g_answer.skinFolder = skinFolder;
    g_answer.slot = slot;
    g_answer.main = mainWindow;
    g_answer.timer = ::SetTimer(nullptr, 0, 50, AnswerTimer);
}

WarningAnswer::~WarningAnswer() {
    if (g_answer.timer)
        ::KillTimer(nullptr, g_answer.timer);
    g_answer = AnswerState{};
}

bool WarningAnswer::answered() const {
    return g_answer.answered;
}
bool WarningAnswer::mainWasDisabled() const {
    return g_answer.mainDisabled;
}

} // namespace gm::option::test
