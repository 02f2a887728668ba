#pragma once
// The slider's thumb: an image child of the track, shaped to its picture,
// dragged along the track and reporting values to it.

#include "skin/slider_math.h"
#include "skin/window_base_win.h"
#include "win/handles.h"

#include <string>

namespace gm::skin {

class CPHSlider : public WindowBase {
  public:
    // `extent` is the track's client area; false (no window) when the image
    // does not load.
    bool Create(const std::string& imagePath, const RECT& extent, HWND track, int id,
                bool transparent = true);

    void SetRange(int32_t minimum, int32_t maximum);
    void SetRound(bool round) { range_.round = round; }
    // Clamps (unsigned, as the track does), moves the thumb and stores the value.
    void SetPos(int32_t value);
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    int32_t value() const { return value_; }
    int32_t left() const { return left_; } // in the track's coordinates
    SIZE size() const { return SIZE{width_, height_}; }
    const SliderRange& range() const { return range_; }
    bool dragging() const { return dragging_; }

    void Paint(HDC dc);
    bool DrawsOnPrintClient() const override { return true; }

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void MoveTo(int32_t left);
    void Report(int32_t value);

    int id_ = 0;
    win::unique_hbitmap image_;
    int32_t width_ = 0, height_ = 0;
    bool transparent_ = true;
    bool dragging_ = false;
    RECT extent_{};
    POINT dragStart_{}; // screen coordinates of the press
    int32_t dragStartLeft_ = 0;
    int32_t left_ = 0;
    HWND track_ = nullptr;
    SliderRange range_{0, 10, false};
    bool enabled_ = true;
    int32_t value_ = 0;
};

} // namespace gm::skin
