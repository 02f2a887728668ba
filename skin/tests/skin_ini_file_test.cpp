// A skin file read once answers as the platform's private-profile reader
// answers, read for read, also for files that are not as they should be.
#include "shared/tests/test_folder.h"
#include "skin/skin_ini_file_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace gm::skin {
namespace {

using gm::test::TestFolder;

std::string PlatformRead(const std::string& path, const char* section, const char* key) {
    char buffer[2048];
    const DWORD n =
        ::GetPrivateProfileStringA(section, key, "<fallback>", buffer, sizeof buffer, path.c_str());
    return std::string(buffer, n);
}

TEST(SkinIniFile, AnswersEveryLookupAsThePlatformReader) {
    TestFolder dir;
    const std::string path = dir / "skin_odd.ini";
    TestFolder::WriteFile(path, "top=before\r\n"
                                "[SCREEN]\r\n"
                                "Normal = n.bmp \r\n"
                                "normal=again.bmp\r\n"
                                "  Over\t=\t\"o.bmp\"  \r\n"
                                "Down='d.bmp\r\n"
                                "Disable\r\n"
                                "Mask=\r\n"
                                "\r\n"
                                "[ BUTTONPOS ]\r\n"
                                "1=spaced,1,2,3,4, Apply = now \r\n"
                                "[BUTTONPOS]\n"
                                "1=ok,10,10,40,30\n"
                                "2=cancel,50,10,80,30\r"
                                "3=" +
                                    std::string(3000, 'x') +
                                    "\n"
                                    "[buttonpos]\n"
                                    "4=later,0,0,1,1\n"
                                    "[half\n"
                                    "[empty]\n");
    const std::vector<std::pair<const char*, const char*>> lookups = {
        {"", "top"},          {"SCREEN", "Normal"},  {"screen", "NORMAL"}, {"SCREEN", "Over"},
        {"SCREEN", "Down"},   {"SCREEN", "Disable"}, {"SCREEN", "Mask"},   {"SCREEN", "Missing"},
        {" BUTTONPOS ", "1"}, {"BUTTONPOS", "1"},    {"BUTTONPOS", "2"},   {"BUTTONPOS", "3"},
        {"BUTTONPOS", "4"},   {"[half", ""},         {"empty", "1"},       {"Nowhere", "1"},
    };
    const SkinIniFile file(path);
    for (const auto& [section, key] : lookups)
        EXPECT_EQ(file.ReadString(section, key, "<fallback>"), PlatformRead(path, section, key))
            << "[" << section << "] " << key;
    EXPECT_EQ(file.Record(1).name, "spaced");
    EXPECT_EQ(file.Record(1).text, "Apply = now");

    const SkinIniFile missing(dir / "no_such.ini");
    EXPECT_EQ(missing.ReadString("SCREEN", "Normal", "<fallback>"), "<fallback>");
}

} // namespace
} // namespace gm::skin
