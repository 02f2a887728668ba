#include "monitor/system_mouse_win.h"

#include "monitor/mouse_settings_rule.h"
#include "shared/mouse_values.h"

#include <string>

namespace gm::mon {
namespace {

int RegistryInt(HKEY key, const char* name) {
    char text[32] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    if (!key || ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text),
                                   &size) != ERROR_SUCCESS)
        return 0;
    return ParseDecimal(text).value_or(0);
}

void SetRegistryText(HKEY key, const char* name, const char* text) {
    if (key)
        ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         DWORD(strlen(text) + 1));
}

} // namespace

void ApplyWindowsMouseSettings(ProfileView profile, HWND self, HKEY mouseKey) {
    ::SetDoubleClickTime(UINT(profile.Get(prof::DbleClickSpeed)));

    const BOOL swap = profile.Get(prof::Orientation) != 0;
    ::SystemParametersInfoA(SPI_SETMOUSEBUTTONSWAP, 0, nullptr, SPIF_SENDCHANGE);
    ::SwapMouseButton(swap);
    ::SendMessageA(self, WM_WININICHANGE, 33, 0);

    const int speed = RegistryInt(mouseKey, "MouseSpeed");
    const int threshold2 = RegistryInt(mouseKey, "MouseThreshold2");
    const int threshold1 = RegistryInt(mouseKey, "MouseThreshold1");
    PointerAcceleration a =
        AccelerationToApply(profile.Get(prof::AccelerationFlag), speed, threshold1, threshold2);
    if (a.resetProfile)
        profile.Set(prof::Acceleration, 0);
    if (a.resetRegistry) {
        SetRegistryText(mouseKey, "MouseSpeed", "0");
        SetRegistryText(mouseKey, "MouseThreshold2", "0");
        SetRegistryText(mouseKey, "MouseThreshold1", "0");
    }
    ::SystemParametersInfoA(SPI_SETMOUSE, 0, a.mouse.data(), SPIF_SENDCHANGE);
    ::SendMessageA(self, WM_WININICHANGE, 4, 0);

    ::SystemParametersInfoA(SPI_SETMOUSESPEED, 0,
                            reinterpret_cast<void*>(intptr_t(profile.Get(prof::MouseSpeed))),
                            SPIF_SENDCHANGE);
    ::SendMessageA(self, WM_WININICHANGE, 113, 0);

    const int lines = profile.Get(prof::ScrollWheelFlag) ? -1 : profile.Get(prof::ScrollWheelSpeed);
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, UINT(lines), nullptr, SPIF_SENDCHANGE);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETWHEELSCROLLLINES,
                          reinterpret_cast<LPARAM>("WheelScrollLines"), SMTO_ABORTIFHUNG, 1000,
                          &result);
}

} // namespace gm::mon
