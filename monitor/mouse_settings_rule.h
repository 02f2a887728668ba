#pragma once
// The pointer-acceleration rule applied with the Windows mouse settings: when
// the profile does not use acceleration but the registry still holds an
// acceleration row, the row is reset to zero.

#include <array>

namespace gm::mon {

struct PointerAcceleration {
    std::array<int, 3> mouse; // threshold 1, threshold 2, speed (SPI_SETMOUSE order)
    bool resetRegistry;       // write "0" to the three registry values
    bool resetProfile;        // set the profile's Acceleration to 0
};

PointerAcceleration AccelerationToApply(int accelerationFlag, int speed, int threshold1,
                                        int threshold2);

} // namespace gm::mon
