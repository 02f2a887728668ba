#include "option/macros/keyboard_recorder_hook_win.h"

#include "win/debug_out.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace gm::option {
namespace {

// Only the user-interface thread installs and removes the hook and runs its
// procedure; the crash filter may run on another thread, hence atomics.
std::atomic<HHOOK> g_hook{nullptr};
std::atomic<HWND> g_target{nullptr};
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
bool g_exitHandlersSet = false;

// Kept tiny: the system removes a low-level hook that answers slowly.
LRESULT CALLBACK HookProcedure(int code, WPARAM wp, LPARAM lp) noexcept {
    const HWND target = g_target.load();
    // A hook whose window is gone takes nothing, so the keyboard never goes dead.
    if (code < 0 || !target || !::IsWindow(target))
        return ::CallNextHookEx(nullptr, code, wp, lp);
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    win::DebugOut("%lx\n", key->vkCode);
    ::PostMessageA(target, UM_RECORD_KEY, key->vkCode, key->flags & 0x80);
    return 1;
}

void RemoveAtExit() {
    KeyboardRecorderHook::Remove();
}

// A program that crashes while recording gives the keyboard back first.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info) {
    if (const HHOOK hook = g_hook.exchange(nullptr))
        ::UnhookWindowsHookEx(hook);
    return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

int KeyboardRecorderHook::Install(HWND target) {
    g_target = target;
    if (!g_exitHandlersSet) {
        g_exitHandlersSet = true;
        std::atexit(RemoveAtExit);
        g_previousFilter = ::SetUnhandledExceptionFilter(CrashFilter);
    }
    if (!g_hook.load())
        g_hook = ::SetWindowsHookExA(WH_KEYBOARD_LL, HookProcedure, ::GetModuleHandleA(nullptr), 0);
    win::DebugOut("Hhook: %llx\r\n",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(g_hook.load())));
    return g_hook.load() ? 1 : 0;
}

int KeyboardRecorderHook::Remove() {
    const HHOOK hook = g_hook.exchange(nullptr);
    g_target = nullptr;
    if (!hook)
        return 1;
    win::DebugOut("Hhook: %llx\r\n",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hook)));
    win::DebugOut(::UnhookWindowsHookEx(hook) ? "UnHhook: Success \r\n" : "UnHhook: Fail \r\n");
    return 1;
}

bool KeyboardRecorderHook::Installed() {
    return g_hook.load() != nullptr;
}

HWND KeyboardRecorderHook::Target() {
    return g_target.load();
}

} // namespace gm::option
