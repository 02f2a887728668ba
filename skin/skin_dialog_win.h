#pragma once
// A skinned window run as a modal dialog: the owner is disabled while it
// runs, Enter and Esc never confirm or cancel it (only its skinned buttons
// end it), it opens centred on its owner unless it placed itself, and a
// press anywhere on its surface drags it.
#include "skin/skin_window_win.h"
#include <string>

namespace gm::skin {

inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;

class SkinDialog : public SkinWindow {
  public:
    // Builds the dialog from `iniName` in `skinFolder`, runs it until End()
    // and returns End's value. WM_CLOSE ends it with kDialogCancel. A
    // WM_QUIT seen meanwhile ends it too and is posted again for the caller.
    int RunModal(const std::string& skinFolder, const std::string& iniName, HWND owner);
    // Ends the modal run with `result` (safe to call from any handler).
    void End(int result);
    bool running() const { return running_; }
    // True for keys the dialog swallows before any other processing.
    static bool IsSwallowedKey(const MSG& msg, HWND dialog);

  protected:
    // After the controls exist and before the window is shown. Return true
    // when the dialog placed itself; otherwise it is centred on its owner.
    virtual bool OnInitDialog() { return false; }
    // A WM_COMMAND from one of the dialog's controls, told apart by handle.
    virtual void OnCommand(HWND /*control*/, int /*code*/) {}
    // Keys taken out of the modal loop before any processing; a dialog may
    // swallow more than Enter and Esc.
    virtual bool SwallowsKey(const MSG& msg) const { return IsSwallowedKey(msg, hwnd()); }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    bool running_ = false;
    bool ended_ = false;
    int result_ = kDialogCancel;
};

// Moves `window` so that it is centred on `on` (on the work area when `on`
// is null), keeping it on the screen.
void CenterWindowOn(HWND window, HWND on);

} // namespace gm::skin
