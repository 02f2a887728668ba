#pragma once
// The small skinned pop-up of seven colour cells shown next to a stage's
// indicator swatch. It holds the mouse while shown, so any click ends it: a
// click on a cell posts UM_COLOR_CHOSEN (0, cell) to the receiver, a click
// anywhere else just hides it. It stores nothing itself.
#include "option/widgets/color_cells.h"
#include "skin/skin_button_win.h"
#include "skin/skin_window_win.h"
#include <array>
#include <string>

namespace gm::option {

class ColorChooser : public skin::SkinWindow {
  public:
    // Built hidden from "skin_cpi_color.ini", owned by `owner`'s window.
    bool Create(const std::string& skinFolder, HWND owner);
    // Top-left corner at `screen`, shown without taking the activation.
    void ShowAt(POINT screen);
    void Hide();
    bool shown() const;

    // The one window that hears the choice.
    static void SetReceiver(HWND receiver);
    static HWND Receiver();

    int chosen() const { return chosen_; }
    int overCell() const { return over_; }
    const CellRects& cellRects() const { return cellRects_; }
    skin::SkinButton& cell(int i) { return cells_[std::size_t(i)]; }

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void OnShown(bool shown);
    void OnPointer(int x, int y);
    void OnPress(int x, int y);
    void OnCommand(HWND from);

    std::array<skin::SkinButton, 3> closeButtons_; // OK, Cancel, Cancel
    std::array<skin::SkinButton, kColorCellCount> cells_;
    CellRects cellRects_{};
    int chosen_ = -1;
    int over_ = -1;
    bool releasing_ = false; // our own release is no loss
};

} // namespace gm::option
