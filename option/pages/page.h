#pragma once
// Base of the five setting pages: a skinned child window placed in the main
// dialog's page area, editing the host's working block.
#include "option/option_host.h"
#include "skin/skin_window.h"
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
    // The current profile of the working block (profile 0 when the index is
    // out of range, so a page never reads outside the block).
    ProfileView CurrentProfile();
    int CurrentIndex();

  private:
    OptionHost& host_;
};

} // namespace gm::option
