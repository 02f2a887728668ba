#pragma once
// The fifteen programmable buttons: each shows its function and opens the
// function menu; the mouse picture marks the button under the pointer.
#include "option/pages/page_win.h"
#include "skin/picture_window_win.h"
#include "skin/skin_button_win.h"
#include <array>

namespace gm::option {

class ButtonsPage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_button_page.ini"; }
    void Refresh() override;

    HWND functionButton(int i) const { return buttons_[std::size_t(i)].hwnd(); }
    // The picture of button `i`, or none before the pointer was first on it.
    HWND picture(int i) const { return pictures_[std::size_t(i)].hwnd(); }

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void OpenFunctionMenu(int index);
    void OnMenuCommand(int command);
    bool RunKeyDialog(ButtonView button);
    bool RunProgramDialog(ButtonView button);
    void RunPlayerDialog();
    void RunMacroManager();
    std::string Caption(const ButtonView& button);
    HWND Picture(int i);

    std::array<skin::SkinButton, kButtonCount> buttons_;
    std::array<skin::PictureWindow, kButtonCount> pictures_;
    skin::SkinButton newProfile_, import_, export_, editProfile_;
    int menuButton_ = 0;
    int hoveredButton_ = 0;
    RECT pictureArea_{};
};

} // namespace gm::option
