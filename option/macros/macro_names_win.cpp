#include "option/macros/macro_names_win.h"

#include "option/macros/macro_list.h"

#include <windows.h>

#include <string>

namespace gm::option {
namespace {

bool Widen(std::string_view text, std::wstring& out) {
    out.clear();
    if (text.empty())
        return true;
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    if (n <= 0)
        return false;
    out.resize(std::size_t(n));
    return ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out.data(), n) == n;
}

} // namespace

bool SameNameOnThisSystem(std::string_view a, std::string_view b) {
    std::wstring wa, wb;
    if (!Widen(a, wa) || !Widen(b, wb))
        return a == b;
    return ::CompareStringOrdinal(wa.data(), int(wa.size()), wb.data(), int(wb.size()), TRUE) ==
           CSTR_EQUAL;
}

void UseSystemNameComparison() {
    SetNameComparison(SameNameOnThisSystem);
}

} // namespace gm::option
