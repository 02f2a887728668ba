#pragma once
// Polling rate and the first lighting effect of the working block's current
// profile: effect switch and type, single colour and its choice, breathing
// speed and intensity, each a group of skinned buttons; and the reset of
// every profile and the display settings to their defaults.
#include "option/pages/lighting_groups.h"
#include "option/pages/page_win.h"
#include "skin/skin_button_win.h"
#include <array>

namespace gm::option {

class LightingPage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_color_page.ini"; }
    void Refresh() override;

    // The button of BUTTONPOS key 2-25.
    skin::SkinButton& button(int key) { return buttons_[std::size_t(key - kFirstLightKey)]; }
    skin::SkinButton& resetButton() { return reset_; }

  protected:
    void CreateControls(skin::WindowSkin& skin) override;

  private:
    void ShowGroup(LightGroup group);
    void OnCommand(HWND from) override;

    std::array<skin::SkinButton, kLastLightKey - kFirstLightKey + 1> buttons_;
    skin::SkinButton reset_;
};

} // namespace gm::option
