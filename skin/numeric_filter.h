#pragma once
// What a numeric edit box lets through: digits and number punctuation.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gm::skin {

// Virtual-key codes the numeric filter needs (values of the platform's VK_*).
namespace vk {
inline constexpr uint32_t Back = 0x08, Return = 0x0D, End = 0x23, Home = 0x24, Left = 0x25,
                          Right = 0x27, Delete = 0x2E, OemComma = 0xBC, OemPeriod = 0xBE;
}

// Key-down filter: the keypad's digits are other keys and are swallowed.
bool NumericKeyAllowed(uint32_t virtualKey);

// The text kept from `text`: "0123456789,." in their order. Empty optional
// when nothing has to go, so an unchanged text is never set back.
std::optional<std::string> FilterNumericText(std::string_view text);

} // namespace gm::skin
