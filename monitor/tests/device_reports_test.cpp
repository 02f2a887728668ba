#include "monitor/device_reports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace gm::mon {
namespace {

using Bytes = std::vector<uint8_t>;
using Items = std::vector<std::pair<int, int>>;

template <std::size_t N> Bytes ToBytes(const std::array<uint8_t, N>& a) {
    return Bytes(a.begin(), a.end());
}

// Records of their own, outside any block.
struct ProfileRecord {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kProfileSize, 0);
    ProfileView view() { return ProfileView(bytes.data()); }
};
struct ButtonRecord {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kButtonSize, 0);
    ButtonView view() { return ButtonView(bytes.data()); }
};

// One macro event with the pause that precedes it.
struct Ev {
    uint8_t key;
    uint8_t dir;
    unsigned pauseBefore;
    bool operator==(const Ev&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Ev& e) {
    return os << "{" << int(e.key) << "," << int(e.dir) << "," << e.pauseBefore << "}";
}

// Stores events as records keep them: slot j-1 holds the pause before event
// j, the last slot the pause before event 0. `count` may claim more events
// than the 40 slots.
void StoreMacro(ButtonView b, const std::vector<Ev>& events, int count = -1) {
    const int n = int(events.size());
    b.Set(btn::FunctionType, uint8_t(fn::Macro));
    b.Set(btn::EventCount, uint16_t(count < 0 ? n : count));
    for (int j = 0; j < n; ++j)
        b.SetEvent(j, {events[j].key, events[j].dir, uint16_t(events[(j + 1) % n].pauseBefore)});
}

std::vector<Ev> LoadMacro(const ButtonView& b) {
    const int n = b.Get(btn::EventCount);
    std::vector<Ev> events;
    for (int j = 0; j < n; ++j) {
        const MacroEvent e = b.Event(j);
        events.push_back({e.keyCode, e.direction, b.Event(j == 0 ? n - 1 : j - 1).delay});
    }
    return events;
}

Items ItemsOf(const MacroReport& r) {
    Items items;
    for (int i = 0; i < r[29]; ++i)
        items.emplace_back(r[30 + 2 * i], r[31 + 2 * i]);
    return items;
}

MacroReport MacroWithItems(const Items& items, uint8_t repeat = 1, const char* name = "M") {
    MacroReport r{};
    r[0] = 9, r[1] = 130, r[4] = repeat;
    std::memcpy(r.data() + 5, name, std::strlen(name));
    r[29] = uint8_t(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        r[30 + 2 * i] = uint8_t(items[i].first);
        r[31 + 2 * i] = uint8_t(items[i].second);
    }
    return r;
}

// ---------------------------------------------------------------------------
// Performance record (report 6)

TEST(PerformanceReport, EncodesEveryByte) {
    ProfileRecord rec;
    ProfileView p = rec.view();
    p.MakeDefault(3, LevelSet::Monitor);
    p.Set(prof::Sensitivity_X, 12);
    p.Set(prof::Sensitivity_Y, 7);
    const uint8_t flags[kStageCount] = {1, 0, 1,
                                        1, 2, 1}; // only a 1 enables; stage 5 is never sent
    for (int s = 0; s < kStageCount; ++s) {
        p.Set(prof::StepFlag(s), flags[s]);
        p.Set(prof::CpiLevelX(s), 3 + 2 * s);
        p.Set(prof::CpiLevelY(s), 20 + s);
        p.Set(prof::Indicator(s), uint8_t(1 + s));
    }
    p.Set(prof::CpiStep, 2);
    p.Set(prof::DpiIndicationType, 0xFE);
    p.Set(prof::PollingRate, 3);
    p.Set(prof::Orientation, 1);
    p.Set(prof::BtnConfiguration, 4);
    p.Set(prof::Color1Type, 6);
    p.Set(prof::Color2Type, 7);
    p.Set(prof::LightIntensity, 1);
    p.Set(prof::BreathSpeed, 3);
    p.Set(prof::ColorFlag, 1);
    p.Set(prof::ColorOptions1, 4);

    // clang-format off
    const Bytes expected = {6, 37, 3, 12, 7, 0x0D,
                            3, 5, 7, 9, 11,   // X levels
                            3, 5, 7, 9, 11,   // the X levels again, not Y
                            2, 1, 2, 3, 4, 5, 2, 3, 1, 4, 6, 7,
                            1, 0, 0, 0,       // lighting on, breathing off
                            5, 0, 1, 2,       // colour option + 1, breathing code, colour flag, lighting code
                            5};               // profile 3's indicator code
    // clang-format on
    EXPECT_EQ(ToBytes(EncodePerformance(p, 3)), expected);
}

TEST(PerformanceReport, CodesLightingBreathingColourAndProfile) {
    ProfileRecord rec;
    ProfileView p = rec.view();
    struct Case {
        int32_t value;
        uint8_t on, code;
    };
    for (const Case c :
         {Case{0, 1, 1}, Case{1, 1, 2}, Case{2, 1, 4}, Case{3, 0, 0}, Case{7, 1, 0}}) {
        p.Set(prof::LightIntensity, c.value);
        p.Set(prof::BreathSpeed, c.value);
        const PerformanceReport r = EncodePerformance(p, 0);
        EXPECT_EQ(r[28], c.on) << c.value;
        EXPECT_EQ(r[35], c.code) << c.value;
        EXPECT_EQ(r[30], c.on) << c.value;
        EXPECT_EQ(r[33], c.code) << c.value;
    }
    p.Set(prof::ColorFlag, 0);
    p.Set(prof::ColorOptions1, 6);
    EXPECT_EQ(EncodePerformance(p, 0)[32], 0) << "no colour option without the flag";
    EXPECT_EQ(EncodePerformance(p, 0)[34], 0);

    const uint8_t codes[kProfileCount] = {1, 3, 2, 5, 4};
    for (int i = 0; i < kProfileCount; ++i) {
        p.Set(prof::ProfileSwitchIndictor, 9); // the sent code is fixed per profile
        EXPECT_EQ(EncodePerformance(p, i)[36], codes[i]);
        EXPECT_EQ(EncodePerformance(p, i)[2], i);
    }
}

TEST(PerformanceReport, DecodesInByteOrderAndLeavesUnsentFields) {
    ProfileRecord rec;
    ProfileView p = rec.view();
    p.MakeDefault(0, LevelSet::Monitor);
    for (int s = 0; s < kStageCount; ++s)
        p.Set(prof::CpiLevelY(s), 30 + s);
    p.Set(prof::CpiLevelX(5), 99);
    p.Set(prof::StepFlag(5), 7);
    p.Set(prof::Orientation, 1);

    // clang-format off
    PerformanceReport r = {6, 37, 0, 15, 16, 0x15,
                           1, 3, 5, 7, 9,
                           40, 41, 42, 43, 44,   // never read
                           3, 11, 12, 13, 14, 15, 0xFE, 1, 0, 8, 2, 3,
                           0, 0, 0, 0,           // lighting off, breathing off
                           3, 4, 9, 2,           // colour option 2, breathing 2, mode 9, lighting 1
                           4};
    // clang-format on
    ASSERT_TRUE(DecodePerformance(r.data(), r.size(), p));
    EXPECT_EQ(p.Get(prof::Sensitivity_X), 15);
    EXPECT_EQ(p.Get(prof::Sensitivity_Y), 16);
    const uint8_t flags[kStoredStages] = {1, 0, 1, 0, 1};
    for (int s = 0; s < kStoredStages; ++s) {
        EXPECT_EQ(p.Get(prof::StepFlag(s)), flags[s]) << s;
        EXPECT_EQ(p.Get(prof::CpiLevelX(s)), 1 + 2 * s) << s;
        EXPECT_EQ(p.Get(prof::CpiLevelY(s)), 30 + s) << "Y levels are not in the report";
        EXPECT_EQ(p.Get(prof::Indicator(s)), 11 + s) << s;
    }
    EXPECT_EQ(p.Get(prof::CpiLevelX(5)), 99);
    EXPECT_EQ(p.Get(prof::StepFlag(5)), 7);
    EXPECT_EQ(p.Get(prof::CpiStep), 3);
    EXPECT_EQ(p.Get(prof::DpiIndicationType), 0xFE);
    EXPECT_EQ(p.Get(prof::PollingRate), 1);
    EXPECT_EQ(p.Get(prof::Orientation), 1) << "orientation is not read back";
    EXPECT_EQ(p.Get(prof::BtnConfiguration), 8);
    EXPECT_EQ(p.Get(prof::Color1Type), 2);
    EXPECT_EQ(p.Get(prof::Color2Type), 3);
    EXPECT_EQ(p.Get(prof::ColorFlag), 1);
    EXPECT_EQ(p.Get(prof::ColorOptions1), 2);
    EXPECT_EQ(p.Get(prof::BreathSpeed), 2) << "byte 33 comes after byte 30";
    EXPECT_EQ(p.Get(prof::ColorChangeModeOptions1), 9);
    EXPECT_EQ(p.Get(prof::LightIntensity), 1) << "byte 35 comes after byte 28";
    EXPECT_EQ(p.Get(prof::ProfileSwitchIndictor), 4);

    // Off with no level code: off. On with an unknown code: unchanged.
    r[28] = 0, r[35] = 0, r[30] = 1, r[33] = 7, r[32] = 0;
    p.Set(prof::BreathSpeed, 1);
    ASSERT_TRUE(DecodePerformance(r.data(), r.size(), p));
    EXPECT_EQ(p.Get(prof::LightIntensity), 3);
    EXPECT_EQ(p.Get(prof::BreathSpeed), 1);
    EXPECT_EQ(p.Get(prof::ColorFlag), 0);
    EXPECT_EQ(p.Get(prof::ColorOptions1), 0);
}

// ---------------------------------------------------------------------------
// Button table (report 7)

TEST(ButtonTableReport, KeysWithModifiersAndModifierKeysAlone) {
    ButtonRecord rec;
    ButtonView b = rec.view();
    b.Set(btn::FunctionType, uint8_t(fn::Key));
    b.Set(btn::KeyUsage, 0x04);
    b.Set(btn::KeyModifiers, 0x05);
    EXPECT_EQ(EncodeButtonEntry(b), (ButtonEntry{5, 5, 4}));

    const uint8_t bits[8] = {1, 2, 4, 8, 1, 2, 4, 8};
    for (int k = 0; k < 8; ++k) {
        b.Set(btn::KeyUsage, uint8_t(0xE0 + k));
        EXPECT_EQ(EncodeButtonEntry(b), (ButtonEntry{5, bits[k], 0})) << std::hex << 0xE0 + k;
    }

    // Left Shift alone goes out as 5, 2, 0 and comes back as a plain key
    // record: modifier 2, no key.
    b.Set(btn::KeyUsage, 0xE1);
    b.Set(btn::KeyModifiers, 0);
    ButtonRecord back;
    ButtonView r = back.view();
    r.Set(btn::MacroName, "old macro");
    r.Set(btn::EventCount, uint16_t(9));
    DecodeButtonEntry(EncodeButtonEntry(b), r);
    EXPECT_EQ(r.Get(btn::FunctionType), fn::Key);
    EXPECT_EQ(r.Get(btn::KeyModifiers), 2);
    EXPECT_EQ(r.Get(btn::KeyUsage), 0);
    EXPECT_EQ(r.Get(btn::EventCount), 1);
    EXPECT_EQ(r.Get(btn::MacroName), "");
}

TEST(ButtonTableReport, CtrlShortcutsTravelAsCtrlKeysAndAreRecognised) {
    const uint8_t keys[8] = {27, 6, 25, 29, 4, 9, 17, 22}; // X C V Z A F N S
    for (int type = 53; type <= 60; ++type) {
        ButtonRecord rec;
        ButtonView b = rec.view();
        b.Set(btn::FunctionType, uint8_t(type));
        const ButtonEntry sent = EncodeButtonEntry(b);
        EXPECT_EQ(sent, (ButtonEntry{5, 1, keys[type - 53]})) << type;

        ButtonRecord back;
        back.view().Set(btn::KeyUsage, 0x33);
        DecodeButtonEntry(sent, back.view());
        EXPECT_EQ(back.view().Get(btn::FunctionType), type);
        EXPECT_EQ(back.view().Get(btn::KeyUsage), 0x33) << "a shortcut is not a key record";
    }

    ButtonRecord rec;
    DecodeButtonEntry({5, 1, 6}, rec.view());
    EXPECT_EQ(rec.view().Get(btn::FunctionType), 54);
    // Another Ctrl key, or C with other modifiers, stays a key record.
    DecodeButtonEntry({5, 1, 7}, rec.view());
    EXPECT_EQ(rec.view().Get(btn::FunctionType), 5);
    EXPECT_EQ(rec.view().Get(btn::KeyModifiers), 1);
    EXPECT_EQ(rec.view().Get(btn::KeyUsage), 7);
    DecodeButtonEntry({5, 3, 6}, rec.view());
    EXPECT_EQ(rec.view().Get(btn::FunctionType), 5);
    EXPECT_EQ(rec.view().Get(btn::KeyModifiers), 3);
}

TEST(ButtonTableReport, OtherFunctionsCarryOnlyTheirType) {
    ButtonRecord rec;
    ButtonView b = rec.view();
    b.Set(btn::FunctionType, uint8_t(fn::Macro));
    b.Set(btn::RepeatCount, 0x0103);
    EXPECT_EQ(EncodeButtonEntry(b), (ButtonEntry{16, 0, 3})) << "low byte of the repeat count";
    b.Set(btn::FunctionType, uint8_t(fn::RunProgram));
    b.Set(btn::ProgramPath, "C:\\x.exe");
    EXPECT_EQ(EncodeButtonEntry(b), (ButtonEntry{17, 0, 0}));

    // Reading back a non-key type changes the type and nothing else.
    StoreMacro(b, {{4, 1, 10}, {4, 2, 20}});
    b.Set(btn::MacroName, "keep");
    const Bytes before = rec.bytes;
    DecodeButtonEntry({16, 0, 9}, b);
    EXPECT_EQ(rec.bytes, before);
    DecodeButtonEntry({26, 0, 0}, b);
    EXPECT_EQ(b.Get(btn::FunctionType), 26);
    rec.bytes[1] = 16;
    EXPECT_EQ(rec.bytes, before);
}

TEST(ButtonTableReport, TableHoldsFifteenEntriesInOrder) {
    ProfileRecord rec;
    ProfileView p = rec.view();
    p.MakeDefault(2, LevelSet::Monitor);
    p.Button(4).Set(btn::FunctionType, 55);
    p.Button(14).Set(btn::FunctionType, uint8_t(fn::Key));
    p.Button(14).Set(btn::KeyUsage, 0x2C);
    p.Button(14).Set(btn::KeyModifiers, 8);
    const ButtonTableReport r = EncodeButtonTable(p, 2);
    Bytes expected = {7, 50, 2};
    const uint8_t types[kButtonCount] = {1, 2, 3, 8, 5, 13, 21, 0, 0, 0, 0, 0, 0, 9, 5};
    for (int k = 0; k < kButtonCount; ++k)
        expected.insert(expected.end(), {types[k], 0, 0});
    expected[3 + 3 * 4 + 1] = 1, expected[3 + 3 * 4 + 2] = 25;
    expected[3 + 3 * 14 + 1] = 8, expected[3 + 3 * 14 + 2] = 0x2C;
    expected.insert(expected.end(), {0, 0});
    EXPECT_EQ(ToBytes(r), expected);

    ProfileRecord back;
    ASSERT_TRUE(DecodeButtonTable(r.data(), r.size(), back.view()));
    for (int k = 0; k < kButtonCount; ++k)
        EXPECT_EQ(back.view().Button(k).Get(btn::FunctionType), p.Button(k).Get(btn::FunctionType));
    EXPECT_EQ(back.view().Button(14).Get(btn::KeyUsage), 0x2C);
    EXPECT_EQ(back.view().Button(14).Get(btn::KeyModifiers), 8);
}

// ---------------------------------------------------------------------------
// Macro (report 9), encoding

TEST(MacroEncoding, LongPausesAndFiveMsCounts) {
    ButtonRecord rec;
    StoreMacro(rec.view(), {{4, 1, 0},     // 0 ms: still one count
                            {4, 2, 1234},  // [12,2], then 34 ms: 6 + 1
                            {5, 1, 7},     // remainder 2 rounds up
                            {5, 2, 6},     // remainder 1 does not
                            {6, 1, 635},   // the most an event item carries
                            {6, 2, 636}}); // [6,2], then 36 ms
    const MacroReport r = EncodeMacro(rec.view(), 1, 2);
    EXPECT_EQ(
        ItemsOf(r),
        (Items{
            {1, 4}, {12, 2}, {7 + 128, 4}, {2, 5}, {1 + 128, 5}, {127, 6}, {6, 2}, {7 + 128, 6}}));
}

TEST(MacroEncoding, AtMostTenLongPauseItems) {
    std::vector<Ev> events;
    for (int i = 0; i < 12; ++i)
        events.push_back({uint8_t(10 + i), 1, 700});
    events[11].pauseBefore = 1250; // only its 50 ms remain
    ButtonRecord rec;
    StoreMacro(rec.view(), events);
    const Items items = ItemsOf(EncodeMacro(rec.view(), 0, 0));
    ASSERT_EQ(items.size(), 22u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(items[2 * i], (std::pair<int, int>{7, 2}));
        EXPECT_EQ(items[2 * i + 1], (std::pair<int, int>{1, 10 + i}));
    }
    EXPECT_EQ(items[20], (std::pair<int, int>{1, 20}))
        << "700 ms after ten long pauses: 0 ms, count 1";
    EXPECT_EQ(items[21], (std::pair<int, int>{10, 21}));
}

TEST(MacroEncoding, AnEventWhoseKeyReadsAsAPauseUnitIsNotSentAndItsPauseGoesToTheNext) {
    // No key has the codes 1-3, which an item's second byte gives a long
    // pause; sent as events they would read back as pauses and swallow the
    // event after them.
    ButtonRecord rec;
    StoreMacro(rec.view(), {{4, 1, 200}, {2, 1, 100}, {3, 2, 0}, {5, 1, 50}});
    rec.view().Set(btn::MacroName, "Dash");
    const MacroReport r = EncodeMacro(rec.view(), 0, 0);
    EXPECT_EQ(ItemsOf(r), (Items{{40, 4}, {30, 5}})) << "the 100 ms and 50 ms add up";
    ButtonRecord back;
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), back.view(), 0, 0));
    EXPECT_EQ(LoadMacro(back.view()), (std::vector<Ev>{{4, 1, 200}, {5, 1, 150}}));
    EXPECT_EQ(EncodeMacro(back.view(), 0, 0), r) << "what is read back is sent the same";
}

TEST(MacroEncoding, HeaderNameRepeatAndDirection) {
    ButtonRecord rec;
    ButtonView b = rec.view();
    StoreMacro(b, {{0x1E, 1, 10}, {0x1E, 2, 10}, {0xF1, 0, 10}});
    b.Set(btn::MacroName, "Fire");
    b.Set(btn::RepeatCount, 0);
    MacroReport r = EncodeMacro(b, 4, 14);
    Bytes head(r.begin(), r.begin() + 30);
    Bytes expected = {9, 130, 4, 14, 1, 'F', 'i', 'r', 'e'};
    expected.resize(29, 0);
    expected.push_back(3);
    EXPECT_EQ(head, expected) << "repeat 0 goes out as 1, the name NUL-padded";
    EXPECT_EQ(ItemsOf(r), (Items{{2, 0x1E}, {2 + 128, 0x1E}, {2 + 128, 0xF1}}))
        << "any direction but press is a release";
    EXPECT_TRUE(std::all_of(r.begin() + 36, r.end(), [](uint8_t v) { return v == 0; }));

    b.Set(btn::RepeatCount, 0x0102);
    EXPECT_EQ(EncodeMacro(b, 0, 0)[4], 2);
    b.Set(btn::RepeatCount, 0x0100);
    EXPECT_EQ(EncodeMacro(b, 0, 0)[4], 1) << "a repeat byte of 0 is never sent";
    b.Set(btn::MacroName, std::string(30, 'n'));
    r = EncodeMacro(b, 0, 0);
    EXPECT_EQ(std::string(r.begin() + 5, r.begin() + 29), std::string(24, 'n'));
    EXPECT_EQ(r[29], 3);
}

TEST(MacroEncoding, PausesBeyondAHundredMsUnitUseTwoHundredAndClamp) {
    ButtonRecord rec;
    StoreMacro(rec.view(), {{4, 1, 25599}, {5, 1, 25600}, {6, 1, 30150}, {7, 1, 65535}});
    const MacroReport r = EncodeMacro(rec.view(), 0, 0);
    EXPECT_EQ(ItemsOf(r), (Items{{255, 2},
                                 {20, 4}, // 25500 + 99 ms
                                 {128, 3},
                                 {1, 5}, // 25600 + 0 ms
                                 {150, 3},
                                 {30, 6}, // 30000 + 150 ms
                                 {255, 3},
                                 {127, 7}})); // the longest pause there is

    ButtonRecord back;
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), back.view(), 0, 0));
    const std::vector<Ev> got = LoadMacro(back.view());
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[2].pauseBefore, 30150u);
    EXPECT_EQ(got[3].pauseBefore, kLongestMacroPauseMs);
}

TEST(MacroEncoding, FortyEventsAtMostAndNeverPastTheReport) {
    std::vector<Ev> events;
    for (int i = 0; i < kMaxEvents; ++i)
        events.push_back({uint8_t(4 + i), uint8_t(1 + i % 2), 1000});
    ButtonRecord rec;
    StoreMacro(rec.view(), events, 45); // a count no record should hold
    const MacroReport r = EncodeMacro(rec.view(), 0, 0);
    EXPECT_EQ(r[29], 50) << "forty events and ten long pauses fill the report";
    const Items items = ItemsOf(r);
    EXPECT_EQ(items.back(), (std::pair<int, int>{1 + 128, 4 + 39}));
    EXPECT_EQ(items[0], (std::pair<int, int>{10, 2})) << "event 0's pause is in slot 39";

    ButtonRecord back;
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), back.view(), 0, 0));
    EXPECT_EQ(back.view().Get(btn::EventCount), 40);
}

// ---------------------------------------------------------------------------
// Macro (report 9), decoding

TEST(MacroDecoding, NameIsTrimmedOrNamedAfterTheButton) {
    ButtonRecord rec;
    std::fill(rec.bytes.begin(), rec.bytes.end(), 'x');
    MacroReport r = MacroWithItems({}, 1, "AB                      ");
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), rec.view(), 0, 0));
    EXPECT_EQ(rec.view().Get(btn::MacroName), "AB");
    EXPECT_EQ(rec.bytes[32], 0);

    r = MacroWithItems({}, 1, "                        ");
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), rec.view(), 2, 4));
    EXPECT_EQ(rec.view().Get(btn::MacroName), "Pro3-M5");
    r = MacroWithItems({}, 1, "");
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), rec.view(), 4, 14));
    EXPECT_EQ(rec.view().Get(btn::MacroName), "Pro5-M15");

    std::fill(rec.bytes.begin(), rec.bytes.end(), 'x');
    r = MacroWithItems({}, 1, "abcdefghijklmnopqrstuvwx");
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), rec.view(), 0, 0));
    EXPECT_EQ(rec.view().Get(btn::MacroName), "abcdefghijklmnopqrstuvwx");
    EXPECT_EQ(rec.bytes[32], 0) << "a full name is still terminated";
}

TEST(MacroDecoding, ItemsBecomeEventsWithCircularDelays) {
    ButtonRecord rec;
    ButtonView b = rec.view();
    b.Set(btn::ButtonIndex, 6);
    b.Set(btn::ProgramPath, "kept");
    const MacroReport r = MacroWithItems({{2, 2},        // 200 ms long pause
                                          {3, 0x04},     // press A after 215 ms
                                          {0x81, 0x04},  // release A after 5 ms
                                          {4, 1},        // 200 ms in 50 ms units
                                          {0, 0xF1},     // left button after 200 ms
                                          {1, 3},        // 200 ms in 200 ms units
                                          {0x80, 0xF1}}, // release after 200 ms
                                         7);
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), b, 1, 6));
    EXPECT_EQ(b.Get(btn::FunctionType), fn::Macro);
    EXPECT_EQ(b.Get(btn::RepeatCount), 7);
    EXPECT_EQ(b.Get(btn::ButtonIndex), 7) << "the repeat byte lands in byte 0 too";
    EXPECT_EQ(b.Get(btn::EventCount), 4);
    EXPECT_EQ(LoadMacro(b),
              (std::vector<Ev>{{4, 1, 215}, {4, 2, 5}, {0xF1, 1, 200}, {0xF1, 2, 200}}));
    EXPECT_EQ(b.Event(3).delay, 215) << "the last slot holds event 0's pause";
    EXPECT_EQ(b.Event(0).delay, 5);
    EXPECT_EQ(b.Get(btn::ProgramPath), "kept");
}

TEST(MacroDecoding, StaysWithinTheReportAndTheRecord) {
    // A trailing long pause has no event to belong to.
    MacroReport r = MacroWithItems({{5, 0x10}, {9, 2}});
    ButtonRecord rec;
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), rec.view(), 0, 0));
    EXPECT_EQ(LoadMacro(rec.view()), (std::vector<Ev>{{0x10, 1, 25}}));

    // A count byte beyond 50 items reads the 50 that fit.
    Items items;
    for (int i = 0; i < 10; ++i)
        items.insert(items.end(), {{1, 2}, {1, uint8_t(20 + i)}});
    for (int i = 10; i < 40; ++i)
        items.push_back({1, 20 + i});
    r = MacroWithItems(items);
    r[29] = 255;
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), rec.view(), 0, 0));
    EXPECT_EQ(rec.view().Get(btn::EventCount), 40);
    EXPECT_EQ(rec.view().Event(39).keyCode, 59);
    EXPECT_EQ(rec.view().Event(39).delay, 105) << "event 0's pause";

    // More than 40 events: a macro that plays nothing, nothing past the
    // event slots touched.
    items.clear();
    for (int i = 0; i < 50; ++i)
        items.push_back({1, 10 + i});
    r = MacroWithItems(items);
    std::fill(rec.bytes.begin(), rec.bytes.end(), 0xAB);
    ASSERT_TRUE(DecodeMacro(r.data(), r.size(), rec.view(), 0, 0));
    EXPECT_EQ(rec.view().Get(btn::EventCount), 0);
    EXPECT_TRUE(std::all_of(rec.bytes.begin() + 42, rec.bytes.begin() + 202,
                            [](uint8_t v) { return v == 0; }));
    EXPECT_TRUE(
        std::all_of(rec.bytes.begin() + 202, rec.bytes.end(), [](uint8_t v) { return v == 0xAB; }));
}

// ---------------------------------------------------------------------------
// Macro round trips and random reports

// A pause the report carries exactly, given how many long pauses are left.
unsigned ExactPause(std::mt19937& rng, int& longPausesLeft) {
    auto pick = [&rng](unsigned lo, unsigned hi) {
        return std::uniform_int_distribution<unsigned>(lo, hi)(rng);
    };
    const unsigned kind = longPausesLeft > 0 ? pick(0, 3) : 0;
    if (kind == 0 || kind == 1)
        return 5 * pick(1, 127);
    --longPausesLeft;
    if (kind == 2)
        return 100 * pick(7, 255) + 5 * pick(1, 19);
    return 200 * pick(128, 255) + 5 * pick(1, 39);
}

TEST(MacroRoundTrip, RandomMacrosComeBackUnchanged) {
    std::mt19937 rng(20240611);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -";
    for (int iteration = 0; iteration < 2000; ++iteration) {
        const int n = pick(1, kMaxEvents);
        int longPausesLeft = 10;
        std::vector<Ev> events;
        for (int j = 0; j < n; ++j) // usages 1-3 read as long pauses, so no event carries them
            events.push_back(
                {uint8_t(pick(4, 255)), uint8_t(pick(1, 2)), ExactPause(rng, longPausesLeft)});
        std::string name;
        for (int i = pick(1, 24); i > 0; --i)
            name += letters[pick(0, int(letters.size()) - 1)];
        name.back() = 'z';
        const int repeat = pick(1, 255);
        const int profile = pick(0, 4);
        const int button = pick(0, 14);

        ButtonRecord rec;
        StoreMacro(rec.view(), events);
        rec.view().Set(btn::MacroName, name);
        rec.view().Set(btn::RepeatCount, repeat);
        const MacroReport r = EncodeMacro(rec.view(), profile, button);
        ASSERT_EQ(r[2], profile);
        ASSERT_EQ(r[3], button);

        ButtonRecord back;
        ASSERT_TRUE(DecodeMacro(r.data(), r.size(), back.view(), profile, button));
        ASSERT_EQ(LoadMacro(back.view()), events) << "iteration " << iteration;
        ASSERT_EQ(back.view().Get(btn::MacroName), name);
        ASSERT_EQ(back.view().Get(btn::RepeatCount), repeat);
        ASSERT_EQ(back.view().Get(btn::FunctionType), fn::Macro);
    }
}

TEST(MacroRoundTrip, AnyRecordKeepsItsEventsAndCloseToItsPauses) {
    std::mt19937 rng(77);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int iteration = 0; iteration < 2000; ++iteration) {
        ButtonRecord rec;
        ButtonView b = rec.view();
        b.Set(btn::FunctionType, uint8_t(fn::Macro));
        for (int slot = 0; slot < kMaxEvents; ++slot) {
            const int scale = pick(0, 3);
            const int delay = scale == 0   ? pick(0, 20)
                              : scale == 1 ? pick(0, 700)
                              : scale == 2 ? pick(0, 30000)
                                           : pick(0, 65535);
            b.SetEvent(slot, {uint8_t(pick(4, 255)), uint8_t(pick(0, 3)), uint16_t(delay)});
        }
        const int count = pick(0, 60);
        b.Set(btn::EventCount, uint16_t(count));
        const int n = std::min(count, kMaxEvents);

        const MacroReport r = EncodeMacro(b, 0, 0);
        ASSERT_LE(r[29], 50);
        ButtonRecord back;
        ASSERT_TRUE(DecodeMacro(r.data(), r.size(), back.view(), 0, 0));
        ASSERT_EQ(back.view().Get(btn::EventCount), n);

        int longPauses = 0;
        for (int j = 0; j < n; ++j) {
            const MacroEvent sent = b.Event(j);
            const MacroEvent got = back.view().Event(j);
            ASSERT_EQ(got.keyCode, sent.keyCode);
            ASSERT_EQ(got.direction, sent.direction == 1 ? 1 : 2);
            const int pause = b.Event(j == 0 ? n - 1 : j - 1).delay;
            const int gotPause = back.view().Event(j == 0 ? n - 1 : j - 1).delay;
            int target = std::min<int>(pause, kLongestMacroPauseMs);
            if (pause > 635 && longPauses++ >= 10)
                target = pause % 100;
            // 5-ms counts round a remainder of 2 ms up; a zero pause becomes 5 ms.
            ASSERT_GE(gotPause, target - 1) << "iteration " << iteration << " event " << j;
            ASSERT_LE(gotPause, target + 5) << "iteration " << iteration << " event " << j;
        }
    }
}

TEST(MacroDecoding, RandomReportsNeverReachPastTheEvents) {
    std::mt19937 rng(4242);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int iteration = 0; iteration < 5000; ++iteration) {
        Bytes report(kMacroLength); // exactly as long as the report: overreads show up
        for (uint8_t& v : report)
            v = uint8_t(byte(rng));
        report[0] = kMacroId;
        if (iteration % 2 == 0) // keys 1-3 make long pauses: try many of them
            for (std::size_t i = 31; i < report.size(); i += 2)
                report[i] = uint8_t(byte(rng) % 4);
        ButtonRecord rec;
        std::fill(rec.bytes.begin(), rec.bytes.end(), 0xAB);
        ASSERT_TRUE(DecodeMacro(report.data(), report.size(), rec.view(), 0, 0));
        const int n = rec.view().Get(btn::EventCount);
        ASSERT_LE(n, kMaxEvents);
        for (int i = 2; i < 8; ++i)
            ASSERT_EQ(rec.bytes[i], 0xAB) << i;
        for (int i = 33; i < 36; ++i)
            ASSERT_EQ(rec.bytes[i], 0xAB) << i;
        for (std::size_t i = 42 + 4 * std::size_t(n); i < 202; ++i)
            ASSERT_EQ(rec.bytes[i], 0) << i;
        for (std::size_t i = 202; i < kButtonSize; ++i)
            ASSERT_EQ(rec.bytes[i], 0xAB) << i;
    }
}

// ---------------------------------------------------------------------------
// Short reports, and what every decoder refuses

TEST(ShortReports, EncodeAndDecode) {
    EXPECT_EQ(ToBytes(EncodeSelect(3, 16)), (Bytes{4, 3, 16}));
    EXPECT_EQ(ToBytes(EncodeSelect(0, 14)), (Bytes{4, 0, 14}));
    EXPECT_EQ(ToBytes(EncodeCurrentProfile(4)), (Bytes{5, 3, 4}));
    EXPECT_EQ(ToBytes(EncodeHostAttached(true)), (Bytes{14, 3, 1}));
    EXPECT_EQ(ToBytes(EncodeHostAttached(false)), (Bytes{14, 3, 0}));

    Bytes profile = {5, 3, 4};
    EXPECT_EQ(DecodeCurrentProfile(profile.data(), profile.size()), 4);
    profile[2] = 5;
    EXPECT_EQ(DecodeCurrentProfile(profile.data(), profile.size()), std::nullopt)
        << "only profiles 0-4 are taken";

    ProfileRecord rec;
    rec.view().Set(prof::OTGSpeed, 0x1FF);
    EXPECT_EQ(ToBytes(EncodeOtg(rec.view())), (Bytes{8, 6, 0xFF, 1, 0, 0}));
    const Bytes otg = {8, 6, 42, 1, 0, 0};
    ASSERT_TRUE(DecodeOtg(otg.data(), otg.size(), rec.view()));
    EXPECT_EQ(rec.view().Get(prof::OTGSpeed), 42);

    const Bytes version = {10, 8, 123, 0, 7, 0, 0, 0};
    const auto v = DecodeVersion(version.data(), version.size());
    ASSERT_TRUE(v);
    EXPECT_EQ(v->firmware, 123);
    EXPECT_EQ(v->mouseType, 7);
}

TEST(ShortReports, EveryDecoderRefusesShortOrForeignReportsAndChangesNothing) {
    ProfileRecord rec;
    rec.view().MakeDefault(1, LevelSet::Monitor);
    StoreMacro(rec.view().Button(3), {{4, 1, 100}});
    const Bytes before = rec.bytes;
    auto decode = [&rec](uint8_t id, const uint8_t* d, std::size_t n) {
        switch (id) {
        case kProfileId:
            return DecodeCurrentProfile(d, n).has_value();
        case kPerformanceId:
            return DecodePerformance(d, n, rec.view());
        case kButtonTableId:
            return DecodeButtonTable(d, n, rec.view());
        case kOtgId:
            return DecodeOtg(d, n, rec.view());
        case kMacroId:
            return DecodeMacro(d, n, rec.view().Button(3), 1, 3);
        default:
            return DecodeVersion(d, n).has_value();
        }
    };
    const std::pair<uint8_t, std::size_t> reports[] = {{kProfileId, 3},      {kPerformanceId, 37},
                                                       {kButtonTableId, 50}, {kOtgId, 6},
                                                       {kMacroId, 130},      {kVersionId, 8}};
    for (const auto& [id, length] : reports) {
        // Exactly as long as given, so a read past the end shows up.
        Bytes shortOne(length - 1, 1);
        shortOne[0] = id;
        EXPECT_FALSE(decode(id, shortOne.data(), shortOne.size())) << "report " << int(id);
        Bytes foreign(length, 1);
        foreign[0] = uint8_t(id + 1);
        EXPECT_FALSE(decode(id, foreign.data(), foreign.size())) << "report " << int(id);
        EXPECT_FALSE(decode(id, nullptr, length)) << "report " << int(id);
        EXPECT_EQ(rec.bytes, before) << "report " << int(id);
    }
}

} // namespace
} // namespace gm::mon
