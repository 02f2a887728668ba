#include "skin/slider_math.h"

#include <algorithm>
#include <cmath>

namespace gm::skin {
namespace {

int32_t ClampSigned(int64_t v, const SliderRange& r) {
    const int64_t lo = std::min(r.minimum, r.maximum);
    const int64_t hi = std::max(r.minimum, r.maximum);
    return int32_t(std::clamp(v, lo, hi));
}

// Rounds or truncates in floating point, clamping before the conversion so an
// out-of-range double never reaches an integer.
int32_t ToValue(double v, const SliderRange& r) {
    if (std::isnan(v))
        return r.minimum;
    v = r.round ? std::floor(v + 0.5) : std::trunc(v);
    const double lo = std::min(r.minimum, r.maximum);
    const double hi = std::max(r.minimum, r.maximum);
    return int32_t(std::clamp(v, lo, hi));
}

} // namespace

int32_t ClampUnsigned(int32_t value, const SliderRange& range) {
    const auto v = uint32_t(value);
    if (v > uint32_t(range.maximum))
        return range.maximum;
    if (v < uint32_t(range.minimum))
        return range.minimum;
    return value;
}

int32_t ThumbLeftForValue(int32_t value, const SliderRange& range, int32_t extentLeft,
                          int32_t extentRight, int32_t thumbWidth) {
    const int64_t span = int64_t(range.maximum) - range.minimum;
    if (span <= 0)
        return extentLeft; // a one-value range has one position
    const int64_t free = int64_t(extentRight) - extentLeft - thumbWidth;
    const int64_t v = ClampUnsigned(value, range);
    return int32_t(extentLeft + free * (v - range.minimum) / span);
}

int32_t ClickValue(int32_t x, int32_t trackLeft, int32_t trackRight, const SliderRange& range) {
    const int64_t width = int64_t(trackRight) - trackLeft;
    if (width <= 0)
        return range.minimum;
    const int64_t product = (int64_t(x) - trackLeft) * (int64_t(range.maximum) - range.minimum);
    return ToValue(double(product) / double(width) + range.minimum, range);
}

int32_t DraggedThumbLeft(int32_t startLeft, int32_t dx, int32_t extentLeft, int32_t extentRight,
                         int32_t thumbWidth) {
    const int64_t highest = std::max<int64_t>(extentLeft, int64_t(extentRight) - thumbWidth);
    return int32_t(std::clamp<int64_t>(int64_t(startLeft) + dx, extentLeft, highest));
}

int32_t DragValue(int32_t thumbLeft, const SliderRange& range, int32_t extentLeft,
                  int32_t extentRight, int32_t thumbWidth) {
    const int64_t free = int64_t(extentRight) - extentLeft - thumbWidth;
    if (free <= 0)
        return range.minimum;
    const int64_t span = int64_t(range.maximum) - range.minimum;
    return ClampSigned(range.minimum + (int64_t(thumbLeft) - extentLeft) * span / free, range);
}

int32_t ReleaseValue(int32_t thumbLeft, const SliderRange& range, int32_t extentLeft,
                     int32_t extentRight, int32_t thumbWidth) {
    const int64_t free = int64_t(extentRight) - extentLeft - thumbWidth;
    if (free <= 0)
        return range.minimum;
    const int64_t span = int64_t(range.maximum) - range.minimum;
    return ToValue(range.minimum + double((int64_t(thumbLeft) - extentLeft) * span) / double(free),
                   range);
}

} // namespace gm::skin
