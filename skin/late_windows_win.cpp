#include "skin/late_windows_win.h"

#include <algorithm>
#include <map>
#include <utility>

namespace gm::skin {
namespace {

// The windows are made on the thread that paints the dialog, the one that
// created the controls.
int& OpenScopes() {
    static int open = 0;
    return open;
}

std::vector<WindowBase*>& Waiting() {
    static std::vector<WindowBase*> waiting;
    return waiting;
}

} // namespace

LateWindowsScope::LateWindowsScope() {
    ++OpenScopes();
}

LateWindowsScope::~LateWindowsScope() {
    --OpenScopes();
}

bool CollectingLateWindows() {
    return OpenScopes() > 0;
}

void AddLateWindow(WindowBase* control) {
    Waiting().push_back(control);
}

void ForgetLateWindow(WindowBase* control) {
    auto& waiting = Waiting();
    waiting.erase(std::remove(waiting.begin(), waiting.end(), control), waiting.end());
}

bool LateWindowsWaiting() {
    return !Waiting().empty();
}

std::vector<WindowBase*> LateControlsOf(HWND parent) {
    std::vector<WindowBase*> under;
    for (WindowBase* control : Waiting())
        if (control->late() && control->late()->parent == parent)
            under.push_back(control);
    return under;
}

void MakeLateWindows(const std::vector<WindowBase*>& drawn) {
    // A new child goes below its elder siblings. Each control's window goes
    // where it would have gone had it been made at once: below the sibling
    // that was youngest then, or below the late one created just before it.
    std::map<std::pair<HWND, HWND>, HWND> lastMade; // (parent, after) -> window
    const std::vector<WindowBase*> waiting = Waiting();
    for (WindowBase* control : waiting) {
        // One made before may have taken another with it.
        const auto& still = Waiting();
        if (std::find(still.begin(), still.end(), control) == still.end())
            continue;
        const WindowBase::LateCreation c = *control->late();
        if (!control->MakeLateWindow())
            continue;
        const HWND w = control->hwnd();
        HWND& previous = lastMade[{c.parent, c.after}];
        HWND above = previous ? previous : c.after;
        if (above && ::GetAncestor(above, GA_PARENT) != c.parent)
            above = nullptr; // gone since
        ::SetWindowPos(w, above ? above : HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
        previous = w;
        const bool shown = (c.style & WS_VISIBLE) != 0;
        if (!shown)
            continue;
        // Made hidden and shown by its style alone: showing a window in a
        // window on screen costs Wine a millisecond or more, and the picture
        // is already there. One the paint did not draw whole paints itself.
        ::SetWindowLongPtrA(w, GWL_STYLE, ::GetWindowLongPtrA(w, GWL_STYLE) | WS_VISIBLE);
        if (std::find(drawn.begin(), drawn.end(), control) == drawn.end())
            ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }
}

} // namespace gm::skin
