#pragma once
// Synthesized keyboard and mouse-button input, as the actions send it.

#include <windows.h>

#include <cstdint>

namespace gm::mon {

// A virtual key down or up; left/right Shift, Ctrl and Alt go out as the
// generic keys, with the layout's scan code.
void InjectKey(int vk, bool down);
// A volume or other extended key, down and up.
void InjectExtendedKeyPress(int vk);
// A device key code (usage) through the key table and the layout, or a
// mouse button 241-245. A code without a key sends nothing.
void InjectCode(uint8_t code, bool down);
// Primary-button click at the cursor (right button when swapped).
void InjectPrimaryClick();

} // namespace gm::mon
