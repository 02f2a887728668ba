#include "skin/numeric_filter.h"

namespace gm::skin {
namespace {
bool Allowed(char c) {
    return (c >= '0' && c <= '9') || c == ',' || c == '.';
}
} // namespace

bool NumericKeyAllowed(uint32_t k) {
    if (k >= '0' && k <= '9')
        return true;
    switch (k) {
    case vk::Return:
    case vk::Back:
    case vk::Delete:
    case vk::Left:
    case vk::Right:
    case vk::Home:
    case vk::End:
    case vk::OemComma:
    case vk::OemPeriod:
        return true;
    default:
        return false;
    }
}

std::optional<std::string> FilterNumericText(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text)
        if (Allowed(c))
            kept += c;
    if (kept.size() == text.size())
        return std::nullopt;
    return kept;
}

} // namespace gm::skin
