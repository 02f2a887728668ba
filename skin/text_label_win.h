#pragma once
// One line of white text centred over a near-black fill, in the skin's
// label font; repainted whenever its text is set. Publishes its hover text
// like a skinned button.
#include "skin/window_base_win.h"
#include "win/handles.h"
#include <string>

namespace gm::skin {

class TextLabel : public WindowBase {
  public:
    bool Create(const RECT& rect, HWND parent, int id = 0);
    void SetText(const std::string& text);
    // Kept for callers that mark the current entry; it draws the same.
    void SetSelected(bool selected) { selected_ = selected; }
    void SetHoverText(const std::string& text) { hoverText_ = text; }
    const std::string& text() const { return text_; }
    bool selected() const { return selected_; }
    void Paint(HDC dc);
    bool DrawsOnPrintClient() const override { return true; }

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
    bool MayBeMadeLate() const override { return true; }
    void OnMadeLate() override;

  private:
    std::string text_;
    std::string hoverText_;
    bool selected_ = false;
    bool tracking_ = false;
    win::unique_hfont font_;
};

} // namespace gm::skin
