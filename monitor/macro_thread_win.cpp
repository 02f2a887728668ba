#include "monitor/macro_thread_win.h"

#include "monitor/input_injector_win.h"
#include "shared/key_mapper_win.h"
#include "win/debug_out.h"

namespace gm::mon {
namespace {

// Not in these MinGW headers; older systems refuse it, and then a plain
// waitable timer plus a short spin keep the schedule.
constexpr DWORD kHighResolutionTimer = 0x2;
// The last stretch before an event is spun, not slept: a wake-up from any
// timer can be late by the scheduler's quantum.
constexpr int64_t kSpinUs = 1500;

} // namespace

MacroRunner::MacroRunner() {
    ::QueryPerformanceFrequency(&freq_);
    timer_.reset(
        ::CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS));
    if (!timer_)
        timer_.reset(::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
    stopEvent_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

bool MacroRunner::Begin(const MacroProgram& m) {
    if (state_.playing || m.count == 0)
        return false;
    program_ = m;
    state_.stop = false;
    state_.curAction = 0;
    ::ResetEvent(stopEvent_.get());
    // Marked before the post, so a quick second press sees it and stops.
    state_.playing = true;
    return true;
}

void MacroRunner::RequestStop() {
    state_.stop = true;
    ::SetEvent(stopEvent_.get());
}

namespace {

// The first key translation and input of a thread load its keyboard layout
// (over 10 ms), so it happens before the schedule's clock starts, not
// inside the first event.
void WarmUp() {
    const KeyLookup k = UsageToVirtualKey(0x04, SystemKeys());
    ::MapVirtualKeyA(UINT(k.code), 0);
    ::GetKeyboardLayout(0);
    ::GetMessageExtraInfo();
}

} // namespace

void MacroRunner::Play() {
    if (!state_.playing)
        return;
    if (!warm_) {
        WarmUp();
        warm_ = true;
    }
    PlayMacro(program_, state_, *this, *this);
}

int64_t MacroRunner::NowUs() {
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return int64_t(c.QuadPart / freq_.QuadPart) * 1'000'000 +
           int64_t(c.QuadPart % freq_.QuadPart) * 1'000'000 / freq_.QuadPart;
}

bool MacroRunner::WaitUntilUs(int64_t atUs, bool interruptible) {
    for (;;) {
        if (interruptible && state_.stop)
            return false;
        const int64_t left = atUs - NowUs();
        if (left <= 0)
            return true;
        if (left > kSpinUs && timer_) {
            LARGE_INTEGER due;
            due.QuadPart = -(left - kSpinUs) * 10; // relative, 100 ns units
            ::SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE);
            HANDLE waits[2] = {timer_.get(), stopEvent_.get()};
            ::WaitForMultipleObjects(interruptible ? 2 : 1, waits, FALSE, INFINITE);
        } else if (left > kSpinUs) {
            ::Sleep(DWORD((left - kSpinUs) / 1000));
        } else {
            ::Sleep(0);
        }
    }
}

void MacroRunner::Send(uint8_t code, bool down) {
    InjectCode(code, down);
}

void MacroRunner::Debug(const std::string& line) {
    win::DebugOut("%s", line.c_str());
}

} // namespace gm::mon
