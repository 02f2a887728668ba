// Looking values up in a whole INI text, as the private-profile reader does.
#include "skin/ini_document.h"

#include <gtest/gtest.h>

namespace gm::skin {
namespace {

std::string ValueOr(const IniDocument& d, const char* section, const char* key,
                    const char* missing = "<missing>") {
    const auto v = d.Find(section, key);
    return v ? *v : missing;
}

TEST(IniDocument, NamesIgnoreCaseAndOnlyTheFirstSectionAndKeyOfANameCount) {
    const IniDocument d("[Screen]\r\nNormal = a.bmp \r\nnormal=second\r\n"
                        "[BUTTONPOS]\r\n1=ok,1,2,3,4\r\n"
                        "[screen]\r\nOver=later.bmp\r\n");
    EXPECT_EQ(ValueOr(d, "SCREEN", "NORMAL"), "a.bmp");
    EXPECT_EQ(ValueOr(d, "screen", "Over"), "<missing>") << "a second [screen] is not searched";
    EXPECT_EQ(ValueOr(d, "ButtonPos", "1"), "ok,1,2,3,4");
    EXPECT_EQ(ValueOr(d, "Nowhere", "1"), "<missing>");
}

TEST(IniDocument, LinesSpacesQuotesAndKeysWithoutValues) {
    const IniDocument d("\xEF\xBB\xBF"
                        "top=before any section\r"
                        "[ Spaced ]\n"
                        "  \t key\t=\t value with  inner  spaces \x1a\n"
                        "bare\n"
                        "empty=\n"
                        "quoted=\"kept inside\"\n"
                        "half=\"open\n"
                        "mixed='one\"\n"
                        "two=''\n"
                        "[no closing bracket\n"
                        "eq=a=b\n");
    EXPECT_EQ(ValueOr(d, "", "top"), "before any section");
    EXPECT_EQ(ValueOr(d, "Spaced", "key"), "value with  inner  spaces");
    EXPECT_EQ(ValueOr(d, " spaced\t", " KEY "), "value with  inner  spaces")
        << "asked-for names lose their spaces too";
    EXPECT_EQ(ValueOr(d, "Spaced", "bare"), "<missing>");
    EXPECT_EQ(ValueOr(d, "Spaced", "empty"), "");
    EXPECT_EQ(ValueOr(d, "Spaced", "quoted"), "kept inside");
    EXPECT_EQ(ValueOr(d, "Spaced", "half"), "\"open");
    EXPECT_EQ(ValueOr(d, "Spaced", "mixed"), "'one\"");
    EXPECT_EQ(ValueOr(d, "Spaced", "two"), "");
    EXPECT_EQ(ValueOr(d, "Spaced", "eq"), "a=b") << "a line with [ but no ] is a key";
    EXPECT_EQ(ValueOr(IniDocument(""), "", ""), "<missing>");
    EXPECT_EQ(ValueOr(IniDocument("[]\n=x"), "", ""), "x");
}

} // namespace
} // namespace gm::skin
