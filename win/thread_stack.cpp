#include "win/thread_stack.h"

#include <windows.h>

#include <winternl.h>

namespace gm::win {

void CurrentStackRange(std::uintptr_t& low, std::uintptr_t& high) {
// The header's segment read of the thread block looks like an array read to GCC.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    const auto* tib = reinterpret_cast<const NT_TIB*>(::NtCurrentTeb());
#pragma GCC diagnostic pop
    low = reinterpret_cast<std::uintptr_t>(tib->StackLimit);
    high = reinterpret_cast<std::uintptr_t>(tib->StackBase);
}

// Not inlined: the address of its local must lie below every frame of the caller.
__attribute__((noinline)) std::size_t TrimThreadStack() {
    std::uintptr_t low = 0, high = 0;
    CurrentStackRange(low, high);
    volatile char here = 0;
    const UINT_PTR page = 4096;
    const auto sp = reinterpret_cast<UINT_PTR>(&here);
    if (sp < low + kStackKeep || sp > high)
        return 0;
    const UINT_PTR end = (sp - kStackKeep) & ~(page - 1);
    std::size_t given = 0;
    // Region by region: only committed read-write pages, never a guard page.
    for (UINT_PTR at = low; at < end;) {
        MEMORY_BASIC_INFORMATION mbi{};
        if (!::VirtualQuery(reinterpret_cast<void*>(at), &mbi, sizeof mbi))
            break;
        const auto base = reinterpret_cast<UINT_PTR>(mbi.BaseAddress);
        UINT_PTR next = base + mbi.RegionSize;
        if (next <= at)
            break;
        if (next > end)
            next = end;
        if (mbi.State == MEM_COMMIT && mbi.Protect == PAGE_READWRITE &&
            ::VirtualAlloc(reinterpret_cast<void*>(at), next - at, MEM_RESET, PAGE_READWRITE))
            given += next - at;
        at = next;
    }
    return given;
}

} // namespace gm::win
