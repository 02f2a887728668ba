#pragma once
// Edit box in the skin's colours and font; optionally numeric, letting only
// digits and number punctuation in, whether typed or pasted.

#include "skin/window_base_win.h"
#include "win/handles.h"

namespace gm::skin {

class BitmapEdit : public WindowBase {
  public:
    BitmapEdit();
    // A visible child; `style` adds edit styles (ES_AUTOHSCROLL, ES_CENTER, WS_TABSTOP ...).
    // The control's font is applied here.
    bool Create(const RECT& rect, HWND parent, int id = 0, DWORD style = 0);

    void SetNumeric(bool numeric) { numeric_ = numeric; }
    bool numeric() const { return numeric_; }
    void SetColors(COLORREF text, COLORREF background);
    HFONT font() const { return font_.get(); }

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void OnTextChanged();
    void PostToParent(UINT msg, WPARAM wp) const;

    COLORREF textColour_ = RGB(36, 36, 36);
    COLORREF backColour_ = RGB(255, 255, 255);
    win::unique_hbrush brush_;
    win::unique_hfont font_;
    bool numeric_ = false;
    bool swallowChar_ = false;
};

} // namespace gm::skin
