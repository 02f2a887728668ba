#include "shared/profile_format.h"

#include <algorithm>
#include <cstdio>

namespace gm {
namespace {

std::vector<ProfileKey> BuildKeys() {
    std::vector<ProfileKey> keys;
    auto text = [&](const char* n, TextField f) {
        keys.push_back({n, KeyKind::Text, f.offset, f.width});
    };
    auto i32 = [&](const std::string& n, I32Field f) {
        keys.push_back({n, KeyKind::Int, f.offset, 4});
    };
    auto u8 = [&](const std::string& n, U8Field f) {
        keys.push_back({n, KeyKind::Byte, f.offset, 1});
    };

    text("ProFileName", prof::ProFileName);
    text("GameFile", prof::GameFile);
    i32("DbleClickSpeed", prof::DbleClickSpeed);
    i32("ScrollWheelSpeed", prof::ScrollWheelSpeed);
    i32("ScrollWheelFlag", prof::ScrollWheelFlag);
    i32("MouseSpeed", prof::MouseSpeed);
    i32("Acceleration", prof::Acceleration);
    i32("AccelerationFlag", prof::AccelerationFlag);
    i32("TiltSpeed", prof::TiltSpeed);
    i32("MediaOption", prof::MediaOption);
    i32("HDDKeyboard", prof::HDDKeyboard);
    i32("Orientation", prof::Orientation);
    i32("XYSynchronous", prof::XYSynchronous);
    i32("Sensitivity_X", prof::Sensitivity_X);
    i32("Sensitivity_Y", prof::Sensitivity_Y);
    i32("Cpi_X", prof::Cpi_X);
    i32("Cpi_Y", prof::Cpi_Y);
    i32("XYCpiFlag", prof::XYCpiFlag);
    for (int s = 0; s < kStoredStages; ++s)
        i32("CpiLevel_X" + std::to_string(s), prof::CpiLevelX(s));
    for (int s = 0; s < kStoredStages; ++s)
        i32("CpiLevel_Y" + std::to_string(s), prof::CpiLevelY(s));
    i32("CpiStep", prof::CpiStep);
    i32("PollingRate", prof::PollingRate);
    i32("LiftSwitch", prof::LiftSwitch);
    i32("LiftLevel", prof::LiftLevel);
    i32("LightSwitch", prof::LightSwitch);
    i32("LightType", prof::LightType);
    i32("LightIntensity", prof::LightIntensity);
    i32("BreathSpeed", prof::BreathSpeed);
    i32("ColorFlag", prof::ColorFlag);
    i32("ColorOptions", prof::ColorOptions);
    i32("ColorChangeMode", prof::ColorChangeMode);
    i32("BTOption", prof::BTOption);
    i32("OTGSpeed", prof::OTGSpeed);
    for (int s = 0; s < kStoredStages; ++s)
        u8("dpiStepFlag" + std::to_string(s), prof::StepFlag(s));
    for (int s = 0; s < kStoredStages; ++s)
        u8("dpibyDpiIndicator" + std::to_string(s), prof::Indicator(s));
    u8("DpiIndicationType", prof::DpiIndicationType);
    i32("CpiXDefault", prof::CpiXDefault);
    i32("CpiYDefault", prof::CpiYDefault);
    u8("BtnConfiguration", prof::BtnConfiguration);
    u8("Color1Type", prof::Color1Type);
    u8("Color2Type", prof::Color2Type);
    u8("LightEffectSwitch1", prof::LightEffectSwitch1);
    u8("LightEffectSwitch2", prof::LightEffectSwitch2);
    u8("LightEffectType1", prof::LightEffectType1);
    u8("LightEffectType2", prof::LightEffectType2);
    u8("ColorOptions1", prof::ColorOptions1);
    u8("ColorOptions2", prof::ColorOptions2);
    u8("ColorChangeModeOptions1", prof::ColorChangeModeOptions1);
    u8("ColorChangeModeOptions2", prof::ColorChangeModeOptions2);
    u8("FireOrOnToGoStatusIndicatorSetting", prof::FireOrOnToGoStatusIndicatorSetting);
    u8("ProfileSwitchIndictor", prof::ProfileSwitchIndictor);
    for (int b = 0; b < kButtonCount; ++b)
        keys.push_back({"MacroKeyInfo" + std::to_string(b), KeyKind::Button,
                        prof::MacroKeyInfo + kButtonSize * b, kButtonSize});
    return keys;
}

// A text as the field keeps it and as the file gives it back: up to a NUL,
// cut to the field, without the spaces a file line loses at its end (a
// value cut there would otherwise read back shorter after a save).
std::string FileText(std::string text, std::size_t width) {
    text.resize(std::min({text.find('\0'), text.size(), width - 1}));
    text.erase(text.find_last_not_of(" \t\r\n\v\f\x1a") + 1);
    return text;
}

} // namespace

const std::vector<ProfileKey>& ProfileKeys() {
    static const std::vector<ProfileKey> keys = BuildKeys();
    return keys;
}

void LoadProfile(IniStore& file, ProfileView profile) {
    for (const ProfileKey& k : ProfileKeys()) {
        const char* key = k.name.c_str();
        switch (k.kind) {
        case KeyKind::Text:
            profile.Set(TextField{k.offset, k.width},
                        FileText(file.ReadText(kSettingSection, key), k.width));
            break;
        // A number the file lacks keeps the record's value (the callers
        // load onto defaults), never -1 or 255 sent on to the mouse.
        case KeyKind::Int: {
            const I32Field f{k.offset};
            profile.Set(f, file.ReadInt(kSettingSection, key, profile.Get(f)));
            break;
        }
        case KeyKind::Byte: {
            const U8Field f{k.offset};
            profile.Set(f, uint8_t(file.ReadInt(kSettingSection, key, profile.Get(f)) & 0xFF));
            break;
        }
        case KeyKind::Button: {
            ButtonView button(profile.data() + k.offset);
            const int index = int((k.offset - prof::MacroKeyInfo) / kButtonSize);
            if (!file.ReadStruct(kSettingSection, key, button.data(), kButtonSize))
                button.MakeFresh(index);
            button.ClampEventCount();
            break;
        }
        }
    }
}

bool SaveProfile(IniStore& file, const ProfileView& profile) {
    bool ok = true;
    for (const ProfileKey& k : ProfileKeys()) {
        const char* key = k.name.c_str();
        switch (k.kind) {
        case KeyKind::Text:
            ok &= file.WriteText(kSettingSection, key, profile.Get(TextField{k.offset, k.width}));
            break;
        case KeyKind::Int:
            ok &= file.WriteInt(kSettingSection, key, profile.Get(I32Field{k.offset}));
            break;
        case KeyKind::Byte:
            ok &= file.WriteInt(kSettingSection, key, profile.Get(U8Field{k.offset}));
            break;
        case KeyKind::Button:
            ok &= file.WriteStruct(kSettingSection, key, profile.data() + k.offset, kButtonSize);
            break;
        }
    }
    return ok;
}

std::string ProfileFileName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "config\\Default%d.gmp", index);
    return name;
}

} // namespace gm
