#pragma once
// Image button: shows one of four images cut from the window's sheets (rest,
// hover, pressed, disabled), tells its parent when the pointer enters and
// leaves, and can latch like a check box.

#include "skin/button_state.h"
#include "skin/control_record.h"
#include "skin/picture_win.h"
#include "skin/window_base_win.h"
#include "skin/window_skin_win.h"
#include "win/handles.h"

#include <string>

namespace gm::skin {

class SkinButton : public WindowBase {
  public:
    // A visible child with an empty caption; `style` may add BS_DEFPUSHBUTTON.
    bool Create(const RECT& rect, HWND parent, int id = 0, DWORD style = WS_CHILD | WS_VISIBLE);
    bool Create(const ControlRecord& record, HWND parent, int id = 0);
    // The usual slot of a skinned window: created at the record, its state
    // images cut from the sheets, the record's text as its hover text.
    bool Create(const ControlRecord& record, const SkinSheets& sheets, HWND parent, int id = 0);

    // Cuts the four state images out of the sheets at the rectangle (any
    // sheet may be null: that state then draws nothing).
    void SetImages(int left, int top, int right, int bottom, HBITMAP rest, HBITMAP hover,
                   HBITMAP pressed, HBITMAP disabled);
    void SetImages(const ControlRecord& record, const SkinSheets& sheets);

    void SetCaption(const std::string& text);
    void SetHoverText(const std::string& text) { hoverText_ = text; }
    void SetLatched(bool value);
    void SetToggle(bool value) { toggle_ = value; }
    void SetHover(bool value);
    void SetNotifyValue(int value) { notifyValue_ = value; }
    // Posts UM_BUTTON_HOVER to the parent and UM_HOVER_TEXT to the hover-text window.
    void Notify(bool entered);

    bool latched() const { return latched_; }
    bool toggle() const { return toggle_; }
    bool hover() const { return hover_; }
    const std::string& hoverText() const { return hoverText_; }
    // The image the button shows now.
    ButtonImage CurrentImage() const;

    // Draws the button's client area into any DC.
    void Paint(HDC dc);
    bool DrawsOnPrintClient() const override { return true; }

  protected:
    // Draws the state `image` into `dc` over the client size.
    virtual void DrawState(HDC dc, ButtonImage image, SIZE client);
    // Just the state's image at (0, 0); nothing when it has none.
    void DrawImage(HDC dc, ButtonImage which) const;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
    void Redraw() const;
    bool MayBeMadeLate() const override { return true; }
    void OnMadeLate() override;

  private:
    void OnMouseMove(WPARAM wp, LPARAM lp);

    bool latched_ = false;
    bool toggle_ = false;
    bool hover_ = false;
    // Made as the default push button: hovered from the start.
    bool defaultAtCreate_ = false;
    StateImages images_;
    int notifyValue_ = 0;
    std::string caption_;
    std::string hoverText_;
    win::unique_hfont captionFont_;
};

// SkinButton with a colour swatch painted over its image.
class SwatchButton : public SkinButton {
  public:
    void SetColor(COLORREF colour);
    COLORREF color() const { return colour_; }

  protected:
    void DrawState(HDC dc, ButtonImage image, SIZE client) override;

  private:
    COLORREF colour_ = 0;
};

} // namespace gm::skin
