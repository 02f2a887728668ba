#pragma once
// The pure half of the resolution stage control: the CPI text of a code and
// the packing of the notice the control posts to its owner.
#include <cstdint>
#include <string>

namespace gm::option {

inline constexpr int kCpiCodeMin = 1;
inline constexpr int kCpiCodeMax = 12;
inline constexpr int kCpiSliderId = 300;

// "250" ... "4000" for codes 1-12; any other code reads "1200".
std::string CpiText(int32_t code);

// What a stage notice reports (the high word of its wParam).
enum class StageNoticeKind : uint16_t { Enabled = 1, Code = 2, Select = 3 };

// wParam of the notice: kind x 65536 + value modulo 65536.
uint32_t StageNoticeParam(StageNoticeKind kind, int32_t value);
inline uint16_t StageNoticeKindOf(uint32_t wParam) {
    return uint16_t(wParam >> 16);
}
inline uint16_t StageNoticeValueOf(uint32_t wParam) {
    return uint16_t(wParam & 0xFFFF);
}

} // namespace gm::option
