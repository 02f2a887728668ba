#pragma once
// The Windows mouse values of the working block's current profile: double
// click time (also given to Windows at once), pointer speed and
// acceleration, wheel lines or page scrolling, tilt speed; and the reset of
// every profile to its defaults.
#include "option/pages/page_win.h"
#include "skin/click_hslider_win.h"
#include "skin/skin_button_win.h"
#include <array>

namespace gm::option {

class SystemPage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_system_page.ini"; }
    void Refresh() override;

    skin::SkinButton& accelerationToggle() { return acceleration_; }
    skin::SkinButton& pageScrollToggle() { return pageScroll_; }
    skin::SkinButton& markToggle(int i) { return marks_[std::size_t(i)]; }
    skin::SkinButton& resetButton() { return reset_; }
    skin::CclickHSlider& doubleClickSlider() { return doubleClick_; }
    skin::CclickHSlider& pointerSpeedSlider() { return pointerSpeed_; }
    skin::CclickHSlider& wheelSpeedSlider() { return wheelSpeed_; }
    skin::CclickHSlider& tiltSpeedSlider() { return tiltSpeed_; }

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void CreateSlider(skin::CclickHSlider& slider, const skin::WindowSkin& skin, int slot, int id,
                      const skin::SliderRange& range);
    void OnSlider(int id, int32_t position);
    void OnCommand(HWND from) override;

    skin::SkinButton acceleration_, pageScroll_;
    std::array<skin::SkinButton, 2> marks_; // change only their own look
    skin::CclickHSlider doubleClick_, pointerSpeed_, tiltSpeed_, wheelSpeed_;
    skin::SkinButton reset_;
};

} // namespace gm::option
