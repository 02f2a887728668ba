#include "skin/control_record.h"

#include <algorithm>
#include <limits>

namespace gm::skin {
namespace {

constexpr std::string_view kSpace = " \t\r\n\v\f";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(kSpace);
    return s.substr(first, last - first + 1);
}

int32_t Saturate(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return int32_t(v);
}

// Reads one decimal integer the way "%d" does (leading blanks, optional sign);
// false when there is none. Huge numbers saturate instead of wrapping.
bool ReadNumber(std::string_view& s, int64_t& out) {
    std::size_t i = 0;
    while (i < s.size() && kSpace.find(s[i]) != std::string_view::npos)
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    const std::size_t digits = i;
    int64_t value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (value < (int64_t(1) << 40))
            value = value * 10 + (s[i] - '0');
        ++i;
    }
    if (i == digits)
        return false;
    out = negative ? -value : value;
    s.remove_prefix(i);
    return true;
}

} // namespace

ControlRecord ParseControlRecord(std::string_view value) {
    ControlRecord r;
    const auto firstComma = value.find(',');
    r.name = std::string(
        value.substr(0, std::min(firstComma, value.size())).substr(0, ControlRecord::kNameMax));
    if (firstComma == std::string_view::npos)
        return r;

    // x, y, width, height: reading stops at the first field that is not a
    // number, and the rest stay 0.
    int64_t n[4] = {0, 0, 0, 0};
    std::string_view rest = value.substr(firstComma + 1);
    for (int i = 0; i < 4; ++i) {
        if (!ReadNumber(rest, n[i]))
            break;
        if (i < 3) {
            if (rest.empty() || rest.front() != ',')
                break;
            rest.remove_prefix(1);
        }
    }
    r.left = Saturate(n[0]);
    r.top = Saturate(n[1]);
    r.right = Saturate(n[0] + n[2]);
    r.bottom = Saturate(n[1] + n[3]);

    // The text is the sixth field: with fewer than five commas the last comma
    // precedes a number, not a text.
    std::size_t commas = 0;
    for (char c : value)
        commas += c == ',';
    if (commas >= 5) {
        const auto lastComma = value.rfind(',');
        r.text = std::string(Trim(value.substr(lastComma + 1)).substr(0, ControlRecord::kTextMax));
    }
    return r;
}

} // namespace gm::skin
