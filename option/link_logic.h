#pragma once
// The flag and text rules of the link between the configuration program and
// the monitor, apart from any window.
#include "shared/settings_block.h"
#include <string>

namespace gm::option {

// Button, performance and OTG change flags to 0; the profile flag stays.
void ClearFlags(SettingsBlock& block);
// Every change flag, the profile flag included, to 1.
void MarkAllChanged(SettingsBlock& block);
// Sets the performance and OTG flags of each profile and the profile flag of
// `edited` from its differences to `reference` (overwritten, not OR-ed).
// Button flags are left alone.
void DetectChanges(const SettingsBlock& reference, SettingsBlock& edited);

// The firmware version as shown: 123 -> "1.23". At start-up only 100..500
// are shown; after a read-back every value from 100 up is.
std::string FirmwareTextAtStart(int32_t version);
std::string FirmwareTextAfterReadBack(int32_t version);

// The suite's version, from the build (cmake/version.cmake).
inline constexpr const char* kVersionText = GM_VERSION_TEXT;
// string 1000 + version + "-" + string 1001 + firmware.
std::string VersionLine(const std::string& s1000, const std::string& version,
                        const std::string& s1001, const std::string& firmware);

} // namespace gm::option
