#pragma once
// Polling rate and OTG value of the working block's current profile, and
// the reset of every profile to its defaults.
#include "option/pages/advance_logic.h"
#include "option/pages/page_win.h"
#include "skin/click_hslider_win.h"
#include "skin/skin_button_win.h"
#include <array>

namespace gm::option {

class AdvancePage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_advance_page.ini"; }
    void Refresh() override;

    skin::SkinButton& pollingButton(int i) { return polling_[std::size_t(i)]; }
    skin::SkinButton& defaultsButton() { return defaults_; }
    skin::CclickHSlider& otgSlider() { return otg_; }

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void ShowPolling();
    void OnCommand(HWND from) override;

    std::array<skin::SkinButton, kPollingButtons> polling_;
    skin::SkinButton defaults_;
    skin::CclickHSlider otg_;
};

} // namespace gm::option
