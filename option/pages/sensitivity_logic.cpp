#include "option/pages/sensitivity_logic.h"

#include "option/widgets/stage_values.h"

#include <array>

namespace gm::option {

int32_t SensitivityForPosition(int32_t position) {
    static constexpr std::array<int32_t, 11> kValues = {1, 3, 5, 7, 8, 10, 12, 14, 16, 18, 20};
    if (position < kSensitivityPositionMin || position > kSensitivityPositionMax)
        return 10;
    return kValues[std::size_t(position - kSensitivityPositionMin)];
}

int32_t PositionForSensitivity(int32_t value) {
    // Index = stored value 0-20; 10 and 11 sit in the middle with the unknowns.
    static constexpr std::array<int32_t, 21> kPositions = {6, 1, 2, 2, 3, 3, 4, 4,  5,  5, 6,
                                                           6, 7, 7, 8, 8, 9, 9, 10, 10, 11};
    if (value < 0 || value > 20)
        return 6;
    return kPositions[std::size_t(value)];
}

std::optional<int> MoveSensitivity(ProfileView profile, int sliderId, int32_t position) {
    if (sliderId != kSliderXId && sliderId != kSliderYId)
        return std::nullopt;
    const int32_t value = SensitivityForPosition(position);
    const bool x = sliderId == kSliderXId;
    profile.Set(x ? prof::Sensitivity_X : prof::Sensitivity_Y, value);
    if (profile.Get(prof::XYSynchronous) != 1)
        return std::nullopt;
    profile.Set(x ? prof::Sensitivity_Y : prof::Sensitivity_X, value);
    return x ? kSliderYId : kSliderXId;
}

bool SetXYSynchronous(ProfileView profile, bool on) {
    profile.Set(prof::XYSynchronous, on ? 1 : 0);
    if (!on || profile.Get(prof::Sensitivity_X) == profile.Get(prof::Sensitivity_Y))
        return false;
    profile.Set(prof::Sensitivity_Y, profile.Get(prof::Sensitivity_X));
    return true;
}

StageEdit ApplyStageNotice(ProfileView profile, int controlId, uint32_t wParam) {
    const int stage = controlId - kFirstStageId;
    if (stage < 0 || stage >= kStageCount)
        return StageEdit::Ignored;
    switch (StageNoticeKind(StageNoticeKindOf(wParam))) {
    case StageNoticeKind::Enabled:
        profile.Set(prof::StepFlag(stage), uint8_t(wParam & 0xFF));
        return StageEdit::Stored;
    case StageNoticeKind::Code:
        profile.Set(prof::CpiLevelX(stage), StageNoticeValueOf(wParam));
        return StageEdit::Stored;
    case StageNoticeKind::Select:
        profile.Set(prof::CpiStep, stage);
        return StageEdit::Selected;
    }
    return StageEdit::Ignored;
}

bool StoreIndicatorCell(ProfileView profile, int swatch, int cell) {
    if (swatch < 0 || swatch >= kIndicatorSwatches || cell < 0 || cell > 6)
        return false;
    profile.Set(prof::Indicator(swatch), uint8_t(cell + 1));
    return true;
}

Rgb IndicatorColour(int32_t code) {
    static constexpr std::array<Rgb, 7> kColours = {{{255, 0, 0},
                                                     {0, 255, 0},
                                                     {0, 0, 255},
                                                     {0, 255, 255},
                                                     {255, 0, 255},
                                                     {255, 255, 0},
                                                     {255, 255, 255}}};
    if (code < 1 || code > 7)
        return kUnknownIndicator;
    return kColours[std::size_t(code - 1)];
}

} // namespace gm::option
