// The monitor's actions without Windows: macro timing on a fake clock, the
// key function's modifiers, tilt choices and the media tables.
#include "monitor/key_function.h"
#include "monitor/macro_player.h"
#include "monitor/media_commands.h"
#include "monitor/tilt_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace gm::mon {
namespace {

constexpr uint8_t P = 1, R = 2;
constexpr uint8_t kA = 0x04, kB = 0x05, kShift = 0xE1;

MacroProgram Macro(std::vector<MacroEvent> events, int repeat = 1) {
    MacroProgram m;
    m.count = int(events.size());
    m.repeat = repeat;
    for (std::size_t i = 0; i < events.size(); ++i)
        m.events[i] = events[i];
    return m;
}

// A clock that jumps to every wait's end and records what was sent when.
struct FakeWorld : MacroClock, MacroInput {
    int64_t now = 5'000'000; // any start
    MacroState* state = nullptr;
    std::function<void(FakeWorld&)> onSend; // e.g. request a stop after some event
    struct Sent {
        int64_t atMs;
        uint8_t code;
        bool down;
    };
    std::vector<Sent> sent;
    std::vector<std::string> debug;

    int64_t NowUs() override { return now; }
    bool WaitUntilUs(int64_t at, bool interruptible) override {
        if (interruptible && state && state->stop)
            return false;
        if (at > now)
            now = at;
        return !(interruptible && state && state->stop);
    }
    void Send(uint8_t code, bool down) override {
        sent.push_back({(now - 5'000'000) / 1000, code, down});
        if (onSend)
            onSend(*this);
    }
    void Debug(const std::string& line) override { debug.push_back(line); }
    std::string Trace() const {
        std::string s;
        for (const Sent& e : sent)
            s += std::to_string(e.atMs) + (e.down ? "+" : "-") + std::to_string(e.code) + " ";
        return s;
    }
};

std::string Play(const MacroProgram& m, FakeWorld& w, MacroState& st) {
    w.state = &st;
    PlayMacro(m, st, w, w);
    EXPECT_FALSE(st.playing);
    return w.Trace();
}

TEST(MacroSchedule, EventsFallAtTheSumOfThePausesBeforeThemRoundAfterRound) {
    // Slot k's Delay precedes event k+1; the last slot's precedes event 0 of
    // the next round. A Delay of 0 counts as 1 ms.
    const MacroProgram m = Macro({{kA, P, 10}, {kA, R, 0}, {kB, P, 7}, {kB, R, 3}}, 3);
    FakeWorld w;
    MacroState st;
    EXPECT_EQ(Play(m, w, st), "0+4 10-4 11+5 18-5 "
                              "21+4 31-4 32+5 39-5 "
                              "42+4 52-4 53+5 60-5 ")
        << "no pause between rounds other than the recorded ones, no drift";
    ASSERT_FALSE(w.debug.empty());
    EXPECT_EQ(w.debug.back(), "g_iCurAction= 3,start=0,end=4\n");
}

TEST(MacroSchedule, ALongPressRepeatsFrom500MsEvery33MsInsideItsPause) {
    const MacroProgram m = Macro({{kA, P, 1200}, {kA, R, 10}});
    int64_t length = 0;
    const auto steps = RoundSchedule(m, &length);
    EXPECT_EQ(length, 1210);
    std::vector<int64_t> repeats;
    for (const auto& s : steps)
        if (s.kind == StepKind::Typematic)
            repeats.push_back(s.atMs);
    ASSERT_EQ(repeats.size(), 22u); // 500, 533, ... 1193
    EXPECT_EQ(repeats.front(), 500);
    EXPECT_EQ(repeats.back(), 1193);
    EXPECT_EQ(steps.back().atMs, 1200) << "the release keeps its time; repeats never push it later";
    EXPECT_EQ(steps.back().kind, StepKind::Release);

    // Exactly 500 ms or a mouse button: no repeat.
    for (uint8_t code : {kA, uint8_t(241)}) {
        const auto s = RoundSchedule(
            Macro({{code, P, uint16_t(code == kA ? 500 : 2000)}, {code, R, 1}}), nullptr);
        EXPECT_EQ(s.size(), 2u) << int(code);
    }
}

TEST(MacroSchedule, MoreThanFortyEventsPlayForty) {
    uint8_t record[kButtonSize] = {};
    ButtonView b(record);
    b.Set(btn::EventCount, 200);
    b.Set(btn::RepeatCount, -3);
    const MacroProgram m = LoadMacro(b);
    EXPECT_EQ(m.count, 40);
    EXPECT_EQ(m.repeat, 1);
}

TEST(MacroStop, ASecondPressReleasesHeldKeysInReversePressOrder) {
    // Shift down, A down, B down, then the stop arrives while waiting for
    // the release of B: B, A, Shift come up, 50 ms apart, latest first.
    const MacroProgram m =
        Macro({{kShift, P, 5}, {kA, P, 5}, {kB, P, 100}, {kB, R, 5}, {kA, R, 5}, {kShift, R, 5}});
    FakeWorld w;
    MacroState st;
    w.onSend = [&](FakeWorld& f) {
        if (f.sent.size() == 3)
            st.stop = true;
    };
    EXPECT_EQ(Play(m, w, st), "0+225 5+4 10+5 10-5 60-4 110-225 ");
    ASSERT_EQ(w.debug.size(), 4u);
    EXPECT_EQ(w.debug[0], "g_iCurAction= 3,Map=5\n");
    EXPECT_EQ(w.debug[1], "g_iCurAction= 2,Map=4\n");
    EXPECT_EQ(w.debug[2], "g_iCurAction= 1,Map=e1\n");
    EXPECT_EQ(w.debug[3], "g_iCurAction= 0,start=0,end=6\n");
}

TEST(MacroStop, KeysHeldAcrossRoundsOrAtTheEndAreReleasedToo) {
    // A macro that presses twice and releases once leaves A held each round.
    const MacroProgram m = Macro({{kA, P, 1}, {kA, P, 1}, {kA, R, 1}}, 2);
    FakeWorld w;
    MacroState st;
    const std::string trace = Play(m, w, st);
    int downs = 0, ups = 0;
    for (const auto& s : w.sent)
        (s.down ? downs : ups)++;
    EXPECT_EQ(downs, ups) << trace;

    // Stopped before the first event: nothing was sent, nothing to release.
    FakeWorld idle;
    MacroState stopped;
    stopped.stop = true;
    EXPECT_EQ(Play(m, idle, stopped), "");
}

TEST(MacroStop, TheStopInsideATypematicRepeatEndsItAtOnce) {
    const MacroProgram m = Macro({{kA, P, 5000}, {kA, R, 1}});
    FakeWorld w;
    MacroState st;
    w.onSend = [&](FakeWorld& f) {
        if (f.sent.size() == 5)
            st.stop = true; // press, then two repeats (up+down)
    };
    EXPECT_EQ(Play(m, w, st), "0+4 500-4 500+4 533-4 533+4 533-4 ");
}

TEST(HeldKeys, AReleaseRemovesTheLatestPressOfItsCodeOnly) {
    HeldKeys h;
    for (uint8_t c : {1, 2, 1, 3})
        h.Press(c);
    h.Release(1);
    EXPECT_EQ(h.codes(), (std::vector<uint8_t>{1, 2, 3}));
    h.Release(9);
    EXPECT_EQ(h.codes(), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(KeyFunction, ModifiersArePressedCtrlShiftAltWindows) {
    EXPECT_EQ(ModifierKeys(0x0F), (std::vector<int>{17, 16, 18, 91}));
    EXPECT_EQ(ModifierKeys(0x05), (std::vector<int>{17, 18}));
    EXPECT_EQ(ModifierKeys(0x02), (std::vector<int>{16}));
    EXPECT_TRUE(ModifierKeys(0xF0).empty()) << "unused bits name nothing";
    for (int vk : {160, 161, 162, 163, 164, 165, 16, 17, 18, 91, 92, 0})
        EXPECT_FALSE(KeyRepeats(vk)) << vk;
    EXPECT_TRUE(KeyRepeats(0x41));
    EXPECT_EQ(GenericModifier(163), 17);
}

TEST(KeyFunction, CtrlShortcutsAreCtrlWithTheirKey) {
    EXPECT_EQ(CtrlShortcutKey(53), 27); // X
    EXPECT_EQ(CtrlShortcutKey(54), 6);  // C
    EXPECT_EQ(CtrlShortcutKey(60), 22); // S
    for (int type : {0, 5, 16, 52, 61, 255})
        EXPECT_EQ(CtrlShortcutKey(type), 0) << type;
    EXPECT_EQ(ModifierKeys(kCtrlModifier), (std::vector<int>{17}));
}

TEST(Tilt, ClassesChooseTheirMethodAndBarsQualifyByShapeAndCursor) {
    EXPECT_EQ(MethodForClass("EXCEL7"), TiltMethod::ArrowClick);
    EXPECT_EQ(MethodForClass("MozillaWindowClass"), TiltMethod::ArrowKeys);
    EXPECT_EQ(MethodForClass("OPrtPrevPage"), TiltMethod::ScrollBarMessage);
    EXPECT_EQ(MethodForClass("excel7"), TiltMethod::WindowMessage) << "exact, case-sensitive";
    const WindowFacts wide{"ScrollBar", false, 0, 100, 200, 116};
    EXPECT_TRUE(QualifiesForHScroll(wide, 150));
    EXPECT_FALSE(QualifiesForHScroll(wide, 200)) << "cursor right of the bar";
    EXPECT_FALSE(QualifiesForHScroll({"NUIScrollbar", false, 0, 0, 16, 200}, 5))
        << "a vertical bar";
    EXPECT_TRUE(QualifiesForHScroll({"Internet Explorer_Server"}, 0));
    EXPECT_TRUE(QualifiesForHScroll({"Whatever", true}, 0));
    EXPECT_EQ(ArrowKeyFor(1).upParam, 0xC14B0001u);
    EXPECT_EQ(ArrowKeyFor(-1).vk, 39);
}

TEST(Tilt, TheSpeedFromFilesIsHeldToTheConfigurableRange) {
    EXPECT_EQ(TiltRepeats(3), 3);
    EXPECT_EQ(TiltRepeats(1), 1);
    EXPECT_EQ(TiltRepeats(10), 10);
    EXPECT_EQ(TiltRepeats(11), 10);
    EXPECT_EQ(TiltRepeats(2147483647), 10);
    EXPECT_EQ(TiltRepeats(0), 0);
    EXPECT_EQ(TiltRepeats(-5), 0);
}

TEST(Media, PlayerCommandsAndRegistryTexts) {
    int toggle = 0;
    EXPECT_EQ(PlayerCommandFor(Player::Winamp, 28, toggle), 40045) << "play first";
    EXPECT_EQ(PlayerCommandFor(Player::Winamp, 28, toggle), 40046);
    EXPECT_EQ(PlayerCommandFor(Player::Winamp, 28, toggle), 40045);
    EXPECT_EQ(PlayerCommandFor(Player::RealPlayer, 27, toggle), 65739);
    EXPECT_EQ(PlayerCommandFor(Player::MediaPlayer, 27, toggle), 0);
    EXPECT_EQ(AppCommandFor(26), 12);
    EXPECT_EQ(VolumeKey(31), 175);
    EXPECT_EQ(VolumeKey(25), 0);
    EXPECT_EQ(PlayerProgram(Player::Winamp, "\"C:\\Program Files\\Winamp\\winamp.exe\" \"%1\""),
              "C:\\Program Files\\Winamp\\winamp.exe");
    EXPECT_EQ(PlayerProgram(Player::RealPlayer, "\"C:\\Other\\player.exe\" \"%1\""), "")
        << "not RealPlayer";
    EXPECT_EQ(PlayerProgram(Player::RealPlayer, "\""), "");
    EXPECT_EQ(PlayerProgram(Player::ITunes, "C:\\ITUNES\\x.exe"), "C:\\ITUNES\\x.exe");
}

} // namespace
} // namespace gm::mon
