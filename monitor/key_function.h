#pragma once
// The key-with-modifiers function of a button, free of Windows: which
// modifier keys its record names, in the order they are pressed, and which
// keys repeat while the button is held.

#include <cstdint>
#include <vector>

namespace gm::mon {

inline constexpr int kKeyRepeatFirstMs = 1000;
inline constexpr int kKeyRepeatMs = 100;

// Virtual keys of the modifiers named by a record's modifier byte (bit 0
// Ctrl, 1 Shift, 2 Alt, 3 Windows), in press order: Ctrl, Shift, Alt,
// left Windows. Release them in the reverse order.
std::vector<int> ModifierKeys(uint8_t modifiers);

// Left/right Shift, Ctrl and Alt become the generic keys when injected.
int GenericModifier(int vk);

// Whether a held key repeats: not 0, not a modifier or Windows key.
bool KeyRepeats(int vk);

} // namespace gm::mon
