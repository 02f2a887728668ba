#pragma once
// Helpers of the toolkit's Wine tests: BMP files written at test time, a
// skin folder in a temporary directory, pixels read back from any painting,
// and a skinned window that records what its controls tell it.

#include "shared/tests/test_folder.h"
#include "skin/skin_window_win.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gm::skin::test {

// A 24-bit BMP whose pixel (x, y), top row first, is colour(x, y).
void WriteBmp(const std::string& path, int width, int height,
              const std::function<COLORREF(int, int)>& colour);
void WriteSolidBmp(const std::string& path, int width, int height, COLORREF colour);

// Renders `paint` into a fresh width x height bitmap and returns its pixels.
class Canvas {
  public:
    Canvas(int width, int height, const std::function<void(HDC)>& paint);
    COLORREF At(int x, int y) const;

  private:
    int width_, height_;
    std::vector<uint32_t> pixels_;
};

// A message the test window received.
struct Received {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

// A skinned window whose controls the test creates in CreateControls; every
// WM_COMMAND and every message at or above WM_USER is recorded.
class RecordingWindow : public SkinWindow {
  public:
    std::function<void(WindowSkin&)> onCreate;
    std::vector<Received> received;

    // Delivers what was posted to this thread and returns the recorded messages of `msg`.
    std::vector<Received> Take(UINT msg);

  protected:
    void CreateControls(WindowSkin& skin) override {
        if (onCreate)
            onCreate(skin);
    }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
};

void PumpMessages();

} // namespace gm::skin::test
