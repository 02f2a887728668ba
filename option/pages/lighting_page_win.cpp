#include "option/pages/lighting_page_win.h"

#include "option/pages/reset_command_win.h"

namespace gm::option {
namespace {
constexpr int kResetSlot = 26;
}

void LightingPage::CreateControls(skin::WindowSkin& skin) {
    for (int key = kFirstLightKey; key <= kLastLightKey; ++key) {
        skin::SkinButton& b = button(key);
        b.Create(skin.Record(key), skin.sheets(), hwnd());
        // Only the single-colour button latches by itself; the page latches the radio groups.
        b.SetToggle(key == kColorFlagKey);
    }
    reset_.Create(skin.Record(kResetSlot), skin.sheets(), hwnd());
}

void LightingPage::ShowGroup(LightGroup group) {
    const ProfileView p = CurrentProfile();
    for (int key : LightGroupKeys(group))
        button(key).SetLatched(LightButtonChecked(p, key));
}

void LightingPage::Refresh() {
    for (LightGroup g :
         {LightGroup::Polling, LightGroup::EffectSwitch, LightGroup::EffectType,
          LightGroup::Intensity, LightGroup::Breath, LightGroup::ColorFlag, LightGroup::Colour})
        ShowGroup(g);
}

void LightingPage::OnCommand(HWND from) {
    if (!from)
        return;
    if (from == reset_.hwnd()) {
        // The lighting page's reset also restores the display settings.
        RunResetCommand(host(), hwnd(), true);
        return;
    }
    for (int key = kFirstLightKey; key <= kLastLightKey; ++key) {
        skin::SkinButton& b = button(key);
        if (from != b.hwnd())
            continue;
        if (const auto group = StoreLightButton(CurrentProfile(), key, b.latched()))
            ShowGroup(*group);
        return;
    }
}

} // namespace gm::option
