#pragma once
// Encoders and decoders between the settings block and the mouse's feature
// reports. Every decoder takes the received length and refuses a report that
// is too short or carries another id; a refused report leaves the block as it
// was, the same as a report that never arrived.

#include "shared/settings_block.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace gm::mon {

inline constexpr uint8_t kSelectId = 4; // set: select an item; get: status
inline constexpr uint8_t kProfileId = 5;
inline constexpr uint8_t kPerformanceId = 6;
inline constexpr uint8_t kButtonTableId = 7;
inline constexpr uint8_t kOtgId = 8;
inline constexpr uint8_t kMacroId = 9;
inline constexpr uint8_t kVersionId = 10;
inline constexpr uint8_t kHostId = 14;

inline constexpr std::size_t kSelectLength = 3;
inline constexpr std::size_t kProfileLength = 3;
inline constexpr std::size_t kPerformanceLength = 37;
inline constexpr std::size_t kButtonTableLength = 50;
inline constexpr std::size_t kOtgLength = 6;
inline constexpr std::size_t kMacroLength = 130;
inline constexpr std::size_t kVersionLength = 8;
inline constexpr std::size_t kHostLength = 3;

// Items of a select report other than a button's macro (0-14).
inline constexpr int kSelectPerformance = 16;
inline constexpr int kSelectButtonTable = 32;

// Status byte of report 4.
inline constexpr uint8_t kStatusDone = 1;
inline constexpr uint8_t kStatusBusy = 3;

// The longest pause in front of one macro event that report 9 can carry:
// a long-pause item of 255 x 200 ms plus the event's own 127 x 5 ms.
inline constexpr unsigned kLongestMacroPauseMs = 255 * 200 + 127 * 5;

using SelectReport = std::array<uint8_t, kSelectLength>;
using ProfileReport = std::array<uint8_t, kProfileLength>;
using PerformanceReport = std::array<uint8_t, kPerformanceLength>;
using ButtonTableReport = std::array<uint8_t, kButtonTableLength>;
using OtgReport = std::array<uint8_t, kOtgLength>;
using MacroReport = std::array<uint8_t, kMacroLength>;
using HostReport = std::array<uint8_t, kHostLength>;
using ButtonEntry = std::array<uint8_t, 3>; // type, parameter 1, parameter 2

// [4, profile, item].
SelectReport EncodeSelect(int profile, int item);

// [5, 3, profile]; the mouse answers with its active profile in byte 2.
ProfileReport EncodeCurrentProfile(int profile);
// The mouse's active profile, when it is one of 0-4.
std::optional<int> DecodeCurrentProfile(const uint8_t* report, std::size_t length);

// Report 6 of profile `profile` (0-4). Bytes 11-15 repeat the X levels.
PerformanceReport EncodePerformance(const ProfileView& profile, int profileIndex);
bool DecodePerformance(const uint8_t* report, std::size_t length, ProfileView profile);

// One button's three bytes in report 7, and their reading back.
ButtonEntry EncodeButtonEntry(const ButtonView& button);
void DecodeButtonEntry(const ButtonEntry& entry, ButtonView button);
// Report 7 of profile `profileIndex`: the entries of its 15 buttons.
ButtonTableReport EncodeButtonTable(const ProfileView& profile, int profileIndex);
bool DecodeButtonTable(const uint8_t* report, std::size_t length, ProfileView profile);

// Report 8: the OTG value of the current profile.
OtgReport EncodeOtg(const ProfileView& current);
bool DecodeOtg(const uint8_t* report, std::size_t length, ProfileView current);

// Report 9 of one button. At most 40 events are encoded (a larger
// EventCount counts as 40); a pause longer than kLongestMacroPauseMs is
// sent as that pause.
MacroReport EncodeMacro(const ButtonView& button, int profileIndex, int buttonIndex);
// Fills `button` as a macro record; a received macro of more than 40 events
// is kept as a macro without events.
bool DecodeMacro(const uint8_t* report, std::size_t length, ButtonView button, int profileIndex,
                 int buttonIndex);

struct VersionInfo {
    int firmware;
    int mouseType;
};
std::optional<VersionInfo> DecodeVersion(const uint8_t* report, std::size_t length);

// [14, 3, attached].
HostReport EncodeHostAttached(bool attached);

} // namespace gm::mon
