#include "skin/button_state.h"

#include <gtest/gtest.h>

namespace gm::skin {
namespace {

using I = ButtonImage;

TEST(ButtonState, PushButtonPrefersLatchedSelectedHoverThenDisabled) {
    EXPECT_EQ(ChooseButtonImage({}), I::Rest);
    EXPECT_EQ(ChooseButtonImage({.hover = true}), I::Hover);
    EXPECT_EQ(ChooseButtonImage({.hover = true, .selected = true}), I::Pressed);
    EXPECT_EQ(ChooseButtonImage({.latched = true}), I::Pressed);
    EXPECT_EQ(ChooseButtonImage({.disabled = true}), I::Disabled);
    // Disabled and latched: the disabled image only when neither pressed nor hovered.
    EXPECT_EQ(ChooseButtonImage({.latched = true, .disabled = true}), I::Disabled);
    EXPECT_EQ(ChooseButtonImage({.latched = true, .hover = true, .disabled = true}), I::Hover);
    EXPECT_EQ(ChooseButtonImage({.latched = true, .disabled = true, .selected = true}), I::Pressed);
}

TEST(ButtonState, ToggleShowsLatchedAndIgnoresThePress) {
    EXPECT_EQ(ChooseButtonImage({.toggle = true, .selected = true}), I::Rest);
    EXPECT_EQ(ChooseButtonImage({.toggle = true, .hover = true, .selected = true}), I::Hover);
    EXPECT_EQ(ChooseButtonImage({.toggle = true, .latched = true, .hover = true}), I::Pressed);
    EXPECT_EQ(ChooseButtonImage({.toggle = true, .latched = true, .disabled = true}), I::Disabled);
}

} // namespace
} // namespace gm::skin
