#pragma once
// A typed entry of a library loaded at run time (nullptr when missing).

#include <windows.h>

namespace gm::win {

template <typename F> F ProcAddress(HMODULE module, const char* name) {
    // Through void* so the compiler accepts the cast between function types.
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

} // namespace gm::win
