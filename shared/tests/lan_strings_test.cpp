// lan.dll as the programs load it.
#include "shared/lan_strings_win.h"

#include "shared/tests/test_folder.h"
#include "win/install_dir.h"

#include <gtest/gtest.h>

namespace gm {
namespace {

TEST(LanguageLibrary, EveryIdentifierTheProgramsUseHasText) {
    LanguageLibrary lan;
    ASSERT_TRUE(lan.Load(win::InstallDir()));
    for (int id = 1000; id <= 1078; ++id) {
        if (id == 1068)
            continue; // not used by either program
        const std::string text = lan.Get(id);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_LT(text.size(), 260u) << id;
    }
    EXPECT_EQ(lan.Get(999), "") << "an unknown identifier gives empty text";
    lan.Unload();
    EXPECT_EQ(lan.Get(1002), "");
}

TEST(LanguageLibrary, MissingLibraryGivesEmptyTexts) {
    test::TestFolder empty;
    LanguageLibrary lan;
    EXPECT_FALSE(lan.Load(empty.path()));
    EXPECT_EQ(lan.Get(1004), "");
}

TEST(LanguageLibrary, ALibraryThatIsNotAModuleIsRefused) {
    test::TestFolder dir;
    test::TestFolder::WriteFile(dir / "lan.dll", "MZ but nothing else");
    LanguageLibrary lan;
    EXPECT_FALSE(lan.Load(dir.path()));
    EXPECT_EQ(lan.Get(1000), "");
}

} // namespace
} // namespace gm
