#pragma once
// The advance page's rules apart from its window: the polling-rate group
// and the OTG slider.
#include "shared/settings_block.h"
#include "skin/slider_math.h"

namespace gm::option {

inline constexpr int kPollingButtons = 4;
inline constexpr int kOtgSliderId = 201;
// The OTG value is stored as the slider shows it, every integer of 2-255.
inline constexpr skin::SliderRange kOtgRange{2, 255, false};

// A polling button 0-3 was clicked: stores its code.
void StorePollingRate(ProfileView profile, int button);
// The slider reported `value`; other sliders store nothing. True when stored.
bool StoreOtgSpeed(ProfileView profile, int sliderId, int32_t value);

} // namespace gm::option
