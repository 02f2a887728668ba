#include "shared/mouse_registry_win.h"

#include "shared/mouse_values.h"
#include "win/handles.h"

#include <windows.h>

namespace gm {
namespace {

win::unique_hkey OpenOrCreate(const std::string& path) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return {};
    return win::unique_hkey(key);
}

void SetText(HKEY key, const char* name, const std::optional<std::string>& value) {
    if (!value)
        return;
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                     DWORD(value->size() + 1));
}

std::optional<std::string> GetText(HKEY key, const char* name) {
    char buffer[64] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer - 1;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    return std::string(buffer);
}

} // namespace

int MouseRegistry::Write(const ProfileView& profile) const {
    const RegistryMouseValues v = MouseValuesFromProfile(profile);
    win::unique_hkey mouse = OpenOrCreate(MouseKey());
    if (!mouse)
        return -1;
    SetText(mouse.get(), "DoubleClickSpeed", v.doubleClickSpeed);
    SetText(mouse.get(), "MouseSensitivity", v.mouseSensitivity);
    SetText(mouse.get(), "MouseSpeed", v.mouseSpeed);
    SetText(mouse.get(), "MouseThreshold1", v.mouseThreshold1);
    SetText(mouse.get(), "MouseThreshold2", v.mouseThreshold2);
    win::unique_hkey desktop = OpenOrCreate(DesktopKey());
    if (!desktop)
        return -1;
    SetText(desktop.get(), "WheelScrollLines", v.wheelScrollLines);
    return 1;
}

int MouseRegistry::Read(ProfileView profile) const {
    RegistryMouseValues v;
    win::unique_hkey mouse = OpenOrCreate(MouseKey());
    if (!mouse)
        return 0;
    v.doubleClickSpeed = GetText(mouse.get(), "DoubleClickSpeed");
    v.mouseSensitivity = GetText(mouse.get(), "MouseSensitivity");
    v.mouseSpeed = GetText(mouse.get(), "MouseSpeed");
    v.mouseThreshold1 = GetText(mouse.get(), "MouseThreshold1");
    v.mouseThreshold2 = GetText(mouse.get(), "MouseThreshold2");
    win::unique_hkey desktop = OpenOrCreate(DesktopKey());
    if (!desktop)
        return -1;
    v.wheelScrollLines = GetText(desktop.get(), "WheelScrollLines");
    ApplyMouseValuesToProfile(v, profile);
    return 1;
}

} // namespace gm
