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

// The Ctrl shortcuts 53-60 (X, C, V, Z, A, F, N, S) go to the mouse as key
// buttons with the Ctrl bit, and the mouse reports them as key buttons.
inline constexpr uint8_t kCtrlModifier = 0x01;
inline constexpr uint8_t kCtrlShortcutKeys[8] = {27, 6, 25, 29, 4, 9, 17, 22};

// The key usage of a Ctrl shortcut function, or 0 for any other function.
uint8_t CtrlShortcutKey(int functionType);

} // namespace gm::mon
