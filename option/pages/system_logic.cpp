#include "option/pages/system_logic.h"

#include <array>

namespace gm::option {

int32_t MouseSpeedForPosition(int32_t position) {
    static constexpr std::array<int32_t, 11> kValues = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
    if (position < 1 || position > 11)
        return 10;
    return kValues[std::size_t(position - 1)];
}

int32_t PositionForMouseSpeed(int32_t value) {
    // Index = stored value 0-20; 9 and 10 sit in the middle with the unknowns.
    static constexpr std::array<int32_t, 21> kPositions = {1, 1, 2, 3, 3, 4, 4,  5,  5,  6, 6,
                                                           7, 7, 8, 8, 9, 9, 10, 10, 11, 11};
    if (value < 0 || value > 20)
        return 6;
    return kPositions[std::size_t(value)];
}

void SetAcceleration(ProfileView profile, bool on) {
    profile.Set(prof::AccelerationFlag, on ? 1 : 0);
    profile.Set(prof::Acceleration, on ? kAccelerationWhenOn : 0);
}

void SetPageScroll(ProfileView profile, bool on) {
    profile.Set(prof::ScrollWheelFlag, on ? 1 : 0);
}

std::optional<int32_t> MoveSystemSlider(ProfileView profile, int sliderId, int32_t position) {
    switch (sliderId) {
    case kDoubleClickSliderId: {
        const int32_t ms = DoubleClickTimeForPosition(position);
        profile.Set(prof::DbleClickSpeed, ms);
        return ms;
    }
    case kPointerSpeedSliderId:
        profile.Set(prof::MouseSpeed, MouseSpeedForPosition(position));
        break;
    case kWheelSpeedSliderId:
        profile.Set(prof::ScrollWheelSpeed, position);
        break;
    case kTiltSpeedSliderId:
        profile.Set(prof::TiltSpeed, position);
        break;
    default:
        break;
    }
    return std::nullopt;
}

SystemPositions SystemPositionsOf(const ProfileView& profile) {
    return {PositionForDoubleClickTime(profile.Get(prof::DbleClickSpeed)),
            PositionForMouseSpeed(profile.Get(prof::MouseSpeed)),
            profile.Get(prof::ScrollWheelSpeed), profile.Get(prof::TiltSpeed)};
}

} // namespace gm::option
