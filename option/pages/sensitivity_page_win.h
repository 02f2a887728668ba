#pragma once
// X and Y sensitivity with their link, the six resolution stages and the
// indicator colours of stages 0-3, for the working block's current profile.
#include "option/pages/page_win.h"
#include "option/widgets/color_chooser_win.h"
#include "option/widgets/stage_control_win.h"
#include "skin/click_hslider_win.h"
#include "skin/skin_button_win.h"
#include <array>

namespace gm::option {

class SensitivityPage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_sensitivity_page.ini"; }
    void Refresh() override;

    skin::SkinButton& xyButton() { return xyButton_; }
    skin::CclickHSlider& sliderX() { return sliderX_; }
    skin::CclickHSlider& sliderY() { return sliderY_; }
    StageControl& stage(int i) { return stages_[std::size_t(i)]; }
    skin::SwatchButton& swatch(int i) { return swatches_[std::size_t(i)]; }
    ColorChooser& chooser() { return chooser_; }
    int colorTarget() const { return colorTarget_; }

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void CreateSlider(skin::CclickHSlider& slider, const skin::WindowSkin& skin, int slot,
                      const char* thumb, int id);
    void ShowSelection();
    void OnSlider(int id, int32_t position);
    void OnStageNotice(int id, uint32_t wParam);
    void OnColorChosen(int cell);
    void OnCommand(HWND from) override;
    void OpenChooser(int swatch);

    skin::SkinButton xyButton_;
    skin::CclickHSlider sliderX_, sliderY_;
    std::array<StageControl, kStageCount> stages_;
    std::array<skin::SwatchButton, 4> swatches_;
    ColorChooser chooser_;
    int colorTarget_ = 0;
};

} // namespace gm::option
