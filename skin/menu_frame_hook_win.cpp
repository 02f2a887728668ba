#include "skin/menu_frame_hook_win.h"

#include "skin/menu_metrics.h"
#include "win/handles.h"

#include <cstring>
#include <unordered_map>

namespace gm::skin {
namespace {

constexpr char kOldProcProperty[] = "CoolMenu_oldProc";
constexpr UINT kMenuSizeWindow = 0x1E2;

HHOOK g_hook = nullptr;
// The thread that asked for the hook before its first menu; 0 for none.
DWORD g_askedBy = 0;
// Menu window -> the procedure it had before.
std::unordered_map<HWND, WNDPROC>& Framed() {
    static std::unordered_map<HWND, WNDPROC> table;
    return table;
}

void Unsubclass(HWND hwnd, WNDPROC old) {
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    ::RemovePropA(hwnd, kOldProcProperty);
}

LRESULT CALLBACK FrameProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto& table = Framed();
    const auto it = table.find(hwnd);
    if (it == table.end())
        return ::DefWindowProcA(hwnd, msg, wp, lp);
    const WNDPROC old = it->second;
    switch (msg) {
    case WM_NCPAINT: {
        win::window_dc dc(hwnd, true);
        MenuFrameHook::DrawFrame(hwnd, dc.get());
        return 0;
    }
    case WM_PRINT: {
        const LRESULT r = ::CallWindowProcA(old, hwnd, msg, wp, lp);
        MenuFrameHook::DrawFrame(hwnd, reinterpret_cast<HDC>(wp));
        return r;
    }
    case WM_PAINT: {
        // Some platforms draw the menu's edge with its items rather than as
        // its frame; the frame goes over it afterwards.
        const LRESULT r = ::CallWindowProcA(old, hwnd, msg, wp, lp);
        win::window_dc dc(hwnd, true);
        MenuFrameHook::DrawFrame(hwnd, dc.get());
        return r;
    }
    case WM_SHOWWINDOW:
        if (wp)
            break;
        [[fallthrough]];
    case WM_NCDESTROY:
        Unsubclass(hwnd, old);
        table.erase(it);
        break;
    default:
        break;
    }
    return ::CallWindowProcA(old, hwnd, msg, wp, lp);
}

LRESULT CALLBACK HookProcedure(int code, WPARAM wp, LPARAM lp) noexcept {
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && cwp &&
        (cwp->message == WM_CREATE || cwp->message == kMenuSizeWindow)) {
        char name[10] = {};
        ::GetClassNameA(cwp->hwnd, name, sizeof name);
        if (std::strcmp(name, "#32768") == 0 && !::GetPropA(cwp->hwnd, kOldProcProperty)) {
            const auto old =
                reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC));
            ::SetPropA(cwp->hwnd, kOldProcProperty, reinterpret_cast<HANDLE>(old));
            if (::SetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC,
                                    reinterpret_cast<LONG_PTR>(FrameProcedure)))
                Framed()[cwp->hwnd] = old;
            else
                ::RemovePropA(cwp->hwnd, kOldProcProperty);
        }
    }
    return ::CallNextHookEx(g_hook, code, wp, lp);
}

} // namespace

bool MenuFrameHook::Install() {
    if (!g_hook)
        g_hook =
            ::SetWindowsHookExA(WH_CALLWNDPROC, HookProcedure, nullptr, ::GetCurrentThreadId());
    return g_hook != nullptr;
}

void MenuFrameHook::InstallBeforeFirstMenu() {
    g_askedBy = ::GetCurrentThreadId();
}

void MenuFrameHook::InstallIfAskedFor() {
    if (!g_hook && g_askedBy && g_askedBy == ::GetCurrentThreadId())
        Install();
}

void MenuFrameHook::Remove() {
    g_askedBy = 0;
    for (const auto& [hwnd, old] : Framed())
        Unsubclass(hwnd, old);
    Framed().clear();
    if (g_hook)
        ::UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

bool MenuFrameHook::Installed() {
    return g_hook != nullptr;
}
std::size_t MenuFrameHook::FramedWindows() {
    return Framed().size();
}

void MenuFrameHook::DrawFrame(HWND menu, HDC dc) {
    if (!dc)
        return;
    RECT r{};
    ::GetWindowRect(menu, &r);
    ::OffsetRect(&r, -r.left, -r.top);
    const COLORREF rings[3] = {menu_colour::Frame, menu_colour::Background,
                               menu_colour::Background};
    for (COLORREF colour : rings) {
        win::unique_hbrush brush(::CreateSolidBrush(colour));
        ::FrameRect(dc, &r, brush.get());
        ::InflateRect(&r, -1, -1);
    }
}

} // namespace gm::skin
