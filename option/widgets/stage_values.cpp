#include "option/widgets/stage_values.h"

#include <array>

namespace gm::option {

std::string CpiText(int32_t code) {
    static constexpr std::array<const char*, kCpiCodeMax> kTexts = {"250",  "500",  "750",  "1000",
                                                                    "1250", "1500", "1750", "2000",
                                                                    "2500", "3000", "3500", "4000"};
    if (code < kCpiCodeMin || code > kCpiCodeMax)
        return "1200";
    return kTexts[std::size_t(code - kCpiCodeMin)];
}

uint32_t StageNoticeParam(StageNoticeKind kind, int32_t value) {
    return (uint32_t(kind) << 16) + (uint32_t(value) & 0xFFFFu);
}

} // namespace gm::option
