#pragma once
// A system library loaded at run time, from the system folder only.

#include <windows.h>

namespace gm::win {

// Loads `name` from the system folder (never from the program's folder or
// the current one); null when it cannot be loaded. The caller keeps it.
inline HMODULE SystemLibrary(const char* name) {
    return ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace gm::win
