// The macro library: finding a button's macro by name, bringing the macros
// the buttons carry into the library, the store file through an in-memory
// INI, and copying a macro into a button.
#include "option/macros/macro_list.h"
#include "option/tests/macro_builder.h"
#include "shared/struct_codec.h"
#include "shared/tests/memory_ini.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace gm {
namespace {

// Button `b` of profile `p` set to the macro function with these contents.
ButtonView MacroButton(SettingsBlock& block, int p, int b, const std::string& name, int repeat,
                       std::initializer_list<MacroEvent> events) {
    ButtonView button = block.Profile(p).Button(b);
    button.MakeFresh(b);
    button.Set(btn::FunctionType, uint8_t(fn::Macro));
    button.Set(btn::MacroName, name);
    button.Set(btn::RepeatCount, repeat);
    int i = 0;
    for (const MacroEvent& e : events)
        button.SetEvent(i++, e);
    button.Set(btn::EventCount, uint16_t(i));
    return button;
}

constexpr MacroEvent kAPress{0x04, 1, 120}, kARelease{0x04, 2, 0}, kBPress{0x05, 1, 0};

TEST(MacroFind, NamesMatchIgnoringCaseAndTheLibrarysSurroundingSpaces) {
    MacroList list;
    list.Append(Macro("Other", 1, {}));
    list.Append(Macro("  Reload  ", 2, {kAPress, kARelease}));
    SettingsBlock block;
    const ButtonView button = MacroButton(block, 0, 3, "rELOAD", 2, {kAPress, kARelease});

    const FindResult found = list.Find(button);
    EXPECT_EQ(found.position, 1);
    EXPECT_TRUE(found.same);

    // The button's own name is not trimmed: a padded button name is another macro.
    MacroButton(block, 0, 4, " Reload", 2, {kAPress, kARelease});
    EXPECT_EQ(list.Find(block.Profile(0).Button(4)).position, -1);
}

TEST(MacroFind, ContentsDifferInCountRepeatOrAnyCountedEventByte) {
    MacroList list;
    list.Append(Macro("m", 2, {kAPress, kARelease}));
    SettingsBlock block;
    ButtonView button = MacroButton(block, 0, 3, "M", 2, {kAPress, kARelease});
    EXPECT_TRUE(list.Find(button).same);

    button.Set(btn::RepeatCount, 3);
    EXPECT_FALSE(list.Find(button).same);
    button.Set(btn::RepeatCount, 2);

    button.SetEvent(0, MacroEvent{0x04, 1, 121}); // only the pause differs
    EXPECT_FALSE(list.Find(button).same);
    button.SetEvent(0, kAPress);

    button.Set(btn::EventCount, uint16_t(1));
    const FindResult shorter = list.Find(button);
    EXPECT_EQ(shorter.position, 0);
    EXPECT_FALSE(shorter.same);

    // Slots after the count do not take part.
    button.Set(btn::EventCount, uint16_t(2));
    button.SetEvent(5, kBPress);
    EXPECT_TRUE(list.Find(button).same);
}

TEST(MacroMerge, AButtonMacroTheLibraryLacksIsAppendedAtTheEnd) {
    MacroList list;
    list.Append(Macro("First", 1, {kBPress}));
    SettingsBlock block;
    MacroButton(block, 2, 7, "Burst", 5, {kAPress, kARelease});

    EXPECT_TRUE(list.Merge(block));

    ASSERT_EQ(list.size(), 2u);
    const MacroRecord* added = list.At(1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Name(), "Burst");
    EXPECT_EQ(added->Repeat(), 5);
    EXPECT_EQ(added->Count(), 2);
    EXPECT_EQ(added->Event(0).delay, 120);
    EXPECT_EQ(added->Event(1).direction, 2);
    EXPECT_EQ(added->Event(2).keyCode, 0);
}

TEST(MacroMerge, ADifferentCopyOverwritesEventsCountAndRepeatButKeepsTheLibraryName) {
    MacroList list;
    MacroRecord old = Macro(" Combo ", 1, {kBPress, kBPress, kBPress});
    list.Append(old);
    SettingsBlock block;
    MacroButton(block, 0, 3, "COMBO", 4, {kAPress});

    EXPECT_TRUE(list.Merge(block)) << "an entry changed";

    ASSERT_EQ(list.size(), 1u);
    const MacroRecord* entry = list.At(0);
    EXPECT_EQ(entry->Name(), " Combo ");
    EXPECT_EQ(entry->Count(), 1);
    EXPECT_EQ(entry->Repeat(), 4);
    EXPECT_EQ(entry->Event(0).keyCode, kAPress.keyCode);
    // All 40 slots come from the button, so the stale events are gone.
    EXPECT_EQ(entry->Event(1).keyCode, 0);
    EXPECT_EQ(entry->Event(2).keyCode, 0);
}

TEST(MacroMerge, SameMacroOnSeveralButtonsAndNonMacroButtonsAddNothing) {
    MacroList list;
    SettingsBlock block;
    MacroButton(block, 0, 3, "Twice", 1, {kAPress});
    MacroButton(block, 4, 14, "twice", 1, {kAPress});
    // A name on a button of another function, and a macro button without a name.
    ButtonView key = MacroButton(block, 1, 2, "Ghost", 1, {kAPress});
    key.Set(btn::FunctionType, uint8_t(fn::Key));
    MacroButton(block, 1, 3, "", 1, {kAPress});

    list.Merge(block);

    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.At(0)->Name(), "Twice");
    const MacroRecord before = *list.At(0);
    EXPECT_FALSE(list.Merge(block)) << "the library already holds every macro the buttons carry";
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(std::memcmp(before.data(), list.At(0)->data(), kMacroRecordSize), 0);
}

TEST(MacroMerge, AnEventCountAboveFortyIsClampedWhenCopied) {
    MacroList list;
    SettingsBlock block;
    ButtonView b = MacroButton(block, 0, 3, "Big", 1, {kAPress});
    b.Set(btn::EventCount, uint16_t(300));
    list.Merge(block);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.At(0)->Count(), kMaxEvents);
}

TEST(MacroListPositions, AtAndRemoveOutsideTheListDoNothing) {
    MacroList list;
    EXPECT_EQ(list.At(0), nullptr);
    list.AppendName("a");
    list.AppendName("b");
    list.AppendName("c");
    EXPECT_EQ(list.At(-1), nullptr);
    EXPECT_EQ(list.At(3), nullptr);
    list.Remove(5);
    list.Remove(-1);
    EXPECT_EQ(list.size(), 3u);
    list.Remove(1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.At(1)->Name(), "c");
    EXPECT_EQ(list.At(1)->Repeat(), 0);
    EXPECT_EQ(list.At(1)->Count(), 0);
    EXPECT_EQ(list.IndexOfName(" C "), 1);
}

TEST(MacroStoreKeys, LoadTakesNumberKeysAndSkipsMissingOrDamagedOnes) {
    test::MemoryIni ini;
    const MacroRecord a = Macro("a", 1, {kAPress}), c = Macro("c", 3, {kBPress});
    ini.Put("Macros", "number", "4");
    ini.Put("Macros", "0", EncodeStruct(a.data(), kMacroRecordSize));
    std::string damaged = EncodeStruct(a.data(), kMacroRecordSize);
    damaged[5] = damaged[5] == '0' ? '1' : '0'; // the checksum no longer matches
    ini.Put("Macros", "1", damaged);
    // key "2" missing
    ini.Put("Macros", "3", EncodeStruct(c.data(), kMacroRecordSize));

    MacroList list;
    list.AppendName("kept");
    list.Load(ini);

    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.At(0)->Name(), "kept");
    EXPECT_EQ(list.At(1)->Name(), "a");
    EXPECT_EQ(list.At(2)->Name(), "c");
    EXPECT_EQ(std::memcmp(list.At(2)->data(), c.data(), kMacroRecordSize), 0);
}

TEST(MacroStoreKeys, NumberZeroNegativeOrMissingLoadsNothing) {
    for (const char* number : std::initializer_list<const char*>{"0", "-3", nullptr}) {
        test::MemoryIni ini;
        const MacroRecord a = Macro("a", 1, {kAPress});
        ini.Put("Macros", "0", EncodeStruct(a.data(), kMacroRecordSize));
        if (number)
            ini.Put("Macros", "number", number);
        MacroList list;
        list.Load(ini);
        EXPECT_TRUE(list.empty()) << (number ? number : "missing");
    }
}

TEST(MacroStoreKeys, ReadingStopsBeforeTheFirstKeyTheFileDoesNotHold) {
    test::MemoryIni ini;
    const MacroRecord a = Macro("a", 1, {kAPress});
    ini.Put("Macros", "number", "2000000000");
    ini.Put("Macros", "0", EncodeStruct(a.data(), kMacroRecordSize));
    ini.Put("Macros", "1", EncodeStruct(a.data(), kMacroRecordSize));
    ini.Put("Macros", "2", EncodeStruct(a.data(), kMacroRecordSize));
    MacroList list;
    list.Load(ini, 2);
    EXPECT_EQ(list.size(), 2u);
}

TEST(MacroStoreKeys, SaveWritesTheCountThenEveryRecordFromZero) {
    MacroList list;
    list.Append(Macro("x", 1, {kAPress}));
    list.Append(Macro("y", 2, {kBPress}));
    list.Append(Macro("z", 3, {}));
    list.Remove(0);
    test::MemoryIni ini;
    list.Save(ini);
    EXPECT_EQ(ini.writeOrder, (std::vector<std::string>{"number", "0", "1"}));
    EXPECT_EQ(*ini.Find("Macros", "number"), "2");
    EXPECT_EQ(*ini.Find("Macros", "0"), EncodeStruct(list.At(0)->data(), kMacroRecordSize));

    MacroList back;
    back.Load(ini);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back.At(0)->Name(), "y");
    EXPECT_EQ(back.At(1)->Repeat(), 3);
}

TEST(CopyMacroToButton, NameCutTo23CharactersAndAllFortySlotsCopied) {
    MacroRecord m = Macro("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 7, {kAPress, kARelease});
    m.SetEvent(39, kBPress); // beyond the count, copied all the same
    SettingsBlock block;
    ButtonView button = block.Profile(1).Button(5);
    button.MakeFresh(5);
    button.Set(btn::ProgramPath, "C:\\keep.exe");

    CopyMacroToButton(m, button);

    EXPECT_EQ(button.Get(btn::MacroName), "ABCDEFGHIJKLMNOPQRSTUVW");
    EXPECT_EQ(button.data()[8 + 23], 0);
    EXPECT_EQ(button.data()[32], 0);
    EXPECT_EQ(button.Get(btn::RepeatCount), 7);
    EXPECT_EQ(button.Get(btn::EventCount), 2);
    EXPECT_EQ(button.Event(0).delay, 120);
    EXPECT_EQ(button.Event(39).keyCode, kBPress.keyCode);
    EXPECT_EQ(button.Get(btn::ProgramPath), "C:\\keep.exe");
}

TEST(CopyMacroToButton, ADamagedCountNeverReachesTheButtonAboveForty) {
    MacroRecord m = Macro("m", 1, {});
    m.SetCount(1000);
    SettingsBlock block;
    ButtonView button = block.Profile(0).Button(0);
    CopyMacroToButton(m, button);
    EXPECT_EQ(button.Get(btn::EventCount), kMaxEvents);
    m.SetCount(-5);
    CopyMacroToButton(m, button);
    EXPECT_EQ(button.Get(btn::EventCount), 0);
}

} // namespace
} // namespace gm
