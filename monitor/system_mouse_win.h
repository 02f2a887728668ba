#pragma once
// Applies a profile's Windows mouse values to the running system: double
// click time, button swap, pointer speed and acceleration, wheel lines.

#include "shared/settings_block.h"

#include <windows.h>

namespace gm::mon {

// `mouseKey` is HKCU\Control Panel\Mouse, opened with full access. The
// profile's Acceleration may be reset to 0 (see AccelerationToApply).
void ApplyWindowsMouseSettings(ProfileView profile, HWND self, HKEY mouseKey);

} // namespace gm::mon
