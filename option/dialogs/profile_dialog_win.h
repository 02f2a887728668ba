#pragma once
// Names a profile and links it to a game program. Edits the two texts of one
// profile record; nothing is written before OK.
#include "shared/settings_block.h"
#include "skin/bitmap_edit_win.h"
#include "skin/skin_button_win.h"
#include "skin/skin_dialog_win.h"
#include <string>

namespace gm::option {

inline constexpr int kProfileNameChars = 20;
// GameFile holds 501 characters; the edit refuses more instead of cutting.
inline constexpr int kGameFileChars = int(prof::GameFile.width) - 1;

class ProfileDialog : public skin::SkinDialog {
  public:
    // `startEmpty`: the edits start empty (mode 1) instead of with the
    // profile's texts (mode 0).
    ProfileDialog(ProfileView profile, bool startEmpty)
        : profile_(profile), startEmpty_(startEmpty) {}
    int Run(const std::string& skinFolder, HWND owner);

    HWND nameEdit() const { return nameEdit_.hwnd(); }
    HWND gameEdit() const { return gameEdit_.hwnd(); }

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    bool OnInitDialog() override;
    void OnCommand(HWND control, int code) override;

  private:
    void Browse();
    ProfileView profile_;
    bool startEmpty_;
    skin::BitmapEdit nameEdit_, gameEdit_;
    skin::SkinButton browse_, ok_, cancel_, close_;
};

} // namespace gm::option
