#pragma once
// The system page's rules apart from its window: how slider positions map
// to the Windows mouse values of a profile, and the two toggles.
#include "shared/settings_block.h"
#include "skin/slider_math.h"
#include <cstdint>
#include <optional>

namespace gm::option {

inline constexpr int kDoubleClickSliderId = 201;
inline constexpr int kPointerSpeedSliderId = 202;
inline constexpr int kWheelSpeedSliderId = 203;
inline constexpr int kTiltSpeedSliderId = 204;

inline constexpr skin::SliderRange kDoubleClickRange{0, 700, false};
inline constexpr skin::SliderRange kPointerSpeedRange{1, 11, true};
inline constexpr skin::SliderRange kWheelSpeedRange{1, 10, true};
inline constexpr skin::SliderRange kTiltSpeedRange{1, 10, true};

// The slider runs from slow (900 ms) on the left to fast (200 ms) on the right.
inline constexpr int32_t kDoubleClickBase = 900;
inline int32_t DoubleClickTimeForPosition(int32_t position) {
    return kDoubleClickBase - position;
}
inline int32_t PositionForDoubleClickTime(int32_t ms) {
    return kDoubleClickBase - ms;
}

// Position 1-11 to `MouseSpeed`; any other position stores 10.
int32_t MouseSpeedForPosition(int32_t position);
// `MouseSpeed` to the position shown; unknown values show 6.
int32_t PositionForMouseSpeed(int32_t value);

// Acceleration on stores flag 1 and table row 8, off stores 0 and 0.
inline constexpr int32_t kAccelerationWhenOn = 8;
void SetAcceleration(ProfileView profile, bool on);
void SetPageScroll(ProfileView profile, bool on);

// A system slider reported `position`: stores its field. For the double
// click slider returns the time Windows must take at once.
std::optional<int32_t> MoveSystemSlider(ProfileView profile, int sliderId, int32_t position);

// Positions shown for a profile.
struct SystemPositions {
    int32_t doubleClick, pointerSpeed, wheelSpeed, tiltSpeed;
};
SystemPositions SystemPositionsOf(const ProfileView& profile);

} // namespace gm::option
