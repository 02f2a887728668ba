#pragma once
// Position and value arithmetic of the horizontal image slider: the track
// (click to a value) and its thumb (drag to a value).

#include <cstdint>

namespace gm::skin {

struct SliderRange {
    int32_t minimum = 0;
    int32_t maximum = 10;
    bool round = false; // nearest integer instead of truncation
};

// Clamp used when a value is set from outside. The comparison is unsigned,
// so a negative value lands on the maximum.
int32_t ClampUnsigned(int32_t value, const SliderRange& range);

// Left edge of a thumb `thumbWidth` wide showing `value` within
// [extentLeft, extentRight).
int32_t ThumbLeftForValue(int32_t value, const SliderRange& range, int32_t extentLeft,
                          int32_t extentRight, int32_t thumbWidth);

// Value of a click at `x` on a track spanning [trackLeft, trackRight), all in
// the same coordinates.
int32_t ClickValue(int32_t x, int32_t trackLeft, int32_t trackRight, const SliderRange& range);

// Thumb left edge after dragging it by `dx`, kept within the extent.
int32_t DraggedThumbLeft(int32_t startLeft, int32_t dx, int32_t extentLeft, int32_t extentRight,
                         int32_t thumbWidth);

// Value while dragging: integer arithmetic, truncated.
int32_t DragValue(int32_t thumbLeft, const SliderRange& range, int32_t extentLeft,
                  int32_t extentRight, int32_t thumbWidth);

// Value when the thumb is released: rounded or truncated as the range says.
int32_t ReleaseValue(int32_t thumbLeft, const SliderRange& range, int32_t extentLeft,
                     int32_t extentRight, int32_t thumbWidth);

} // namespace gm::skin
