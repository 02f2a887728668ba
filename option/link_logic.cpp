#include "option/link_logic.h"

#include <cstring>

namespace gm::option {
namespace {

// The profile fields whose change makes the monitor send the profile's
// performance record again.
bool PerformanceDiffers(const ProfileView& a, const ProfileView& b) {
    using namespace prof;
    for (I32Field f :
         {HDDKeyboard, XYSynchronous, Sensitivity_X, Sensitivity_Y, XYCpiFlag, CpiStep, PollingRate,
          LiftSwitch, LiftLevel, ColorFlag, LightIntensity, BreathSpeed, ColorChangeMode, BTOption})
        if (a.Get(f) != b.Get(f))
            return true;
    for (U8Field f : {LightEffectSwitch1, LightEffectSwitch2, LightEffectType1, LightEffectType2,
                      ColorOptions1, ColorOptions2})
        if (a.Get(f) != b.Get(f))
            return true;
    for (int s = 0; s < kStageCount; ++s)
        if (a.Get(CpiLevelX(s)) != b.Get(CpiLevelX(s)) ||
            a.Get(CpiLevelY(s)) != b.Get(CpiLevelY(s)) ||
            a.Get(StepFlag(s)) != b.Get(StepFlag(s)) || a.Get(Indicator(s)) != b.Get(Indicator(s)))
            return true;
    return false;
}

void SetAllFlags(SettingsBlock& block, int32_t value) {
    for (int p = 0; p < kProfileCount; ++p) {
        for (int b = 0; b < kButtonCount; ++b)
            block.SetButtonChangeFlag(p, b, value);
        block.SetPerformanceChangeFlag(p, value);
        block.SetOTGChangeFlag(p, value);
    }
}

std::string WithPoint(int32_t version) {
    std::string digits = std::to_string(version);
    return digits.substr(0, 1) + "." + digits.substr(1);
}

} // namespace

void ClearFlags(SettingsBlock& block) {
    SetAllFlags(block, 0);
}

void MarkAllChanged(SettingsBlock& block) {
    SetAllFlags(block, 1);
    block.SetCurrentProfileChangeFlag(1);
}

void DetectChanges(const SettingsBlock& reference, SettingsBlock& edited) {
    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileView a = reference.Profile(p), b = edited.Profile(p);
        edited.SetPerformanceChangeFlag(p, PerformanceDiffers(a, b) ? 1 : 0);
        edited.SetOTGChangeFlag(p, a.Get(prof::OTGSpeed) != b.Get(prof::OTGSpeed) ? 1 : 0);
    }
    edited.SetCurrentProfileChangeFlag(reference.CurrentProfile() != edited.CurrentProfile() ? 1
                                                                                             : 0);
}

std::string FirmwareTextAtStart(int32_t version) {
    return (version >= 100 && version <= 500) ? WithPoint(version) : "N/A";
}

std::string FirmwareTextAfterReadBack(int32_t version) {
    return version >= 100 ? WithPoint(version) : "N/A";
}

std::string VersionLine(const std::string& s1000, const std::string& version,
                        const std::string& s1001, const std::string& firmware) {
    return s1000 + version + "-" + s1001 + firmware;
}

} // namespace gm::option
