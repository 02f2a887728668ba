#pragma once
// The configuration dialog as the monitor sees it: a top-level window named
// "Brennick" that records the notices (1254-1257) and close requests it gets
// and stays open, so a test or benchmark can look at them.
#include "shared/tests/message_pump.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace gm {

struct Posted {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

class DialogStandIn {
  public:
    DialogStandIn() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "GmDialogStandIn";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(0, wc.lpszClassName, "Brennick", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~DialogStandIn() { ::DestroyWindow(hwnd); }

    bool WaitFor(const std::function<bool()>& done, DWORD limitMs = 30000) {
        return test::PumpUntil(done, limitMs);
    }
    int Count(UINT msg) const {
        int n = 0;
        for (const Posted& p : got)
            n += p.msg == msg;
        return n;
    }
    void Pump() { test::Pump(); }

    HWND hwnd;
    std::vector<Posted> got;

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        auto* self = reinterpret_cast<DialogStandIn*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self && ((msg >= 1254 && msg <= 1257) || msg == WM_CLOSE)) {
            self->got.push_back({msg, wp, lp});
            return 0; // a closed dialog stays, so the test can look at it
        }
        return ::DefWindowProcA(h, msg, wp, lp);
    }
};

} // namespace gm
