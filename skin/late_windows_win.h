#pragma once
// Controls whose windows are made right after their dialog's first paint.
// Under Wine a child window costs about half a millisecond to make; a dialog
// of forty controls spent most of its start making them before anything was
// on screen. While a LateWindowsScope is open, a control of a class that may
// be made late (WindowBase::MayBeMadeLate) is only recorded: the object takes
// its images, texts and states as usual, the parent's composite paint
// (PresentWithDescendants) draws it from the object, and the windows are
// made at the end of that paint, marked as painted when the paint drew them
// whole. Each window takes the place in the z-order it would have had made
// at once.
#include "skin/window_base_win.h"

#include <windows.h>

#include <vector>

namespace gm::skin {

class LateWindowsScope {
  public:
    LateWindowsScope();
    ~LateWindowsScope();
    LateWindowsScope(const LateWindowsScope&) = delete;
    LateWindowsScope& operator=(const LateWindowsScope&) = delete;
};

// The controls waiting for a window under `parent`, in the order created.
// The composite paint draws them above the parent's windows.
std::vector<WindowBase*> LateControlsOf(HWND parent);

bool LateWindowsWaiting();

// Makes the window of every control waiting; those in `drawn` were just
// drawn whole by their parent's paint and are marked as painted.
void MakeLateWindows(const std::vector<WindowBase*>& drawn = {});

// For WindowBase.
bool CollectingLateWindows();
void AddLateWindow(WindowBase* control);
void ForgetLateWindow(WindowBase* control);

} // namespace gm::skin
