// config\sequence.dat through the real private-profile functions: what is
// loaded from files written by hand, and what a save leaves on disk.
#include "option/macros/macro_store_win.h"
#include "shared/struct_codec.h"
#include "shared/tests/test_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace gm {
namespace {

using test::TestFolder;

MacroRecord Macro(const std::string& name, int repeat, int events) {
    MacroRecord r;
    r.SetName(name);
    r.SetRepeat(repeat);
    for (int i = 0; i < events; ++i)
        r.SetEvent(i, MacroEvent{uint8_t(0x04 + i), uint8_t(1 + i % 2), uint16_t(i * 100)});
    r.SetCount(events);
    return r;
}

void WriteStore(const TestFolder& folder, const std::string& body) {
    ::CreateDirectoryA((folder / "config").c_str(), nullptr);
    TestFolder::WriteFile(MacroStorePath(folder.path()), body);
}

std::string Line(const char* key, const MacroRecord& r) {
    return std::string(key) + "=" + EncodeStruct(r.data(), kMacroRecordSize) + "\r\n";
}

TEST(MacroStoreFile, NumberZeroNegativeOrMissingLoadsNothing) {
    const MacroRecord a = Macro("a", 1, 2);
    for (const std::string number : {"number=0\r\n", "number=-2\r\n", ""}) {
        TestFolder folder;
        WriteStore(folder, "[Macros]\r\n" + number + Line("0", a));
        MacroList list;
        LoadMacroStore(folder.path(), list);
        EXPECT_TRUE(list.empty()) << number;
    }
    TestFolder none; // no file at all
    MacroList list;
    LoadMacroStore(none.path(), list);
    EXPECT_TRUE(list.empty());
}

TEST(MacroStoreFile, ADamagedOrMissingKeyIsSkippedAndTheOthersKeepTheirBytes) {
    const MacroRecord a = Macro("first", 3, 40), c = Macro("third", 255, 1);
    std::string bad = Line("1", Macro("second", 1, 1));
    bad[5] = bad[5] == 'A' ? 'B' : 'A'; // checksum no longer matches
    const std::string shortValue = "2=0102\r\n";
    TestFolder folder;
    WriteStore(folder, "[Macros]\r\nnumber=5\r\n" + Line("0", a) + bad + shortValue + Line("4", c));

    MacroList list;
    LoadMacroStore(folder.path(), list);

    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(std::memcmp(list.At(0)->data(), a.data(), kMacroRecordSize), 0);
    EXPECT_EQ(std::memcmp(list.At(1)->data(), c.data(), kMacroRecordSize), 0);
}

TEST(MacroStoreFile, AHugeNumberLoadsWhatIsThereWithoutReadingForEver) {
    const MacroRecord a = Macro("a", 1, 3), b = Macro("b", 2, 4);
    TestFolder folder;
    WriteStore(folder, "[Macros]\r\nnumber=2147483647\r\n" + Line("0", a) + Line("1", b));
    MacroList list;
    LoadMacroStore(folder.path(), list); // would not return for hours reading every key
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.At(1)->Name(), "b");
}

TEST(MacroStoreFile, AStoreWrittenFromAnEmptyListHoldsOnlyNumberZero) {
    TestFolder folder;
    WriteStore(folder, "[Macros]\r\nnumber=2\r\n" + Line("0", Macro("old", 1, 1)) +
                           Line("1", Macro("older", 1, 1)));
    SaveMacroStore(folder.path(), MacroList{});
    std::string text = TestFolder::ReadFile(MacroStorePath(folder.path()));
    std::erase(text, '\r');
    EXPECT_EQ(text, "[Macros]\nnumber=0\n");
}

// The store is replaced in one step: a store that cannot be replaced keeps
// its macros, and a save leaves nothing beside it.
TEST(MacroStoreFile, AStoreThatCannotBeReplacedKeepsItsMacrosAndASaveLeavesNothingBesideIt) {
    TestFolder folder;
    MacroList first;
    first.Append(Macro("kept", 1, 2));
    SaveMacroStore(folder.path(), first);
    const std::string path = MacroStorePath(folder.path());
    const std::string fresh = path + ".new";
    TestFolder::WriteFile(fresh, "left by a save that stopped halfway");

    MacroList second;
    second.Append(Macro("new one", 2, 3));
    second.Append(Macro("new two", 2, 3));
    {
        // Another program holds the store open and lets nobody replace it.
        const HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        SaveMacroStore(folder.path(), second);
        ::CloseHandle(held);
    }
    MacroList back;
    LoadMacroStore(folder.path(), back);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back.At(0)->Name(), "kept");
    EXPECT_EQ(::GetFileAttributesA(fresh.c_str()), INVALID_FILE_ATTRIBUTES);

    SaveMacroStore(folder.path(), second);
    MacroList now;
    LoadMacroStore(folder.path(), now);
    ASSERT_EQ(now.size(), 2u);
    EXPECT_EQ(now.At(1)->Name(), "new two");
    EXPECT_EQ(::GetFileAttributesA(fresh.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Option writes the store back at start only when it is not already what a
// save would write.
TEST(MacroStoreFile, AStoreIsSoundOnlyWhenASaveWouldWriteItAgain) {
    const MacroRecord a = Macro("a", 1, 2), b = Macro("b", 2, 3);
    const auto sound = [](const std::string& body) {
        TestFolder folder;
        WriteStore(folder, body);
        MacroList list;
        return LoadMacroStore(folder.path(), list);
    };
    EXPECT_TRUE(sound("[Macros]\r\nnumber=2\r\n" + Line("0", a) + Line("1", b)));
    EXPECT_TRUE(sound("[Macros]\r\nnumber=0\r\n"));
    EXPECT_FALSE(sound("[Macros]\r\n" + Line("0", a))) << "no number";
    EXPECT_FALSE(sound("[Macros]\r\nnumber=3\r\n" + Line("0", a) + Line("1", b)))
        << "a key missing";
    EXPECT_FALSE(sound("[Macros]\r\nnumber=1\r\n" + Line("0", a) + Line("1", b)))
        << "a key past the number";
    EXPECT_FALSE(sound("[Macros]\r\nnumber=1\r\n" + Line("0", a) + "x=1\r\n"))
        << "a key of another name";
    std::string bad = Line("1", b);
    bad[5] = bad[5] == 'A' ? 'B' : 'A';
    EXPECT_FALSE(sound("[Macros]\r\nnumber=2\r\n" + Line("0", a) + bad)) << "a damaged record";

    TestFolder none;
    MacroList list;
    EXPECT_FALSE(LoadMacroStore(none.path(), list)) << "no store at all";
    list.Append(a);
    SaveMacroStore(none.path(), list);
    MacroList back;
    EXPECT_TRUE(LoadMacroStore(none.path(), back)) << "what a save wrote";
    // What is loaded is appended to what the list held.
    EXPECT_TRUE(LoadMacroStore(none.path(), back));
    EXPECT_EQ(back.size(), 2u);
}

TEST(MacroStoreFile, SaveCreatesTheConfigFolderAndRenumbersFromZeroAfterADelete) {
    TestFolder folder; // no config folder yet
    MacroList list;
    list.Append(Macro("one", 1, 2));
    list.Append(Macro("two", 2, 3));
    list.Append(Macro("three", 3, 4));
    list.Remove(0);
    SaveMacroStore(folder.path(), list);

    const std::string path = MacroStorePath(folder.path());
    EXPECT_EQ(::GetPrivateProfileIntA("Macros", "number", -9, path.c_str()), 2);
    char value[8];
    EXPECT_EQ(::GetPrivateProfileStringA("Macros", "2", "", value, sizeof value, path.c_str()), 0u);

    MacroList back;
    LoadMacroStore(folder.path(), back);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back.At(0)->Name(), "two");
    EXPECT_EQ(back.At(1)->Name(), "three");
}

TEST(MacroStoreFile, ValuesAreTheRecordsBytesInUpperCaseHexWithTheirSum) {
    TestFolder folder;
    MacroList list;
    MacroRecord& r = list.Append(Macro("Hex", 0x01020304, 1));
    r.SetEvent(0, MacroEvent{0xE1, 2, 0xBEEF});
    SaveMacroStore(folder.path(), list);

    char value[600] = {};
    ::GetPrivateProfileStringA("Macros", "0", "", value, sizeof value,
                               MacroStorePath(folder.path()).c_str());
    const std::string text = value;
    ASSERT_EQ(text.size(), 2 * kMacroRecordSize + 2);
    EXPECT_EQ(text.substr(0, 6), "486578");        // "Hex"
    EXPECT_EQ(text.substr(2 * 52, 8), "04030201"); // repeat, little-endian
    EXPECT_EQ(text.substr(2 * 56, 8), "01000000"); // count
    EXPECT_EQ(text.substr(2 * 60, 8), "E102EFBE"); // code, direction, delay
    unsigned sum = 0;
    for (std::size_t i = 0; i < kMacroRecordSize; ++i)
        sum += r.data()[i];
    char tail[3];
    std::snprintf(tail, sizeof tail, "%02X", sum & 0xFF);
    EXPECT_EQ(text.substr(2 * kMacroRecordSize), tail);
}

} // namespace
} // namespace gm
