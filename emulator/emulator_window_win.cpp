#include "emulator/emulator_window_win.h"

#include "emulator/pipe_server_win.h"
#include "win/handles.h"

#include <cstdio>

namespace gm::emu {
namespace {

constexpr UINT kRefresh = WM_APP + 1;
constexpr const char* kClass = "GmVirtualMouseWindow";
constexpr int kCell = 64;
constexpr int kTop = 56;

} // namespace

void EmulatorWindow::Create(PipeServer& server, VirtualMouse& mouse, bool hidden) {
    server_ = &server;
    mouse_ = &mouse;
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    ::RegisterClassA(&wc);
    RECT r{0, 0, 5 * kCell + 16, kTop + 4 * kCell + 8};
    ::AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND h = ::CreateWindowExA(0, kClass, "Virtual mouse",
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                               CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                               nullptr, nullptr, wc.hInstance, this);
    hwnd_ = h;
    if (h && !hidden)
        ::ShowWindow(h, SW_SHOWNORMAL);
}

void EmulatorWindow::Destroy() {
    if (HWND h = hwnd_.exchange(nullptr))
        ::DestroyWindow(h);
}

void EmulatorWindow::Refresh() {
    if (HWND h = hwnd_.load())
        ::PostMessageA(h, kRefresh, 0, 0);
}

RECT EmulatorWindow::SlotRect(int slot) const {
    if (slot >= 1 && slot <= 15) {
        const int i = slot - 1;
        const int x = 8 + (i % 5) * kCell, y = kTop + (i / 5) * kCell;
        return {x + 2, y + 2, x + kCell - 2, y + kCell - 2};
    }
    const int x = slot == 16 ? 8 : 8 + 2 * kCell + kCell / 2;
    const int y = kTop + 3 * kCell;
    return {x + 2, y + 8, x + 2 * kCell + kCell / 2 - 2, y + kCell - 8};
}

int EmulatorWindow::HitTest(int x, int y) const {
    POINT p{x, y};
    for (int s = 1; s <= 17; ++s) {
        RECT r = SlotRect(s);
        if (::PtInRect(&r, p))
            return s;
    }
    return 0;
}

void EmulatorWindow::Paint(HDC dc) {
    RECT all;
    ::GetClientRect(hwnd_, &all);
    const win::unique_hbrush back(::CreateSolidBrush(RGB(16, 24, 48)));
    ::FillRect(dc, &all, back.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(230, 230, 230));
    std::string state;
    int functions[15] = {};
    bool plugged;
    {
        std::lock_guard g(server_->lock());
        state = mouse_->StateLine();
        for (int b = 0; b < 15; ++b)
            functions[b] = mouse_->firmware().FunctionOf(b + 1);
        plugged = mouse_->plugged();
    }
    RECT line{8, 6, all.right - 8, 26};
    ::DrawTextA(dc, state.c_str(), -1, &line, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    line = {8, 28, all.right - 8, 48};
    ::SetTextColor(dc, RGB(250, 210, 60));
    ::DrawTextA(dc, lastAction_.c_str(), -1, &line,
                DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    for (int s = 1; s <= 17; ++s) {
        RECT r = SlotRect(s);
        const win::unique_hbrush face(
            ::CreateSolidBrush(s == held_ ? RGB(250, 210, 60) : RGB(40, 56, 96)));
        ::FillRect(dc, &r, face.get());
        ::SetTextColor(dc, s == held_ ? RGB(16, 24, 48) : RGB(220, 220, 220));
        char text[32];
        if (s <= 15)
            std::snprintf(text, sizeof text, "%d\nfn %d", s, functions[s - 1]);
        else
            std::snprintf(text, sizeof text, "%s",
                          s == 16   ? "Profile"
                          : plugged ? "Unplug"
                                    : "Plug");
        RECT t = r;
        ::DrawTextA(dc, text, -1, &t, DT_CENTER | DT_WORDBREAK);
    }
}

LRESULT CALLBACK EmulatorWindow::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<EmulatorWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        ::SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = h;
    }
    auto* self = reinterpret_cast<EmulatorWindow*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
    return self ? self->Handle(msg, wp, lp) : ::DefWindowProcA(h, msg, wp, lp);
}

LRESULT EmulatorWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    HWND h = hwnd_;
    switch (msg) {
    case kRefresh:
        ::InvalidateRect(h, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN: {
        const int s = HitTest(short(LOWORD(lp)), short(HIWORD(lp)));
        if (s == 0)
            return 0;
        if (s <= 15) {
            held_ = s;
            ::SetCapture(h);
            lastAction_ = server_->Execute("press " + std::to_string(s)).text;
        } else {
            const bool plugged = [&] {
                std::lock_guard g(server_->lock());
                return mouse_->plugged();
            }();
            lastAction_ = server_->Execute(s == 16 ? "profile" : plugged ? "unplug" : "plug").text;
        }
        ::InvalidateRect(h, nullptr, FALSE);
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (held_ != 0) {
            // Released however the press ended, so nothing stays held.
            const int s = held_;
            held_ = 0;
            if (msg == WM_LBUTTONUP)
                ::ReleaseCapture();
            lastAction_ = server_->Execute("release " + std::to_string(s)).text;
            ::InvalidateRect(h, nullptr, FALSE);
        }
        return 0;
    case WM_PAINT: {
        win::paint_dc dc(h);
        RECT r;
        ::GetClientRect(h, &r);
        const win::unique_hdc mem(::CreateCompatibleDC(dc.get()));
        const win::unique_hbitmap bmp(::CreateCompatibleBitmap(dc.get(), r.right, r.bottom));
        if (!mem || !bmp)
            return 0;
        win::select_object selected(mem.get(), bmp.get());
        Paint(mem.get());
        ::BitBlt(dc.get(), 0, 0, r.right, r.bottom, mem.get(), 0, 0, SRCCOPY);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        hwnd_ = nullptr;
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(h, msg, wp, lp);
    }
}

} // namespace gm::emu
