#pragma once
// The profile file format: which keys a profile file holds, in which order,
// and how each maps onto the profile record.

#include "shared/ini_store.h"
#include "shared/settings_block.h"

#include <string>
#include <vector>

namespace gm {

inline constexpr const char* kSettingSection = "Setting";

enum class KeyKind { Text, Int, Byte, Button };

struct ProfileKey {
    std::string name;
    KeyKind kind;
    std::size_t offset; // in the profile record
    std::size_t width;  // text width with NUL, or record size
};

// Every key of section "Setting" of a profile file, in file order.
const std::vector<ProfileKey>& ProfileKeys();

// A missing integer or byte key keeps the record's value (the callers load
// onto defaults or onto the profile being replaced), missing text reads as
// ""; nothing is range-checked. A button record that is missing or damaged
// becomes that button's fresh record, so a bad file never takes away the
// left click. Event counts are clamped to 40.
void LoadProfile(IniStore& file, ProfileView profile);
// Writes every key in file order; false when any write failed.
bool SaveProfile(IniStore& file, const ProfileView& profile);

// The profile file of profile `index`, relative to the install folder.
std::string ProfileFileName(int index);

} // namespace gm
