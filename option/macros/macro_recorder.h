#pragma once
// What the macro manager does with each key the keyboard hook reports while
// it records: drop the repeats of a held key, measure the pause since the
// previous keystroke and insert the event. The clock is injected so pauses
// are checked without waiting.
#include "option/macros/macro_editor.h"
#include "shared/key_table.h"

#include <cstdint>

namespace gm {

// Milliseconds since some fixed point, wrapping at 2^32 (GetTickCount).
class TickClock {
  public:
    virtual ~TickClock() = default;
    virtual uint32_t Now() const = 0;
};

class MacroRecorder {
  public:
    explicit MacroRecorder(const TickClock& clock) : clock_(clock) {}

    enum class KeyResult {
        Ignored,  // a repeat of the key last seen, or not recording
        Recorded, // inserted (or dropped because the macro is full)
        Full,     // the macro holds 40 events: recording must stop
    };

    // A new recording: no previous keystroke, so neither a pause nor a
    // repeat is carried over from the last one.
    void Start();
    void Stop();
    bool recording() const { return recording_; }

    void SetRecordDelays(bool on) { recordDelays_ = on; }
    bool recordDelays() const { return recordDelays_; }

    // Virtual key `vk`, pressed or released, into `editor`.
    KeyResult RecordKey(int vk, bool released, MacroEditor& editor, const KeyMapper& keys);

  private:
    const TickClock& clock_;
    bool recording_ = false;
    bool havePrevious_ = false;
    bool recordDelays_ = false;
    int previousKey_ = 0;
    bool previousReleased_ = false;
    uint32_t previousTick_ = 0;
};

} // namespace gm
