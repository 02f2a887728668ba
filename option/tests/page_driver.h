#pragma once
// What a user does to a page, as the messages a pointer produces or as real
// pointer input, and a hand that answers the reset warning while it runs.
#include "shared/tests/message_pump.h"
#include "skin/click_hslider_win.h"

#include <windows.h>

#include <functional>
#include <string>

namespace gm::option::test {

using gm::test::Pump;
using gm::test::PumpUntil;

// The pointer messages of a left click at (x, y) of `hwnd`'s client area.
void Click(HWND hwnd, int x, int y);
// A left click in the middle of `hwnd`.
void ClickCentre(HWND hwnd);
// A left click with the real pointer at (x, y) of `hwnd`'s client area.
void RealClick(HWND hwnd, int x, int y);

// Drags a slider's thumb by `dx` pixels and lets go.
void DragThumb(skin::CclickHSlider& slider, int dx);
// Presses and releases the thumb where it is, without moving it.
void TouchThumb(skin::CclickHSlider& slider);
// Clicks the track at `x` of its own client area.
void ClickTrack(skin::CclickHSlider& slider, int x);

// Answers the next reset warning of this thread by clicking its button of
// BUTTONPOS key `slot` (1 OK, 2 Cancel, 3 Close) once it shows.
class WarningAnswer {
  public:
    WarningAnswer(const std::string& skinFolder, int slot, HWND mainWindow);
    ~WarningAnswer();
    bool answered() const;
    // Whether the main window was disabled while the warning was open.
    bool mainWasDisabled() const;
};

} // namespace gm::option::test
