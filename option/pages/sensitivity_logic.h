#pragma once
// The sensitivity page's rules apart from its window: slider positions and
// stored sensitivities, the X-Y coupling, stage notices and indicator colours.
#include "shared/settings_block.h"
#include <cstdint>
#include <optional>

namespace gm::option {

inline constexpr int kSliderXId = 201;
inline constexpr int kSliderYId = 202;
inline constexpr int kSensitivityPositionMin = 1;
inline constexpr int kSensitivityPositionMax = 11;
inline constexpr int kFirstStageId = 500; // stages 0-5 are 500-505
inline constexpr int kIndicatorSwatches = 4;

// Position 1-11 to the stored sensitivity; any other position stores 10.
int32_t SensitivityForPosition(int32_t position);
// Stored sensitivity to the position shown; unknown values show 6.
int32_t PositionForSensitivity(int32_t value);

// A sensitivity slider reported `position`. Stores its axis and, while X and
// Y are coupled, the other axis too. Returns the identifier of the other
// slider when it must move to the same position.
std::optional<int> MoveSensitivity(ProfileView profile, int sliderId, int32_t position);

// The link button's new state. Switching the link on copies X into Y when
// they differ; true when the sliders must be shown again.
bool SetXYSynchronous(ProfileView profile, bool on);

// A stage control notice (wParam, control identifier) applied to the profile.
enum class StageEdit { Ignored, Stored, Selected };
StageEdit ApplyStageNotice(ProfileView profile, int controlId, uint32_t wParam);

// Colour chooser cell 0-6 for swatch 0-3: stores code cell + 1. Anything
// else stores nothing; false then.
bool StoreIndicatorCell(ProfileView profile, int swatch, int cell);

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};
// The colour of an indicator code 1-7; codes outside show neutral grey.
Rgb IndicatorColour(int32_t code);
inline constexpr Rgb kUnknownIndicator{128, 128, 128};

} // namespace gm::option
