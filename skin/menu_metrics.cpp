#include "skin/menu_metrics.h"

#include <algorithm>
#include <limits>

namespace gm::skin {

void MenuMetrics::Append(std::size_t textLength) {
    const std::size_t cap = std::size_t(std::numeric_limits<int32_t>::max() / 16);
    const int64_t wanted = 8 * int64_t(std::min(textLength, cap)) + spacing1 + spacing2;
    width_ = int32_t(std::max<int64_t>(width_, wanted));
}

uint32_t MenuTextColour(bool selected, bool marked) {
    if (marked)
        return menu_colour::Marked;
    return selected ? menu_colour::HighlightText : menu_colour::Text;
}

} // namespace gm::skin
