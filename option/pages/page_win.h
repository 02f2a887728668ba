#pragma once
// Base of the five setting pages: a skinned child window placed in the main
// dialog's page area, editing the host's working block.
#include "option/option_host_win.h"
#include "skin/skin_window_win.h"
#include <array>
#include <cstdint>
#include <string>

namespace gm::option {

class Page : public skin::SkinWindow {
  public:
    explicit Page(OptionHost& host) : host_(host) {}
    // Creates the page hidden, as a child of `parent`, from its skin file.
    bool CreatePage(HWND parent);
    // Shows the working block's current profile again.
    virtual void Refresh() {}
    virtual const char* SkinFile() const = 0;

  protected:
    // A command from one of the page's controls, told apart by its handle.
    virtual void OnCommand(HWND /*control*/) {}
    // Commands go to OnCommand; Enter and Esc neither confirm nor cancel
    // anything on a page.
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
    OptionHost& host() { return host_; }
    // The current profile of the working block. With no profile chosen (a
    // stored index out of range) it is a blank profile of the page's own:
    // the page edits no real profile until one is picked, as the main
    // dialog does, and never reads outside the block.
    ProfileView CurrentProfile();

  private:
    OptionHost& host_;
    std::array<uint8_t, kProfileSize> detached_{};
};

} // namespace gm::option
