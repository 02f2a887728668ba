#include "option/dialogs/shortcut_record.h"

#include <cstring>

namespace gm {

uint8_t Shortcut::PackedModifiers() const {
    uint8_t bits = 0;
    for (std::size_t i = 0; i < modifiers.size(); ++i)
        if (modifiers[i])
            bits |= uint8_t(1u << i);
    return bits;
}

void Shortcut::SetPackedModifiers(uint8_t bits) {
    for (std::size_t i = 0; i < modifiers.size(); ++i)
        modifiers[i] = (bits >> i) & 1;
}

Shortcut ShortcutFromButton(const ButtonView& button) {
    Shortcut s;
    s.keyCode = button.Get(btn::KeyUsage);
    s.SetPackedModifiers(button.Get(btn::KeyModifiers));
    return s;
}

void ApplyShortcut(const Shortcut& shortcut, ButtonView button) {
    button.Set(btn::EventCount, uint16_t(1));
    button.Set(btn::KeyUsage, shortcut.keyCode);
    button.Set(btn::KeyModifiers, shortcut.PackedModifiers());
    std::memset(button.data() + btn::MacroName.offset, 0, btn::MacroName.width);
    button.Set(btn::FunctionType, uint8_t(fn::Key));
}

} // namespace gm
