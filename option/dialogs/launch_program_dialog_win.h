#pragma once
// Chooses the program or document a mouse button opens. Edits one path and
// hands it back on OK.
#include "shared/settings_block.h"
#include "skin/bitmap_edit_win.h"
#include "skin/skin_button_win.h"
#include "skin/skin_dialog_win.h"
#include <string>

namespace gm::option {

// ProgramPath holds 261 characters; the edit refuses more instead of cutting.
inline constexpr int kProgramPathChars = int(btn::ProgramPath.width) - 1;

class LaunchProgramDialog : public skin::SkinDialog {
  public:
    void SetPath(const std::string& path) { path_ = path; }
    const std::string& path() const { return path_; }
    int Run(const std::string& skinFolder, HWND owner) {
        return RunModal(skinFolder, "skin_lanuch_program.ini", owner);
    }
    HWND pathEdit() const { return edit_.hwnd(); }

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    bool OnInitDialog() override;
    void OnCommand(HWND control, int code) override;

  private:
    std::string path_;
    skin::BitmapEdit edit_;
    skin::SkinButton browse_, ok_, cancel_, close_;
};

} // namespace gm::option
