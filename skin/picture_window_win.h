#pragma once
// A child window showing one picture file (BMP or JPEG) at its top-left.

#include "skin/window_base_win.h"
#include "win/handles.h"

#include <string>

namespace gm::skin {

class PictureWindow : public WindowBase {
  public:
    bool Create(int left, int top, int right, int bottom, HWND parent, int id = 0);
    // False, and nothing shown, when the file does not load.
    bool SetPicture(const std::string& path);
    HBITMAP picture() const { return picture_.get(); }
    void Paint(HDC dc);
    bool DrawsOnPrintClient() const override { return true; }

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    win::unique_hbitmap picture_;
    RECT rect_{};
    HWND parent_ = nullptr;
};

} // namespace gm::skin
