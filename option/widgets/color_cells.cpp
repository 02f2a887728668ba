#include "option/widgets/color_cells.h"

namespace gm::option {

int CellAt(const CellRects& cells, int32_t x, int32_t y) {
    for (int i = 0; i < kColorCellCount; ++i)
        if (cells[std::size_t(i)].Contains(x, y))
            return i;
    return -1;
}

HoverStep TrackHover(const CellRects& cells, int over, int32_t x, int32_t y) {
    const int cell = CellAt(cells, x, y);
    if (cell < 0)
        return {-1, -1};
    if (cell == over)
        return {over, -1};
    return {cell, cell};
}

} // namespace gm::option
