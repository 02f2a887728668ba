#pragma once
// One resolution stage: a select plate that makes it the active stage, a box
// that enables it, a slider over the twelve CPI codes and a label with the
// CPI number. It stores nothing; it tells its owner with UM_STAGE_CHANGED.
#include "option/widgets/stage_values.h"
#include "skin/click_hslider_win.h"
#include "skin/skin_button_win.h"
#include "skin/text_label_win.h"
#include "skin/window_base_win.h"
#include "win/handles.h"
#include <string>

namespace gm::option {

class StageControl : public skin::WindowBase {
  public:
    // Inner layout, in the control's own client coordinates.
    static constexpr RECT kSelectRect{1, 1, 110, 19};
    static constexpr RECT kEnableRect{10, 24, 27, 41};
    static constexpr RECT kSliderRect{30, 23, 272, 38};
    // The dark well of the artwork, wide enough for four digits.
    static constexpr RECT kLabelRect{236, 7, 267, 20};

    // A visible child at `rect` of `owner`; `identifier` comes back as the
    // notices' lParam. The outline and slider thumb come from `skinFolder`.
    bool Create(const RECT& rect, HWND owner, int identifier, const std::string& skinFolder);
    // Cuts the control's images from the owner's sheets at its rectangle and
    // its inner controls' images from those.
    void SetImages(int left, int top, int right, int bottom, HBITMAP rest, HBITMAP hover,
                   HBITMAP pressed, HBITMAP disabled);

    // None of these send a notice.
    void SetValue(int32_t code);
    void SetEnabled(bool enabled);
    void SetSelected(bool selected);

    int32_t code() const { return code_; }
    bool enabled() const { return enabled_; }
    bool selected() const { return selected_; }
    int identifier() const { return identifier_; }
    skin::SkinButton& selectButton() { return select_; }
    skin::SkinButton& enableBox() { return enable_; }
    skin::CclickHSlider& slider() { return slider_; }
    skin::TextLabel& label() { return label_; }

    void Paint(HDC dc);
    bool DrawsOnPrintClient() const override { return true; }

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void OnCreate();
    void EnableParts(bool enabled);
    void Notify(StageNoticeKind kind, int32_t value);

    int identifier_ = 0;
    HWND owner_ = nullptr;
    std::string skinFolder_;
    win::unique_hbitmap rest_, hover_, pressed_, disabled_, mask_;
    int32_t code_ = 8;
    bool enabled_ = true;
    bool selected_ = false;
    skin::SkinButton select_;
    skin::SkinButton enable_;
    skin::CclickHSlider slider_;
    skin::TextLabel label_;
};

} // namespace gm::option
