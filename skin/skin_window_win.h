#pragma once
// A ready-made skinned window: runs the skin's creation sequence in its
// create handler, paints its background double-buffered, reflects colour
// requests to its edit controls and, as a pop-up, drags from any point.

#include "skin/window_base_win.h"
#include "skin/window_skin_win.h"

#include <string>

namespace gm::skin {

class SkinWindow : public WindowBase {
  public:
    enum class Kind { Page, Popup };

    // `style` as for CreateWindowEx; pages are usually WS_CHILD, pop-ups WS_POPUP.
    bool Create(const std::string& skinFolder, const std::string& iniName, Kind kind, DWORD style,
                HWND parent, DWORD exStyle = 0);

    const WindowSkin& skin() const { return skin_; }
    // Renders the window's client area into any DC (WM_PRINTCLIENT, tests).
    virtual void Paint(HDC dc);
    bool DrawsOnPrintClient() const override { return true; }

  protected:
    // Step 5 of the creation: create the controls from the skin's records.
    virtual void CreateControls(WindowSkin& /*skin*/) {}
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    WindowSkin skin_;
    std::string folder_, ini_;
    Kind kind_ = Kind::Page;
};

} // namespace gm::skin
