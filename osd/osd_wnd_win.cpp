// OSD.exe: the on-screen display. A top-most, click-through overlay that
// shows each notice for about two seconds and then fades out:
//   1324 wParam 40: the name of profile (lParam >> 16), from the shared block;
//   1324 wParam 50: config.ini [OSDData] Message;
//   1324 wParam 70: config.ini [MacroOSD] MacroName;
//   1326: lParam high/low half = the overlay's left/top in pixels (0/0: centred
//         in the lower third of the screen).
// It ends on WM_CLOSE.
#include "shared/messages.h"
#include "shared/settings_block.h"
#include "shared/shared_block_win.h"
#include "win/handles.h"
#include "win/install_dir.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using gm::ipc::kOsdPlace;
using gm::ipc::kOsdShow;
using gm::ipc::kOsdWindow;
constexpr UINT_PTR kTimerHide = 1;
constexpr UINT_PTR kTimerFade = 2;
constexpr int kShowMs = 2000;
constexpr int kFadeStepMs = 30;
constexpr BYTE kOpaque = 230;

struct Osd {
    std::string text;
    int left = 0, top = 0;
    BYTE alpha = kOpaque;
    std::string config;
} g;

std::string ReadConfig(const char* section, const char* key) {
    char text[256] = {};
    ::GetPrivateProfileStringA(section, key, "", text, sizeof text, g.config.c_str());
    return text;
}

std::string ProfileName(int profile) {
    std::string name;
    gm::SharedBlock shared;
    if (gm::SettingsBlock::IsProfileIndex(profile) && shared.Open()) {
        static gm::SettingsBlock block; // 39 KB: not on the stack
        if (shared.CopyIn(block))
            name = block.Profile(profile).Get(gm::prof::ProFileName);
    }
    if (name.empty())
        name = "Profile " + std::to_string(profile + 1);
    return name;
}

// The notice's font: measured and drawn with the same one, so the window
// is the text's size plus its margins.
gm::win::unique_hfont NoticeFont() {
    LOGFONTA lf{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = -36;
    lf.lfWeight = FW_BOLD;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Arial");
    return gm::win::unique_hfont(::CreateFontIndirectA(&lf));
}

void Place(HWND w) {
    SIZE size{};
    {
        gm::win::window_dc dc(w);
        const gm::win::unique_hfont big = NoticeFont();
        gm::win::select_object font(dc.get(), big.get());
        ::GetTextExtentPoint32A(dc.get(), g.text.c_str(), int(g.text.size()), &size);
    }
    // A notice longer than the screen is wide ends in an ellipsis; the
    // window stays on the screen wherever it was placed.
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
    const int width = std::min(int(size.cx) + 48, screenW), height = size.cy + 24;
    int x = g.left, y = g.top;
    if (x == 0 && y == 0) {
        x = (screenW - width) / 2;
        y = screenH * 2 / 3;
    }
    x = std::max(0, std::min(x, screenW - width));
    y = std::max(0, std::min(y, screenH - height));
    ::SetWindowPos(w, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Paint(HWND w, HDC dc) {
    RECT r;
    ::GetClientRect(w, &r);
    const gm::win::unique_hbrush back(::CreateSolidBrush(RGB(24, 24, 28)));
    ::FillRect(dc, &r, back.get());
    const gm::win::unique_hfont font = NoticeFont();
    gm::win::select_object selected(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::DrawTextA(dc, g.text.c_str(), int(g.text.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void Show(HWND w, std::string text) {
    if (text.empty())
        return;
    g.text = std::move(text);
    g.alpha = kOpaque;
    ::SetLayeredWindowAttributes(w, 0, g.alpha, LWA_ALPHA);
    Place(w);
    ::InvalidateRect(w, nullptr, TRUE);
    ::KillTimer(w, kTimerFade);
    ::SetTimer(w, kTimerHide, kShowMs, nullptr);
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case kOsdShow:
        if (wp == 40)
            Show(w, ProfileName(int(lp >> 16)));
        else if (wp == 50)
            Show(w, ReadConfig("OSDData", "Message"));
        else if (wp == 70)
            Show(w, ReadConfig("MacroOSD", "MacroName"));
        return 0;
    case kOsdPlace:
        g.left = int((lp >> 16) & 0xFFFF);
        g.top = int(lp & 0xFFFF);
        return 0;
    case WM_TIMER:
        if (wp == kTimerHide) {
            ::KillTimer(w, kTimerHide);
            ::SetTimer(w, kTimerFade, kFadeStepMs, nullptr);
        } else if (wp == kTimerFade) {
            g.alpha = g.alpha > 20 ? BYTE(g.alpha - 20) : 0;
            ::SetLayeredWindowAttributes(w, 0, g.alpha, LWA_ALPHA);
            if (g.alpha == 0) {
                ::KillTimer(w, kTimerFade);
                ::ShowWindow(w, SW_HIDE);
            }
        }
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT; // clicks go to the window below
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        Paint(w, dc);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(w, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(w, msg, wp, lp);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (::FindWindowA(nullptr, kOsdWindow))
        return 0; // one display
    g.config = gm::win::InstallDir() + "config.ini";
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "GmOsdWindow";
    ::RegisterClassA(&wc);
    HWND w = ::CreateWindowExA(
        WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
        wc.lpszClassName, kOsdWindow, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    if (!w)
        return 1;
    ::SetLayeredWindowAttributes(w, 0, kOpaque, LWA_ALPHA);
    MSG m;
    while (::GetMessageA(&m, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&m);
        ::DispatchMessageA(&m);
    }
    return 0;
}
