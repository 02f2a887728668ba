#include "option/pages/lighting_groups.h"

namespace gm::option {
namespace {

struct GroupSpan {
    LightGroup group;
    int firstKey, lastKey;
};

constexpr GroupSpan kGroups[] = {
    {LightGroup::Polling, 2, 5},     {LightGroup::EffectSwitch, 6, 7},
    {LightGroup::EffectType, 8, 9},  {LightGroup::ColorFlag, 10, 10},
    {LightGroup::Colour, 11, 17},    {LightGroup::Breath, 18, 21},
    {LightGroup::Intensity, 22, 25},
};

// Effect switch: the first button switches the effect on.
int32_t EffectSwitchValue(int index) {
    return index == 0 ? 1 : 0;
}

} // namespace

std::optional<LightButton> LightButtonForKey(int key) {
    for (const auto& g : kGroups)
        if (key >= g.firstKey && key <= g.lastKey)
            return LightButton{g.group, key - g.firstKey};
    return std::nullopt;
}

std::vector<int> LightGroupKeys(LightGroup group) {
    std::vector<int> keys;
    for (const auto& g : kGroups)
        if (g.group == group)
            for (int k = g.firstKey; k <= g.lastKey; ++k)
                keys.push_back(k);
    return keys;
}

std::optional<LightGroup> StoreLightButton(ProfileView profile, int key, bool latched) {
    const auto button = LightButtonForKey(key);
    if (!button)
        return std::nullopt;
    const int i = button->index;
    switch (button->group) {
    case LightGroup::Polling:
        profile.Set(prof::PollingRate, i);
        break;
    case LightGroup::EffectSwitch:
        profile.Set(prof::LightEffectSwitch1, uint8_t(EffectSwitchValue(i)));
        break;
    case LightGroup::EffectType:
        profile.Set(prof::LightEffectType1, uint8_t(i));
        break;
    case LightGroup::ColorFlag:
        profile.Set(prof::ColorFlag, latched ? 1 : 0);
        break;
    case LightGroup::Colour:
        profile.Set(prof::ColorOptions1, uint8_t(i));
        break;
    case LightGroup::Breath:
        profile.Set(prof::BreathSpeed, i);
        break;
    case LightGroup::Intensity:
        profile.Set(prof::LightIntensity, i);
        break;
    }
    return button->group;
}

bool LightButtonChecked(const ProfileView& profile, int key) {
    const auto button = LightButtonForKey(key);
    if (!button)
        return false;
    const int i = button->index;
    switch (button->group) {
    case LightGroup::Polling:
        return profile.Get(prof::PollingRate) == i;
    case LightGroup::EffectSwitch:
        return (profile.Get(prof::LightEffectSwitch1) == 1) == (i == 0);
    case LightGroup::EffectType:
        return profile.Get(prof::LightEffectType1) == i;
    case LightGroup::ColorFlag:
        return profile.Get(prof::ColorFlag) != 0;
    case LightGroup::Colour:
        return profile.Get(prof::ColorOptions1) == i;
    case LightGroup::Breath:
        return profile.Get(prof::BreathSpeed) == i;
    case LightGroup::Intensity:
        return profile.Get(prof::LightIntensity) == i;
    }
    return false;
}

} // namespace gm::option
