#pragma once
// The Windows mouse values of a profile and their per-user registry form:
// pointer speed, acceleration (as a row of the acceleration table), double
// click time and wheel lines. Pure mapping; the registry access is apart.

#include "shared/settings_block.h"

#include <array>
#include <optional>
#include <string>

namespace gm {

struct AccelerationRow {
    int speed;
    int threshold1;
    int threshold2;
};

inline constexpr std::array<AccelerationRow, 20> kAccelerationTable = {{
    {0, 0, 0},  {1, 13, 0}, {1, 12, 0}, {1, 11, 0}, {1, 10, 0}, {1, 9, 0},  {1, 8, 0},
    {1, 7, 0},  {1, 6, 0},  {1, 5, 0},  {1, 4, 0},  {2, 4, 13}, {2, 4, 12}, {2, 4, 11},
    {2, 4, 10}, {2, 4, 9},  {2, 4, 8},  {2, 4, 7},  {2, 4, 6},  {2, 4, 5},
}};

// Row written for a profile: `acceleration` clamped to 0-19 when the flag is
// set, row 0 (no acceleration) otherwise.
AccelerationRow AccelerationRowFor(int32_t acceleration, int32_t accelerationFlag);

// The last row whose speed equals `speed` and whose thresholds are each at
// least the given ones; none when no row matches.
std::optional<int> MatchAcceleration(int speed, int threshold1, int threshold2);

// The registry values as text, the way they are stored (REG_SZ, decimal).
// A value that is absent on read is nullopt and leaves its field alone.
struct RegistryMouseValues {
    std::optional<std::string> doubleClickSpeed; // Control Panel\Mouse DoubleClickSpeed
    std::optional<std::string> mouseSensitivity; // Control Panel\Mouse MouseSensitivity
    std::optional<std::string> mouseSpeed;       // Control Panel\Mouse MouseSpeed
    std::optional<std::string> mouseThreshold1;  // Control Panel\Mouse MouseThreshold1
    std::optional<std::string> mouseThreshold2;  // Control Panel\Mouse MouseThreshold2
    std::optional<std::string> wheelScrollLines; // Control Panel\Desktop WheelScrollLines
};

RegistryMouseValues MouseValuesFromProfile(const ProfileView& profile);
void ApplyMouseValuesToProfile(const RegistryMouseValues& values, ProfileView profile);

// Decimal text as the platform stores it; nullopt for anything else.
std::optional<int> ParseDecimal(const std::string& text);

} // namespace gm
