// The macro manager's event list: inserting events, the menu's delay,
// delete and mouse commands, the lines shown and the line kept in view, and
// the values typed into the list and the repeat count.
#include "option/macros/macro_editor.h"
#include "option/tests/us_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gm {
namespace {

constexpr uint8_t kA = 0x04, kB = 0x05, kC = 0x06;
constexpr uint8_t kPress = 1, kRelease = 2;

// "A+" press, "A-" release, "A+120" press with a 120 ms pause after it.
std::string Events(const MacroEditor& e) {
    std::string s;
    for (int i = 0; i < e.count(); ++i) {
        const MacroEvent ev = e.Event(i);
        s += s.empty() ? "" : " ";
        s += std::to_string(ev.keyCode) + (ev.direction == kRelease ? "-" : "+");
        if (ev.delay)
            s += std::to_string(ev.delay);
    }
    return s;
}

std::vector<std::string> Texts(const EventList& list) {
    std::vector<std::string> out;
    for (const auto& l : list.lines)
        out.push_back(l.text);
    return out;
}

MacroEditor WithEvents(std::initializer_list<MacroEvent> events) {
    MacroEditor e;
    for (const MacroEvent& ev : events)
        e.Insert(ev);
    return e;
}

TEST(MacroEditorInsert, AppendsOrInsertsInOrderAndStopsAtForty) {
    MacroEditor e = WithEvents({{kA, kPress, 0}, {kA, kRelease, 0}});
    EXPECT_EQ(e.caretEvent, 1);

    e.insertionPoint = 1; // before the release
    EXPECT_TRUE(e.Insert({kB, kPress, 0}));
    EXPECT_TRUE(e.Insert({kB, kRelease, 0}));
    EXPECT_EQ(Events(e), "4+ 5+ 5- 4-");
    EXPECT_EQ(e.insertionPoint, 3);
    EXPECT_EQ(e.caretEvent, 2);

    e.insertionPoint = -1;
    while (e.count() < kMaxEvents)
        EXPECT_TRUE(e.Insert({kC, kPress, 0}));
    EXPECT_FALSE(e.Insert({kC, kRelease, 0}));
    EXPECT_EQ(e.count(), kMaxEvents);
    EXPECT_EQ(e.Event(kMaxEvents - 1).direction, kPress);
}

TEST(MacroEditorLoad, CountOfADamagedRecordIsClampedAndStoreWritesSlotsAndCount) {
    MacroRecord r;
    r.SetCount(99);
    r.SetEvent(39, {kC, kRelease, 7});
    MacroEditor e;
    e.Load(&r);
    EXPECT_EQ(e.count(), kMaxEvents);
    r.SetCount(-1);
    e.Load(&r);
    EXPECT_EQ(e.count(), 0);
    e.Load(nullptr);
    EXPECT_EQ(e.count(), 0);
    EXPECT_EQ(e.Event(39).keyCode, 0);

    e.Insert({kA, kPress, 0});
    MacroRecord out;
    out.SetEvent(5, {kB, kPress, 9});
    out.SetRepeat(4);
    e.Store(&out);
    EXPECT_EQ(out.Count(), 1);
    EXPECT_EQ(out.Event(0).keyCode, kA);
    EXPECT_EQ(out.Event(5).keyCode, 0); // all 40 slots are written
    EXPECT_EQ(out.Repeat(), 4);
}

TEST(MacroEditorRebuild, KeyAndDelayAndMouseLinesWithTheirItemValues) {
    test::UsLayout keys;
    MacroEditor e = WithEvents(
        {{kA, kPress, 120}, {kA, kRelease, 0}, {241, kPress, 0}, {245, kRelease, 65535}});
    const EventList list = e.Rebuild(keys);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"A", "120 ms", "A", "Left Down", "Backward Up",
                                                     "65535 ms"}));
    ASSERT_EQ(list.lines.size(), 6u);
    EXPECT_EQ(list.lines[0].item, (1u << 16) | kIconPress);
    EXPECT_EQ(list.lines[1].item, (1u << 16) | kIconDelay);
    EXPECT_EQ(list.lines[2].item, (2u << 16) | kIconRelease);
    EXPECT_EQ(list.lines[3].item, (3u << 16) | kIconMouse);
    EXPECT_EQ(list.lines[4].item, (4u << 16) | kIconMouse);
    EXPECT_EQ(list.lines[5].item, (4u << 16) | kIconDelay);
}

TEST(MacroEditorRebuild, CaretLineFollowsTheCaretEventAndKeepsTwoLinesBelowInView) {
    test::UsLayout keys;
    MacroEditor e;
    EXPECT_EQ(e.Rebuild(keys).visible, -1);
    for (int i = 0; i < 10; ++i)
        e.Insert({kA, uint8_t(i % 2 ? kRelease : kPress), uint16_t(i == 2 ? 50 : 0)});
    // Lines: 0 A, 1 A, 2 A, 3 "50 ms", 4 A ... 10 A (11 lines).
    e.caretEvent = 2;
    e.caretLine = -1;
    EventList list = e.Rebuild(keys);
    EXPECT_EQ(e.caretLine, 3);  // the delay line is the event's last line
    EXPECT_EQ(list.visible, 3); // not beyond line 3
    e.caretEvent = 3;
    list = e.Rebuild(keys);
    EXPECT_EQ(e.caretLine, 4);
    EXPECT_EQ(list.visible, 6);
    e.caretEvent = 8; // line 9: too close to the end to go two further
    list = e.Rebuild(keys);
    EXPECT_EQ(list.visible, 9);
    // No caret event: the caret line as set, or the last line.
    e.caretEvent = -1;
    e.caretLine = 50;
    EXPECT_EQ(e.Rebuild(keys).visible, 10);
}

TEST(MacroEditorMenu, InsertDelayOnlyBeforeAnEventLineThatFollowsAnother) {
    test::UsLayout keys;
    MacroEditor e = WithEvents({{kA, kPress, 0}, {kA, kRelease, 0}, {kB, kPress, 30}});
    const EventList list = e.Rebuild(keys); // A, A, B, "30 ms"
    EXPECT_FALSE(e.InsertDelay(-1, 0));
    EXPECT_FALSE(e.InsertDelay(0, list.lines[0].item)); // first event line
    EXPECT_FALSE(e.InsertDelay(3, list.lines[3].item)); // a delay line
    EXPECT_TRUE(e.InsertDelay(1, list.lines[1].item));
    EXPECT_EQ(Events(e), "4+1 4- 5+30");
    EXPECT_EQ(e.caretEvent, 0);
    EXPECT_EQ(e.caretLine, 0);
    EXPECT_EQ(Texts(e.Rebuild(keys)), (std::vector<std::string>{"A", "1 ms", "A", "B", "30 ms"}));
    // There is a pause already: nothing changes.
    MacroEditor f = WithEvents({{kA, kPress, 9}, {kB, kPress, 0}});
    const EventList fl = f.Rebuild(keys);
    EXPECT_FALSE(f.InsertDelay(2, fl.lines[2].item));
    EXPECT_EQ(Events(f), "4+9 5+");
}

TEST(MacroEditorMenu, DeleteADelayLineOrAnEventLineWithItsDelay) {
    test::UsLayout keys;
    MacroEditor e = WithEvents({{kA, kPress, 10}, {kB, kPress, 20}, {kC, kPress, 0}});
    EventList list = e.Rebuild(keys); // A, 10, B, 20, C
    EXPECT_FALSE(e.DeleteLine(-1, 0));
    EXPECT_TRUE(e.DeleteLine(1, list.lines[1].item));
    EXPECT_EQ(Events(e), "4+ 5+20 6+");
    list = e.Rebuild(keys); // A, B, 20, C
    EXPECT_TRUE(e.DeleteLine(1, list.lines[1].item));
    EXPECT_EQ(Events(e), "4+ 6+");
    EXPECT_EQ(e.Event(2).keyCode, 0); // the freed slot is cleared
    EXPECT_EQ(e.caretEvent, 1);
    list = e.Rebuild(keys);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(e.caretLine, 1);
    // Deleting the last event leaves the caret on the line where it was.
    EXPECT_TRUE(e.DeleteLine(1, list.lines[1].item));
    list = e.Rebuild(keys);
    EXPECT_EQ(list.visible, 0);
}

TEST(MacroEditorMenu, MouseCommandsInsertBeforeTheSelectedEventAndClickNeedsTwoSlots) {
    test::UsLayout keys;
    MacroEditor e = WithEvents({{kA, kPress, 0}, {kA, kRelease, 0}});
    EventList list = e.Rebuild(keys);
    EXPECT_TRUE(e.InsertMouse(1022, 1, list.lines[1].item)); // left click before "A" release
    EXPECT_EQ(Events(e), "4+ 241+ 241- 4-");
    EXPECT_TRUE(e.InsertMouse(1034, -1, 0)); // backward click, appended
    EXPECT_TRUE(e.InsertMouse(1024, -1, 0)); // right release
    EXPECT_EQ(Events(e), "4+ 241+ 241- 4- 245+ 245- 242-");
    EXPECT_EQ(Texts(e.Rebuild(keys))[6], "Right Up");

    MacroEditor full;
    for (int i = 0; i < 39; ++i)
        full.Insert({kA, kPress, 0});
    EXPECT_FALSE(full.InsertMouse(1020 + 2, -1, 0)); // click: no room for two
    EXPECT_EQ(full.count(), 39);
    EXPECT_TRUE(full.InsertMouse(1020, -1, 0)); // press: one fits
    EXPECT_EQ(full.count(), 40);
    EXPECT_FALSE(full.InsertMouse(1021, -1, 0));
}

TEST(MacroEditorMenu, RecordPositionBeforeOrAfterTheSelectedLinesEvent) {
    test::UsLayout keys;
    MacroEditor e = WithEvents({{kA, kPress, 5}, {kB, kPress, 0}, {kC, kPress, 0}});
    const EventList list = e.Rebuild(keys); // A, 5, B, C
    e.SetRecordPosition(2, list.lines[2].item, true);
    EXPECT_EQ(e.insertionPoint, 1);
    e.SetRecordPosition(1, list.lines[1].item, false); // the delay line of event 1
    EXPECT_EQ(e.insertionPoint, 1);
    e.SetRecordPosition(3, list.lines[3].item, false);
    EXPECT_EQ(e.insertionPoint, 3);
    e.SetRecordPosition(-1, 0, true);
    EXPECT_EQ(e.insertionPoint, -1);
}

TEST(TypedValues, DelayClampedToOneTo65535AndRewrittenOnlyWhenOutside) {
    EXPECT_EQ(ParseTypedDelay("0").value, 1);
    EXPECT_TRUE(ParseTypedDelay("0").rewrite);
    EXPECT_TRUE(ParseTypedDelay("").rewrite);
    EXPECT_EQ(ParseTypedDelay("  250 ms").value, 250);
    EXPECT_FALSE(ParseTypedDelay("250").rewrite);
    EXPECT_EQ(ParseTypedDelay("65535").value, 65535);
    EXPECT_FALSE(ParseTypedDelay("65535").rewrite);
    EXPECT_EQ(ParseTypedDelay("70000").value, 65535);
    EXPECT_TRUE(ParseTypedDelay("70000").rewrite);
    // Twenty digits do not overflow into a small or negative value.
    EXPECT_EQ(ParseTypedDelay("99999999999999999999").value, 65535);
    EXPECT_EQ(DelayText(1), "1 ms");
}

TEST(TypedValues, RepeatCountClampedToOneTo255) {
    EXPECT_EQ(ParseRepeatCount("300").value, 255);
    EXPECT_TRUE(ParseRepeatCount("300").rewrite);
    EXPECT_EQ(ParseRepeatCount("256").value, 255);
    EXPECT_EQ(ParseRepeatCount("255").value, 255);
    EXPECT_FALSE(ParseRepeatCount("255").rewrite);
    EXPECT_EQ(ParseRepeatCount("").value, 1);
    EXPECT_TRUE(ParseRepeatCount("0").rewrite);
    EXPECT_EQ(ParseRepeatCount(" 12,5").value, 12);
}

TEST(MacroNames, DuplicateIgnoresCaseAndSurroundingSpacesButNotTheLineItself) {
    const std::vector<std::string> lines{"Reload", "Burst", "  rELOAD  "};
    EXPECT_TRUE(IsDuplicateName(lines, 2));
    EXPECT_TRUE(IsDuplicateName(lines, 0));
    EXPECT_FALSE(IsDuplicateName(lines, 1));
    EXPECT_FALSE(IsDuplicateName({"Reloa", "Reload"}, 0)); // a prefix is another name
    EXPECT_FALSE(IsDuplicateName(lines, 7));
}

} // namespace
} // namespace gm
