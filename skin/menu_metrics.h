#pragma once
// Sizes and colours of the owner-drawn popup menu items.

#include <cstddef>
#include <cstdint>

namespace gm::skin {

namespace menu_colour { // 0x00BBGGRR
inline constexpr uint32_t Background = 0x2C1206;
inline constexpr uint32_t Highlight = 0x176685;
inline constexpr uint32_t Separator = 0x176685;
inline constexpr uint32_t Text = 0xE0E0E0;
inline constexpr uint32_t HighlightText = 0xE0E0E0;
inline constexpr uint32_t Marked = 0xFFBF44;
inline constexpr uint32_t Frame = 0x04F9FD;
} // namespace menu_colour

class MenuMetrics {
  public:
    static constexpr int32_t kTextHeight = 14;
    static constexpr int32_t kSeparatorHeight = 5;

    // Widens the menu to fit an appended item's text: 8 pixels a character.
    void Append(std::size_t textLength);
    // Fixes the width whatever was appended before; later items may widen it.
    void SetWidth(int32_t width) { width_ = width; }
    int32_t Width() const { return width_; }
    static int32_t ItemHeight(bool separator) {
        return separator ? kSeparatorHeight : kTextHeight + 3;
    }

    int32_t spacing1 = 0;
    int32_t spacing2 = 0;

  private:
    int32_t width_ = 0;
};

uint32_t MenuTextColour(bool selected, bool marked);

} // namespace gm::skin
