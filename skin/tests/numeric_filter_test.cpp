#include "skin/numeric_filter.h"

#include <gtest/gtest.h>

namespace gm::skin {
namespace {

TEST(NumericFilter, PastedTextKeepsDigitsAndNumberPunctuation) {
    EXPECT_EQ(FilterNumericText("12a,3.4b"), "12,3.4");
    EXPECT_EQ(FilterNumericText(" -5 "), "5");
    EXPECT_EQ(FilterNumericText("abc"), "");
    EXPECT_EQ(FilterNumericText("12,3.4"), std::nullopt) << "a clean text is not set back";
    EXPECT_EQ(FilterNumericText(""), std::nullopt);
}

TEST(NumericFilter, KeysPassOnlyForDigitsEditingAndPunctuation) {
    for (uint32_t k = '0'; k <= '9'; ++k)
        EXPECT_TRUE(NumericKeyAllowed(k));
    for (uint32_t k : {vk::Return, vk::Back, vk::Delete, vk::Left, vk::Right, vk::Home, vk::End,
                       vk::OemComma, vk::OemPeriod})
        EXPECT_TRUE(NumericKeyAllowed(k)) << k;
    EXPECT_FALSE(NumericKeyAllowed(0x65)) << "numeric keypad 5";
    EXPECT_FALSE(NumericKeyAllowed(0x09)) << "Tab";
    EXPECT_FALSE(NumericKeyAllowed(0x26)) << "Up";
    EXPECT_FALSE(NumericKeyAllowed(0x28)) << "Down";
    EXPECT_FALSE(NumericKeyAllowed('A'));
    EXPECT_FALSE(NumericKeyAllowed(0xBD)) << "minus";
}

} // namespace
} // namespace gm::skin
