#pragma once
// The macro player's logic, free of Windows: when each event of a macro is
// due, the typematic repeat of long presses, the held-key bookkeeping and
// the release of everything still held when a playback ends or is stopped.
// Time and input come in through interfaces, so tests run it on a fake clock.

#include "shared/settings_block.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace gm::mon {

inline constexpr int kTypematicDelayMs = 500;
inline constexpr int kTypematicStepMs = 33;
inline constexpr int kStopReleaseGapMs = 50;

inline bool IsMouseCode(int code) {
    return code >= 241 && code <= 245;
}

struct MacroProgram {
    std::array<MacroEvent, kMaxEvents> events{};
    int count = 0;  // 0-40: a record claiming more plays 40
    int repeat = 1; // rounds, at least 1
};

// The program of a button record (its EventCount cut to 40, RepeatCount <= 0 -> 1).
MacroProgram LoadMacro(const ButtonView& button);

// Pause after event i: its slot's Delay, 0 counting as 1 ms.
int PauseAfter(const MacroProgram& m, int i);

enum class StepKind { Press, Release, Typematic };

struct MacroStep {
    int64_t atMs; // from the start of the round
    int event;    // index of the event the step belongs to
    StepKind kind;
    uint8_t code;
};

// The steps of one round, in time order. Event k is due at the sum of the
// pauses of events 0..k-1; a key press whose pause exceeds 500 ms is
// repeated (key up and down) at 500 ms and then every 33 ms before the next
// event is due. `lengthMs` is when the next round's first event is due
// (the last slot's Delay precedes event 0).
std::vector<MacroStep> RoundSchedule(const MacroProgram& m, int64_t* lengthMs);

// Shared between the window thread (start, stop) and the player thread.
struct MacroState {
    std::atomic<bool> playing{false};
    std::atomic<bool> stop{false};
    std::atomic<int> curAction{0};
};

class MacroClock {
  public:
    virtual ~MacroClock() = default;
    virtual int64_t NowUs() = 0;
    // Returns when the time is reached (true) or, if `interruptible`, as soon
    // as a stop is requested (false).
    virtual bool WaitUntilUs(int64_t atUs, bool interruptible) = 0;
};

class MacroInput {
  public:
    virtual ~MacroInput() = default;
    // A key (device key code) or mouse button (241-245) down or up.
    virtual void Send(uint8_t code, bool down) = 0;
    virtual void Debug(const std::string& line) = 0;
};

// Keys still held by a playback, in press order: a release removes the most
// recent entry of its code; a release of a code not held changes nothing.
class HeldKeys {
  public:
    void Press(uint8_t code) { codes_.push_back(code); }
    void Release(uint8_t code);
    bool empty() const { return codes_.empty(); }
    uint8_t PopLast();
    const std::vector<uint8_t>& codes() const { return codes_; }

  private:
    std::vector<uint8_t> codes_;
};

// Plays the macro on the calling thread: every event at its scheduled time
// on `clock`, `repeat` rounds, until done or `state.stop`. Whatever is still
// held at the end is released in reverse press order, 50 ms apart.
void PlayMacro(const MacroProgram& m, MacroState& state, MacroClock& clock, MacroInput& input);

} // namespace gm::mon
