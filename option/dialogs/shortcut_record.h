#pragma once
// The key-with-modifiers value the shortcut dialog edits, and how it is
// read from and written back into a button record (byte 42 the key's
// device code, byte 43 the modifiers: bit 0 Ctrl, 1 Shift, 2 Alt, 3 Win).
#include "shared/settings_block.h"

#include <array>
#include <cstdint>

namespace gm {

struct Shortcut {
    uint8_t keyCode = 0;                // device key code, 0 = no key known
    std::array<uint8_t, 4> modifiers{}; // Ctrl, Shift, Alt, Win; 1 = on

    uint8_t PackedModifiers() const;
    void SetPackedModifiers(uint8_t bits);
};

Shortcut ShortcutFromButton(const ButtonView& button);

// What the opener does after OK: one key event, the name cleared, the
// function "key with modifiers".
void ApplyShortcut(const Shortcut& shortcut, ButtonView button);

} // namespace gm
