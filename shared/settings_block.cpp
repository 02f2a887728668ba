#include "shared/settings_block.h"

#include <algorithm>
#include <cstring>

namespace gm {

int32_t RecordView::Get(I32Field f) const {
    int32_t v;
    std::memcpy(&v, data_ + f.offset, sizeof v);
    return v;
}

void RecordView::Set(I32Field f, int32_t v) {
    std::memcpy(data_ + f.offset, &v, sizeof v);
}

uint16_t RecordView::Get(U16Field f) const {
    uint16_t v;
    std::memcpy(&v, data_ + f.offset, sizeof v);
    return v;
}

void RecordView::Set(U16Field f, uint16_t v) {
    std::memcpy(data_ + f.offset, &v, sizeof v);
}

std::string RecordView::Get(TextField f) const {
    const char* p = reinterpret_cast<const char*>(data_ + f.offset);
    return std::string(p, strnlen(p, f.width));
}

void RecordView::Set(TextField f, std::string_view text) {
    const std::size_t n = std::min(text.substr(0, text.find('\0')).size(), f.width - 1);
    std::memcpy(data_ + f.offset, text.data(), n);
    std::memset(data_ + f.offset + n, 0, f.width - n);
}

MacroEvent ButtonView::Event(int slot) const {
    const uint8_t* p = data_ + btn::Events + btn::EventSize * slot;
    return {p[0], p[1], uint16_t(p[2] | (p[3] << 8))};
}

void ButtonView::SetEvent(int slot, MacroEvent e) {
    uint8_t* p = data_ + btn::Events + btn::EventSize * slot;
    p[0] = e.keyCode;
    p[1] = e.direction;
    p[2] = uint8_t(e.delay & 0xFF);
    p[3] = uint8_t(e.delay >> 8);
}

void ButtonView::MakeFresh(int buttonIndex) {
    std::memset(data_, 0, kButtonSize);
    Set(btn::ButtonIndex, uint8_t(buttonIndex));
    Set(btn::FunctionType, kDefaultFunctionType[buttonIndex]);
}

void ButtonView::ClampEventCount() {
    if (Get(btn::EventCount) > kMaxEvents)
        Set(btn::EventCount, uint16_t(kMaxEvents));
}

void ProfileView::MakeDefault(int index, LevelSet levels) {
    static constexpr int32_t kMonitorLevels[kStageCount] = {2, 4, 6, 8, 12, 18};
    static constexpr int32_t kOptionLevels[kStageCount] = {2, 4, 8, 10, 12, 18};
    static constexpr uint8_t kStepFlags[kStageCount] = {1, 1, 1, 1, 0, 0};
    static constexpr uint8_t kIndicators[kStageCount] = {15, 16, 17, 21, 20, 20};
    static constexpr uint8_t kProfileIndicator[kProfileCount] = {1, 3, 2, 5, 4};

    std::memset(data_, 0, kProfileSize);
    Set(prof::ProFileName, "Default" + std::to_string(index + 1));
    Set(prof::DbleClickSpeed, 500);
    Set(prof::ScrollWheelSpeed, 3);
    Set(prof::MouseSpeed, 10);
    Set(prof::Acceleration, 10);
    Set(prof::TiltSpeed, 3);
    Set(prof::HDDKeyboard, 1);
    Set(prof::XYSynchronous, 1);
    Set(prof::Sensitivity_X, 10);
    Set(prof::Sensitivity_Y, 10);
    Set(prof::Cpi_X, 4);
    Set(prof::Cpi_Y, 4);
    Set(prof::XYCpiFlag, 1);
    const int32_t* lv = levels == LevelSet::Monitor ? kMonitorLevels : kOptionLevels;
    for (int s = 0; s < kStageCount; ++s) {
        Set(prof::CpiLevelX(s), lv[s]);
        Set(prof::CpiLevelY(s), lv[s]);
        Set(prof::StepFlag(s), kStepFlags[s]);
        Set(prof::Indicator(s), kIndicators[s]);
    }
    Set(prof::CpiStep, 1);
    Set(prof::PollingRate, 2);
    Set(prof::LightIntensity, 2);
    Set(prof::BreathSpeed, 1);
    Set(prof::OTGSpeed, 10);
    Set(prof::DpiIndicationType, 1);
    Set(prof::CpiXDefault, 4);
    Set(prof::CpiYDefault, 4);
    Set(prof::BtnConfiguration, 2);
    Set(prof::Color1Type, 1);
    Set(prof::Color2Type, 1);
    Set(prof::LightEffectSwitch1, 1);
    Set(prof::LightEffectType1, 1);
    Set(prof::LightEffectType2, 1);
    Set(prof::FireOrOnToGoStatusIndicatorSetting, 1);
    Set(prof::ProfileSwitchIndictor, kProfileIndicator[index]);
    for (int b = 0; b < kButtonCount; ++b)
        Button(b).MakeFresh(b);
}

void SettingsBlock::Reset() {
    SetCurrentProfile(-1);
    SetMouseType(0);
    std::memset(bytes_.data() + blk::Profiles, 0, kProfileCount * kProfileSize);
    SetAllFlags(0);
}

void SettingsBlock::SetAllFlags(int32_t value) {
    for (int i = 0; i < blk::FlagWords; ++i)
        View().Set(I32Field{blk::ButtonChangeFlags + 4 * std::size_t(i)}, value);
}

} // namespace gm
