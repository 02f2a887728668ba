#include "skin/menu_metrics.h"

#include <gtest/gtest.h>

namespace gm::skin {
namespace {

TEST(MenuMetrics, SetWidthAfterAppendingWinsAndBeforeItGrows) {
    MenuMetrics after;
    for (int i = 0; i < 3; ++i)
        after.Append(30);
    after.SetWidth(156);
    EXPECT_EQ(after.Width(), 156);

    MenuMetrics before;
    before.SetWidth(156);
    for (int i = 0; i < 3; ++i)
        before.Append(30);
    EXPECT_EQ(before.Width(), 240);

    MenuMetrics shorter;
    shorter.SetWidth(156);
    shorter.Append(5);
    EXPECT_EQ(shorter.Width(), 156) << "short items never narrow the menu";

    MenuMetrics spaced;
    spaced.spacing1 = 4;
    spaced.spacing2 = 6;
    spaced.Append(10);
    EXPECT_EQ(spaced.Width(), 90);
}

TEST(MenuMetrics, HeightsAndColours) {
    EXPECT_EQ(MenuMetrics::ItemHeight(false), 17);
    EXPECT_EQ(MenuMetrics::ItemHeight(true), 5);
    EXPECT_EQ(MenuTextColour(false, false), 0xE0E0E0u);
    EXPECT_EQ(MenuTextColour(true, true), 0xFFBF44u);
}

} // namespace
} // namespace gm::skin
