#pragma once
// Captures one keyboard key for a "key with modifiers" button: the key is
// taken by the recorder's keyboard hook (so Enter and Esc are keys like any
// other), the four toggles pick Ctrl, Shift, Alt and Win. The opener presets
// KeyCode and Modifiers from the button record and writes them back on OK.
#include "option/dialogs/shortcut_record.h"
#include "skin/bitmap_edit_win.h"
#include "skin/skin_button_win.h"
#include "skin/skin_dialog_win.h"

#include <array>
#include <cstdint>
#include <string>

namespace gm::option {

class ShortcutDialog : public skin::SkinDialog {
  public:
    uint8_t KeyCode = 0;                // device key code, 0 = none
    std::array<uint8_t, 4> Modifiers{}; // Ctrl, Shift, Alt, Win

    void Preset(const Shortcut& s);
    Shortcut Result() const;

    // kDialogOk or kDialogCancel.
    int Run(const std::string& skinFolder, HWND owner);

    // The key's name as shown.
    std::string KeyText() const;

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    bool OnInitDialog() override;
    void OnCommand(HWND control, int code) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void LatchToggles();

    skin::BitmapEdit keyEdit_;
    skin::SkinButton ok_, cancel_, close_;
    std::array<skin::SkinButton, 4> toggles_;
};

} // namespace gm::option
