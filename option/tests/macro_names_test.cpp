// Macro names on this system: case is ignored for every letter of the code
// page, not only ASCII, and nothing else is.
#include "option/macros/macro_list.h"
#include "option/macros/macro_names_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace gm::option {
namespace {

// `text` in the ANSI code page; empty when the code page cannot hold it.
std::string Ansi(const wchar_t* text) {
    char out[64] = {};
    BOOL lossy = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, &lossy);
    return n > 0 && !lossy ? std::string(out) : std::string();
}

TEST(MacroNames, CaseIsIgnoredForEveryLetterOfTheCodePage) {
    const std::string upper = Ansi(L"\u00C9t\u00C9"), lower = Ansi(L"\u00e9t\u00e9");
    if (upper.empty() || lower.empty())
        GTEST_SKIP() << "the code page " << ::GetACP() << " has no accented letters";
    EXPECT_TRUE(SameNameOnThisSystem(upper, lower));
    EXPECT_TRUE(SameNameOnThisSystem("Jump Shot", "jUMP sHOT"));
    EXPECT_FALSE(SameNameOnThisSystem("Jump", "Jumps"));
    EXPECT_FALSE(SameNameOnThisSystem(upper, "ETE"));

    // Installed for the program, the library's look-ups use it.
    EXPECT_FALSE(SameMacroName("  " + upper + " ", lower)) << "the core alone folds ASCII only";
    UseSystemNameComparison();
    EXPECT_TRUE(SameMacroName("  " + upper + " ", lower));
    EXPECT_FALSE(SameMacroName(upper, " " + lower)) << "the button's name is not trimmed";
    SetNameComparison(nullptr);
    EXPECT_FALSE(SameMacroName(upper, lower)) << "back to the core's own";
}

} // namespace
} // namespace gm::option
