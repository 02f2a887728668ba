#include "monitor/mouse_settings_rule.h"

namespace gm::mon {

PointerAcceleration AccelerationToApply(int accelerationFlag, int speed, int threshold1,
                                        int threshold2) {
    if (accelerationFlag != 1 && (speed != 0 || threshold1 != 0 || threshold2 != 0))
        return {{0, 0, 0}, true, true};
    return {{threshold1, threshold2, speed}, false, false};
}

} // namespace gm::mon
