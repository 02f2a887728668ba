#pragma once
// The small skinned warnings: their message is part of the artwork. Button
// "1" answers OK, buttons "2" and "3" Cancel; nothing else closes them.
#include "skin/skin_button_win.h"
#include "skin/skin_dialog_win.h"
#include <array>
#include <string>

namespace gm::option {

class WarningDialog : public skin::SkinDialog {
  public:
    // Runs the warning of `iniName` modally over `owner`; kDialogOk or kDialogCancel.
    int Run(const std::string& skinFolder, HWND owner);

  protected:
    // `escapeCancels`: Esc answers Cancel, as the cancel button does;
    // otherwise Esc, like Enter, does nothing.
    explicit WarningDialog(const char* iniName, bool hasClose, HWND centreOn = nullptr,
                           bool escapeCancels = false)
        : iniName_(iniName), hasClose_(hasClose), centreOn_(centreOn),
          escapeCancels_(escapeCancels) {}
    void CreateControls(skin::WindowSkin& skin) override;
    bool OnInitDialog() override;
    void OnCommand(HWND control, int code) override;
    bool SwallowsKey(const MSG& msg) const override;

  private:
    const char* iniName_;
    bool hasClose_;
    HWND centreOn_;
    bool escapeCancels_;
    std::array<skin::SkinButton, 3> buttons_; // OK, Cancel, Close
};

// Shown instead of a change that would leave no button with the left click.
class ClickWarning : public WarningDialog {
  public:
    ClickWarning() : WarningDialog("skin_click_warn.ini", true) {}
};

// Asks before every profile is reset; centred on the main dialog.
class ResetWarning : public WarningDialog {
  public:
    explicit ResetWarning(HWND mainDialog)
        : WarningDialog("skin_reset_warn.ini", true, mainDialog) {}
};

// Shown when a macro command needs a selected macro and none is.
class MacroSetWarning : public WarningDialog {
  public:
    MacroSetWarning() : WarningDialog("skin_macro_set_warn.ini", false) {}
};

} // namespace gm::option
