#pragma once
// The lighting page's button groups apart from its window: which field each
// button "2" ... "25" writes, with which value, and which buttons show
// checked for the stored values.
#include "shared/settings_block.h"
#include <cstdint>
#include <optional>
#include <vector>

namespace gm::option {

enum class LightGroup { Polling, EffectSwitch, EffectType, ColorFlag, Colour, Breath, Intensity };

inline constexpr int kFirstLightKey = 2;
inline constexpr int kLastLightKey = 25;
inline constexpr int kColorFlagKey = 10;

struct LightButton {
    LightGroup group;
    int index; // 0-based position within its group, in key order
};

// The group and index of a key 2-25; none for any other key.
std::optional<LightButton> LightButtonForKey(int key);
// The keys of a group, in key order.
std::vector<int> LightGroupKeys(LightGroup group);

// A click on the button of `key`; `latched` is the toggle's new state (only
// the single-colour toggle reads it). Returns the group to mark again.
std::optional<LightGroup> StoreLightButton(ProfileView profile, int key, bool latched);

// Whether the button of `key` shows checked for the stored values. A value
// no button stands for leaves its group unchecked, except the effect switch,
// whose "off" button stands for everything but 1.
bool LightButtonChecked(const ProfileView& profile, int key);

} // namespace gm::option
