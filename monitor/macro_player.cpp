#include "monitor/macro_player.h"

#include <algorithm>
#include <cstdio>

namespace gm::mon {

MacroProgram LoadMacro(const ButtonView& button) {
    MacroProgram m;
    m.count = std::min<int>(button.Get(btn::EventCount), kMaxEvents);
    const int32_t repeat = button.Get(btn::RepeatCount);
    m.repeat = repeat <= 0 ? 1 : repeat;
    for (int i = 0; i < m.count; ++i)
        m.events[i] = button.Event(i);
    return m;
}

int PauseAfter(const MacroProgram& m, int i) {
    const int d = m.events[i].delay;
    return d == 0 ? 1 : d;
}

std::vector<MacroStep> RoundSchedule(const MacroProgram& m, int64_t* lengthMs) {
    std::vector<MacroStep> steps;
    int64_t t = 0;
    for (int i = 0; i < m.count; ++i) {
        const MacroEvent& e = m.events[i];
        const bool press = e.direction == uint8_t(Direction::Press);
        steps.push_back({t, i, press ? StepKind::Press : StepKind::Release, e.keyCode});
        const int pause = PauseAfter(m, i);
        if (press && !IsMouseCode(e.keyCode) && pause > kTypematicDelayMs)
            for (int64_t r = kTypematicDelayMs; r < pause; r += kTypematicStepMs)
                steps.push_back({t + r, i, StepKind::Typematic, e.keyCode});
        t += pause;
    }
    if (lengthMs)
        *lengthMs = t;
    return steps;
}

void HeldKeys::Release(uint8_t code) {
    auto it = std::find(codes_.rbegin(), codes_.rend(), code);
    if (it != codes_.rend())
        codes_.erase(std::next(it).base());
}

uint8_t HeldKeys::PopLast() {
    const uint8_t c = codes_.back();
    codes_.pop_back();
    return c;
}

namespace {

std::string Line(const char* format, int a, int b, int c = 0) {
    char text[80];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

} // namespace

void PlayMacro(const MacroProgram& m, MacroState& state, MacroClock& clock, MacroInput& input) {
    state.playing = true;
    const int start = 0, end = m.count;
    HeldKeys held;
    int64_t roundLength = 0;
    const std::vector<MacroStep> steps = RoundSchedule(m, &roundLength);
    const int64_t t0 = clock.NowUs();
    bool stopped = false;
    for (int round = 0; round < m.repeat && !stopped; ++round) {
        const int64_t base = t0 + int64_t(round) * roundLength * 1000;
        for (const MacroStep& s : steps) {
            if (!clock.WaitUntilUs(base + s.atMs * 1000, true) || state.stop) {
                // Stopped while waiting for this step: it is not played.
                state.curAction = s.kind == StepKind::Typematic ? s.event + 1 : s.event;
                stopped = true;
                break;
            }
            state.curAction = s.event;
            switch (s.kind) {
            case StepKind::Press:
                input.Send(s.code, true);
                held.Press(s.code);
                break;
            case StepKind::Release:
                input.Send(s.code, false);
                held.Release(s.code);
                break;
            case StepKind::Typematic:
                input.Send(s.code, false);
                input.Send(s.code, true);
                break;
            }
        }
        if (state.stop)
            stopped = true;
    }
    // Nothing stays pressed: release what the macro still holds, latest first.
    int cur = state.curAction;
    while (!held.empty()) {
        const uint8_t code = held.PopLast();
        input.Debug(Line("g_iCurAction= %d,Map=%x\n", cur, code));
        if (cur > start)
            --cur;
        input.Send(code, false);
        clock.WaitUntilUs(clock.NowUs() + kStopReleaseGapMs * 1000, false);
    }
    state.curAction = cur;
    input.Debug(Line("g_iCurAction= %d,start=%d,end=%d\n", int(state.curAction), start, end));
    state.playing = false;
}

} // namespace gm::mon
