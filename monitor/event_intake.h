#pragma once
// Device events as the monitor receives them (message 1325: class in
// wParam, value in the low 16 bits of lParam): decoding, the accepted
// ranges, and the settings the mouse changes on its own.

#include "shared/settings_block.h"

#include <cstdint>

namespace gm::mon {

enum class EventKind {
    Ignored,       // unknown class or value out of range
    Tilt,          // direction -1 or +1
    DeviceProfile, // profile 0-4 chosen on the mouse
    ButtonNotice,  // 4000h: button 1-15, press or release, with the macro notice
    Button,        // 5000h: the same without notice
    RunProgram,    // 6000h press of button 1-15
    Plug,          // 7000h: arrived (1) or removed (2)
    OpenOption,    // A000h
    Stage,         // B000h value 1-10 (only 1-6 change anything)
    Sensitivity,   // C000h code and/or flag 1-20
    Polling,       // D000h value 1-4
    Media,         // F000h media function 25-32, press or release
};

struct DeviceEvent {
    EventKind kind = EventKind::Ignored;
    uint16_t cls = 0;
    uint16_t value = 0;
    int number = 0;       // button 1-15, profile 0-4, stage value, media function, plug value
    bool release = false; // button and media events: the flag byte is nonzero
    int direction = 0;    // tilt
};

DeviceEvent DecodeDeviceEvent(uint32_t wParam, uint32_t lParam);

// Changes the current profile as a stage, sensitivity or polling event says;
// true when a field was set (so the block must be shared and the dialog told).
bool ApplyDeviceValue(const DeviceEvent& e, ProfileView current);

} // namespace gm::mon
