#include "win/replace_file.h"

#include <windows.h>

namespace gm::win {

bool ReplaceFileWith(const std::string& fresh, const std::string& target, unsigned patienceMs) {
    const ULONGLONG until = ::GetTickCount64() + patienceMs;
    for (;;) {
        if (::MoveFileExA(fresh.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = ::GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || ::GetTickCount64() >= until) {
            ::SetLastError(error);
            return false;
        }
        ::Sleep(10);
    }
}

} // namespace gm::win
