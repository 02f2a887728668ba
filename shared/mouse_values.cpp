#include "shared/mouse_values.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace gm {

AccelerationRow AccelerationRowFor(int32_t acceleration, int32_t accelerationFlag) {
    if (accelerationFlag == 0)
        return kAccelerationTable[0];
    const int32_t row =
        std::clamp<int32_t>(acceleration, 0, int32_t(kAccelerationTable.size()) - 1);
    return kAccelerationTable[std::size_t(row)];
}

std::optional<int> MatchAcceleration(int speed, int threshold1, int threshold2) {
    std::optional<int> match;
    for (std::size_t i = 0; i < kAccelerationTable.size(); ++i) {
        const AccelerationRow& r = kAccelerationTable[i];
        if (r.speed == speed && r.threshold1 >= threshold1 && r.threshold2 >= threshold2)
            match = int(i);
    }
    return match;
}

std::optional<int> ParseDecimal(const std::string& text) {
    const char* begin = text.c_str();
    while (*begin == ' ')
        ++begin;
    if (*begin == '\0')
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(begin, &end, 10);
    while (*end == ' ')
        ++end;
    if (*end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return int(v);
}

RegistryMouseValues MouseValuesFromProfile(const ProfileView& profile) {
    RegistryMouseValues v;
    const AccelerationRow row =
        AccelerationRowFor(profile.Get(prof::Acceleration), profile.Get(prof::AccelerationFlag));
    v.doubleClickSpeed = std::to_string(profile.Get(prof::DbleClickSpeed));
    v.mouseSensitivity = std::to_string(profile.Get(prof::MouseSpeed));
    v.mouseSpeed = std::to_string(row.speed);
    v.mouseThreshold1 = std::to_string(row.threshold1);
    v.mouseThreshold2 = std::to_string(row.threshold2);
    v.wheelScrollLines = profile.Get(prof::ScrollWheelFlag) == 1
                             ? "-1"
                             : std::to_string(profile.Get(prof::ScrollWheelSpeed));
    return v;
}

void ApplyMouseValuesToProfile(const RegistryMouseValues& values, ProfileView profile) {
    auto number = [](const std::optional<std::string>& s) -> std::optional<int> {
        return s ? ParseDecimal(*s) : std::nullopt;
    };
    if (auto v = number(values.doubleClickSpeed))
        profile.Set(prof::DbleClickSpeed, *v);
    if (auto v = number(values.mouseSensitivity))
        profile.Set(prof::MouseSpeed, *v);

    const auto speed = number(values.mouseSpeed);
    const auto t1 = number(values.mouseThreshold1);
    const auto t2 = number(values.mouseThreshold2);
    if (speed && t1 && t2) {
        if (auto row = MatchAcceleration(*speed, *t1, *t2))
            profile.Set(prof::Acceleration, *row);
    }
    profile.Set(prof::AccelerationFlag, profile.Get(prof::Acceleration) >= 4 ? 1 : 0);

    if (auto lines = number(values.wheelScrollLines)) {
        if (*lines == -1) {
            profile.Set(prof::ScrollWheelSpeed, 0);
            profile.Set(prof::ScrollWheelFlag, 1);
        } else {
            profile.Set(prof::ScrollWheelSpeed, *lines);
            profile.Set(prof::ScrollWheelFlag, 0);
        }
    }
}

} // namespace gm
