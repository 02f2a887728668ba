#pragma once
// Tilt scrolling's choices by window class, free of Windows: how a program
// scrolls horizontally and which windows count as its horizontal bar.

#include <string_view>

namespace gm::mon {

enum class TiltMethod { ArrowClick, ScrollBarMessage, ArrowKeys, WindowMessage };

// Class names compare exactly (case-sensitive).
TiltMethod MethodForClass(std::string_view cls);

bool IsScrollBarClass(std::string_view cls); // "ScrollBar", "NUIScrollbar"
bool IsContainerClass(std::string_view cls); // searched into: "AfxWnd70", "AfxWnd42"

struct WindowFacts {
    std::string_view cls;
    bool hasHScroll = false;                      // WS_HSCROLL
    int left = 0, top = 0, right = 0, bottom = 0; // window rectangle
};

// Whether a window is a horizontal scroll target for a cursor at `cursorX`.
bool QualifiesForHScroll(const WindowFacts& w, int cursorX);

// Scroll units per step for a profile's TiltSpeed. The value comes from
// files and the shared block, so a damaged one must not turn one step into
// billions of messages or clicks: at most what the configuration program
// offers (10), nothing for zero or less.
inline constexpr int kMaxTiltSpeed = 10;
int TiltRepeats(int tiltSpeed);

// The scroll message for a tilt direction: +1 -> SB_LINELEFT, -1 -> SB_LINERIGHT.
inline int ScrollCode(int direction) {
    return direction > 0 ? 0 : 1;
}

struct ArrowKey {
    int vk;
    unsigned downParam, upParam;
};
// Left for +1, Right for -1, with the lParams the programs expect.
ArrowKey ArrowKeyFor(int direction);

} // namespace gm::mon
