#pragma once
// Macro names compared the platform's way: converted from the ANSI code
// page and compared ordinally ignoring case, so letters beyond ASCII match
// their other case and a double-byte character's second byte is never
// taken for a letter of its own.
#include <string_view>

namespace gm::option {

bool SameNameOnThisSystem(std::string_view a, std::string_view b);
// Makes every macro-name comparison of this program use it.
void UseSystemNameComparison();

} // namespace gm::option
