#include "skin/slider_math.h"

#include <gtest/gtest.h>

namespace gm::skin {
namespace {

TEST(SliderMath, ClickComputesInFloatingPointThenRoundsOrTruncates) {
    // 2 + 127 * 253 / 254 = 128.5
    EXPECT_EQ(ClickValue(127, 0, 254, {2, 255, false}), 128);
    EXPECT_EQ(ClickValue(127, 0, 254, {2, 255, true}), 129);
    // The same click with the track placed elsewhere in its parent.
    EXPECT_EQ(ClickValue(227, 100, 354, {2, 255, true}), 129);
    EXPECT_EQ(ClickValue(0, 0, 254, {2, 255, false}), 2) << "far left is the minimum";
    EXPECT_EQ(ClickValue(254, 0, 254, {2, 255, false}), 255);
    EXPECT_EQ(ClickValue(400, 0, 254, {2, 255, false}), 255) << "clamped";
    EXPECT_EQ(ClickValue(-50, 0, 254, {2, 255, false}), 2) << "clamped";
    EXPECT_EQ(ClickValue(10, 5, 5, {1, 12, true}), 1) << "a zero-width track gives the minimum";
}

TEST(SliderMath, SetPositionClampsUnsignedAndPlacesTheThumb) {
    const SliderRange r{2, 255, false};
    EXPECT_EQ(ClampUnsigned(300, r), 255);
    EXPECT_EQ(ClampUnsigned(-1, r), 255) << "unsigned: a negative value lands on the maximum";
    EXPECT_EQ(ClampUnsigned(1, r), 2);
    EXPECT_EQ(ClampUnsigned(100, r), 100);

    // 242-pixel extent, 12-pixel thumb: 230 free pixels.
    EXPECT_EQ(ThumbLeftForValue(2, r, 0, 242, 12), 0);
    EXPECT_EQ(ThumbLeftForValue(255, r, 0, 242, 12), 230);
    EXPECT_EQ(ThumbLeftForValue(-7, r, 0, 242, 12), 230);
    EXPECT_EQ(ThumbLeftForValue(10, r, 0, 242, 12), 230 * 8 / 253);
    EXPECT_EQ(ThumbLeftForValue(10, r, 5, 247, 12), 5 + 230 * 8 / 253);
    EXPECT_EQ(ThumbLeftForValue(7, {7, 7, false}, 3, 100, 10), 3)
        << "an empty range must not divide by zero";
}

TEST(SliderMath, DragKeepsTheThumbInsideAndTruncates) {
    EXPECT_EQ(DraggedThumbLeft(50, 30, 0, 242, 12), 80);
    EXPECT_EQ(DraggedThumbLeft(50, 1000, 0, 242, 12), 230);
    EXPECT_EQ(DraggedThumbLeft(50, -1000, 0, 242, 12), 0);
    EXPECT_EQ(DraggedThumbLeft(0, 5, 0, 8, 12), 0)
        << "a thumb wider than its track stays at the left";

    const SliderRange r{1, 12, true};
    EXPECT_EQ(DragValue(0, r, 0, 242, 12), 1);
    EXPECT_EQ(DragValue(230, r, 0, 242, 12), 12);
    // 1 + 100 * 11 / 230 = 5.78: truncated while dragging, rounded on release.
    EXPECT_EQ(DragValue(100, r, 0, 242, 12), 5);
    EXPECT_EQ(ReleaseValue(100, r, 0, 242, 12), 6);
    EXPECT_EQ(ReleaseValue(100, {1, 12, false}, 0, 242, 12), 5);
    EXPECT_EQ(DragValue(3, r, 0, 12, 12), 1) << "no free room must not divide by zero";
    EXPECT_EQ(ReleaseValue(3, r, 0, 12, 12), 1);

    // Dragging the whole way right stores the maximum.
    EXPECT_EQ(DragValue(DraggedThumbLeft(0, 5000, 0, 254, 9), {2, 255, false}, 0, 254, 9), 255);
}

TEST(SliderMath, ValuesAndPositionsRoundTrip) {
    const SliderRange r{1, 12, true};
    for (int v = 1; v <= 12; ++v) {
        const int left = ThumbLeftForValue(v, r, 0, 242, 12);
        EXPECT_EQ(ReleaseValue(left, r, 0, 242, 12), v) << v;
    }
}

} // namespace
} // namespace gm::skin
