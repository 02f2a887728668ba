// The recorder's handling of the keys the hook reports: repeats of a held
// key, pauses with a clock the test moves, the 40-event limit and recording
// into the middle of a macro.
#include "option/macros/macro_recorder.h"
#include "option/tests/us_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace gm {
namespace {

constexpr int kVkA = 0x41, kVkB = 0x42, kVkShift = 0xA0, kVkVolumeUp = 0xAF;

class ManualClock final : public TickClock {
  public:
    uint32_t now = 1000;
    uint32_t Now() const override { return now; }
};

std::string Events(const MacroEditor& e) {
    std::string s;
    for (int i = 0; i < e.count(); ++i) {
        const MacroEvent ev = e.Event(i);
        s += s.empty() ? "" : " ";
        s += std::to_string(ev.keyCode) + (ev.direction == 2 ? "-" : "+");
        if (ev.delay)
            s += std::to_string(ev.delay);
    }
    return s;
}

struct Recording {
    ManualClock clock;
    MacroRecorder recorder{clock};
    MacroEditor editor;
    test::UsLayout keys;

    MacroRecorder::KeyResult Key(int vk, bool released, uint32_t after = 0) {
        clock.now += after;
        return recorder.RecordKey(vk, released, editor, keys);
    }
};

TEST(MacroRecorder, AHeldKeyRecordsOnePressAndItsRelease) {
    Recording r;
    r.recorder.Start();
    for (int i = 0; i < 5; ++i)
        r.Key(kVkA, false, 33);
    r.Key(kVkA, true, 10);
    EXPECT_EQ(Events(r.editor), "4+ 4-");
}

TEST(MacroRecorder, TheSameKeyTwiceRecordsPressReleasePressRelease) {
    Recording r;
    r.recorder.Start();
    r.Key(kVkA, false);
    r.Key(kVkA, true);
    r.Key(kVkA, false);
    r.Key(kVkA, true);
    EXPECT_EQ(Events(r.editor), "4+ 4- 4+ 4-");
}

TEST(MacroRecorder, PausesStayZeroWithRecordDelaysOff) {
    Recording r;
    r.recorder.Start();
    r.Key(kVkA, false);
    r.Key(kVkA, true, 250);
    r.Key(kVkB, false, 4000);
    EXPECT_EQ(Events(r.editor), "4+ 4- 5+");
}

TEST(MacroRecorder, APauseIsStoredOnTheFirstOfTwoKeystrokesAndTheLastKeepsZero) {
    Recording r;
    r.recorder.SetRecordDelays(true);
    r.recorder.Start();
    r.Key(kVkA, false, 500); // no pause before the first keystroke
    r.Key(kVkA, true, 120);
    r.Key(kVkShift, false, 70'000); // 70 seconds: more than a pause can hold
    r.Key(kVkShift, true, 65'535);
    EXPECT_EQ(Events(r.editor), "4+120 4-65535 225+65535 225-");
}

TEST(MacroRecorder, TheClockWrappingAroundStillGivesTheShortPause) {
    Recording r;
    r.recorder.SetRecordDelays(true);
    r.clock.now = 0xFFFFFFF0u;
    r.recorder.Start();
    r.Key(kVkA, false);
    r.Key(kVkA, true, 0x20);
    EXPECT_EQ(r.editor.Event(0).delay, 0x20);
}

TEST(MacroRecorder, TheFortiethEventEndsTheRecording) {
    Recording r;
    r.recorder.Start();
    MacroRecorder::KeyResult last{};
    int sent = 0;
    for (; sent < 60 && last != MacroRecorder::KeyResult::Full; ++sent)
        last = r.Key(sent % 2 ? kVkB : kVkA, false);
    EXPECT_EQ(sent, kMaxEvents);
    EXPECT_EQ(r.editor.count(), kMaxEvents);
}

TEST(MacroRecorder, AKeyOutsideTheTableIsRecordedAsCodeZero) {
    Recording r;
    r.recorder.Start();
    r.Key(kVkVolumeUp, false);
    ASSERT_EQ(r.editor.count(), 1);
    EXPECT_EQ(r.editor.Event(0).keyCode, 0);
    EXPECT_EQ(r.editor.Event(0).direction, 1);
}

TEST(MacroRecorder, RecordingBeforeEventThreeInsertsInTypingOrderWithoutTheFirstPause) {
    Recording r;
    for (uint8_t code : {0x1E, 0x1F, 0x20, 0x21}) // 1 2 3 4
        r.editor.Insert({code, 1, 0});
    r.editor.insertionPoint = 2; // "Record before" on event 3
    r.recorder.SetRecordDelays(true);
    r.recorder.Start();
    r.Key(kVkA, false, 9000);
    r.Key(kVkA, true, 40);
    EXPECT_EQ(Events(r.editor), "30+ 31+ 4+40 4- 32+ 33+");
    EXPECT_EQ(r.editor.caretEvent, 3);
}

TEST(MacroRecorder, RecordingAtTheVeryStartHasNoEventBeforeToCarryAPause) {
    Recording r;
    r.editor.Insert({0x1E, 1, 0});
    r.editor.insertionPoint = 0;
    r.recorder.SetRecordDelays(true);
    r.recorder.Start();
    r.Key(kVkA, false);
    r.recorder.Stop();
    r.editor.insertionPoint = 0;
    r.recorder.Start();
    r.Key(kVkB, false, 300);
    EXPECT_EQ(Events(r.editor), "5+ 4+ 30+");
}

TEST(MacroRecorder, ANewRecordingForgetsTheLastKeySoItsFirstPressCounts) {
    Recording r;
    r.recorder.Start();
    r.Key(kVkA, false);
    r.recorder.Stop();
    r.editor.Clear();
    r.recorder.Start();
    r.Key(kVkA, false);
    EXPECT_EQ(Events(r.editor), "4+");
}

TEST(MacroRecorder, KeysOutsideARecordingAreIgnored) {
    Recording r;
    EXPECT_EQ(r.Key(kVkA, false), MacroRecorder::KeyResult::Ignored);
    r.recorder.Start();
    r.recorder.Stop();
    EXPECT_EQ(r.Key(kVkA, false), MacroRecorder::KeyResult::Ignored);
    EXPECT_EQ(r.editor.count(), 0);
}

} // namespace
} // namespace gm
