#include "shared/tests/message_pump.h"

namespace gm::test {

void Pump() {
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&m);
        ::DispatchMessageA(&m);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    for (;;) {
        Pump();
        if (done())
            return true;
        if (::GetTickCount64() > end)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Settle(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

} // namespace gm::test
