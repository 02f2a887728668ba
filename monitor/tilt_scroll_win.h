#pragma once
// One tilt step: find the horizontal scroll target under the cursor and
// scroll it the way its program understands.

namespace gm::mon {

// direction +1 (event value 255) or -1 (value 1); speed = the profile's TiltSpeed.
void TiltStep(int direction, int speed);

} // namespace gm::mon
