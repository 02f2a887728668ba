#include "option/macros/macro_recorder.h"

namespace gm {

void MacroRecorder::Start() {
    recording_ = true;
    havePrevious_ = false;
    previousKey_ = 0;
    previousReleased_ = false;
}

void MacroRecorder::Stop() {
    recording_ = false;
    previousTick_ = 0;
}

MacroRecorder::KeyResult MacroRecorder::RecordKey(int vk, bool released, MacroEditor& editor,
                                                  const KeyMapper& keys) {
    if (!recording_)
        return KeyResult::Ignored;
    // A held key repeats its press; only the first one counts.
    if (vk == previousKey_ && released == previousReleased_)
        return KeyResult::Ignored;
    const KeyLookup code = VirtualKeyToUsage(vk, keys);
    const uint32_t now = clock_.Now();
    if (havePrevious_ && recordDelays_) {
        const uint32_t elapsed = now - previousTick_;
        const uint16_t delay = elapsed >= 65535 ? uint16_t(65535) : uint16_t(elapsed);
        // The pause belongs to the event before the one being inserted.
        if (editor.insertionPoint < 0) {
            if (editor.count() >= 1)
                editor.SetDelay(editor.count() - 1, delay);
        } else if (editor.insertionPoint >= 1) {
            editor.SetDelay(editor.insertionPoint - 1, delay);
        }
    }
    const uint8_t direction = uint8_t(released ? Direction::Release : Direction::Press);
    editor.Insert(MacroEvent{uint8_t(code.code & 0xFF), direction, 0});
    previousTick_ = now;
    havePrevious_ = true;
    previousKey_ = vk;
    previousReleased_ = released;
    return editor.count() >= kMaxEvents ? KeyResult::Full : KeyResult::Recorded;
}

} // namespace gm
