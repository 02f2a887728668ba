#include "monitor/key_function.h"

#include "shared/settings_block.h"

namespace gm::mon {

std::vector<int> ModifierKeys(uint8_t modifiers) {
    static constexpr int kOrder[] = {17, 16, 18, 91};
    std::vector<int> keys;
    for (int bit = 0; bit < 4; ++bit)
        if (modifiers & (1u << bit))
            keys.push_back(kOrder[bit]);
    return keys;
}

int GenericModifier(int vk) {
    switch (vk) {
    case 160:
    case 161:
        return 16;
    case 162:
    case 163:
        return 17;
    case 164:
    case 165:
        return 18;
    default:
        return vk;
    }
}

bool KeyRepeats(int vk) {
    if (vk == 0 || vk == 91 || vk == 92)
        return false;
    return GenericModifier(vk) != 16 && GenericModifier(vk) != 17 && GenericModifier(vk) != 18;
}

uint8_t CtrlShortcutKey(int functionType) {
    const int i = functionType - fn::CtrlShortcutFirst;
    return i >= 0 && i < int(sizeof kCtrlShortcutKeys) ? kCtrlShortcutKeys[i] : 0;
}

} // namespace gm::mon
