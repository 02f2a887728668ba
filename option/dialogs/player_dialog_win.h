#pragma once
// Chooses the media player the media buttons drive, from a small menu.
#include "skin/skin_button_win.h"
#include "skin/skin_dialog_win.h"
#include <string>

namespace gm::option {

// The caption of a player code; "" outside 0-3.
std::string PlayerName(int playerType);

class PlayerDialog : public skin::SkinDialog {
  public:
    explicit PlayerDialog(int playerType) : playerType_(playerType) {}
    int Run(const std::string& skinFolder, HWND owner) {
        return RunModal(skinFolder, "skin_select_player.ini", owner);
    }
    int playerType() const { return playerType_; }
    HWND playerButton() const { return player_.hwnd(); }

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    bool OnInitDialog() override;
    void OnCommand(HWND control, int code) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void ShowCaption();
    void OpenMenu();
    int playerType_;
    skin::SkinButton player_, ok_, cancel_, close_;
};

} // namespace gm::option
