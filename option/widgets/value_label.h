#pragma once
// A one-line text label: white text centred over a near-black fill, dimmed
// while the label is disabled.
#include "skin/window_base.h"
#include "win/handles.h"
#include <string>

namespace gm::option {

class ValueLabel : public skin::WindowBase {
  public:
    bool Create(const RECT& rect, HWND parent);
    // Replaces the text and repaints.
    void SetText(const std::string& text);
    const std::string& text() const { return text_; }
    void Paint(HDC dc);

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    std::string text_;
    win::unique_hfont font_;
};

} // namespace gm::option
