#pragma once
// Horizontal image slider: a track cut from the window's background, a
// click on it jumps to a value, and its thumb (CPHSlider) drags. The owner
// hears UM_SLIDER_POS (value, identifier) once per change, whatever its origin.

#include "skin/ph_slider_win.h"
#include "skin/slider_math.h"
#include "skin/window_base_win.h"
#include "win/handles.h"

#include <string>

namespace gm::skin {

class CclickHSlider : public WindowBase {
  public:
    // `rect` in the parent's client coordinates. False, and no window, when
    // the thumb image does not load.
    bool Create(const std::string& thumbPath, const RECT& rect, HWND parent, int id);

    void SetTrackImage(int left, int top, int right, int bottom, HBITMAP sheet);
    void SetRange(int32_t minimum, int32_t maximum);
    void SetRound(bool round);
    void SetPos(int32_t value);
    void SetHoverText(const std::string& text) { hoverText_ = text; }

    int id() const { return id_; }
    const SliderRange& range() const { return range_; }
    CPHSlider& thumb() { return thumb_; }

    void Paint(HDC dc);
    bool DrawsOnPrintClient() const override { return true; }

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    int id_ = 0;
    win::unique_hbitmap trackImage_;
    int32_t thumbWidth_ = 0, thumbHeight_ = 0;
    std::string thumbPath_;
    RECT rect_{};
    HWND parent_ = nullptr;
    SliderRange range_{0, 10, false};
    CPHSlider thumb_;
    std::string hoverText_;
    bool tracking_ = false;
};

} // namespace gm::skin
