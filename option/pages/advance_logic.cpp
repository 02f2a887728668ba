#include "option/pages/advance_logic.h"

namespace gm::option {

void StorePollingRate(ProfileView profile, int button) {
    if (button >= 0 && button < kPollingButtons)
        profile.Set(prof::PollingRate, button);
}

bool StoreOtgSpeed(ProfileView profile, int sliderId, int32_t value) {
    if (sliderId != kOtgSliderId)
        return false;
    profile.Set(prof::OTGSpeed, value);
    return true;
}

} // namespace gm::option
