#pragma once
// Hit testing and hover tracking of the colour chooser's seven cells, apart
// from any window.
#include <array>
#include <cstdint>

namespace gm::option {

inline constexpr int kColorCellCount = 7;

struct CellRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int32_t x, int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
};
using CellRects = std::array<CellRect, kColorCellCount>;

// The first cell containing (x, y), or -1.
int CellAt(const CellRects& cells, int32_t x, int32_t y);

// One pointer move over the chooser. `over` is the cell remembered under the
// pointer (-1 for none). A gap between cells forgets the cell but keeps its
// highlight, so the last cell stays lit until another one is entered.
struct HoverStep {
    int over = -1;      // the new remembered cell
    int highlight = -1; // the one cell to show hovered now, or -1 to leave the look alone
};
HoverStep TrackHover(const CellRects& cells, int over, int32_t x, int32_t y);

} // namespace gm::option
