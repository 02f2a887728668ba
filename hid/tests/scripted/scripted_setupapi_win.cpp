// setupapi.dll for tests: lists the HID interfaces the virtual mouse
// presents (MouseEmulator.exe serve --hid). Only the four functions the
// access library calls, each as documented: the handle and structure size
// checks, ERROR_NO_MORE_ITEMS at the end of the list, and the two-call size
// protocol of SetupDiGetDeviceInterfaceDetailA.
#include "hid/tests/scripted/scripted_device_win.h"

#include <windows.h>
#include <setupapi.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A snapshot of the interfaces present when the set was made.
struct DeviceSet {
    static constexpr uint32_t kMagic = 0x53444D47; // "GMDS"
    uint32_t magic = kMagic;
    GUID guid{};
    std::vector<std::string> paths;
};

DeviceSet* SetOf(HDEVINFO handle) {
    auto* set = static_cast<DeviceSet*>(handle);
    if (set == nullptr || handle == INVALID_HANDLE_VALUE || set->magic != DeviceSet::kMagic) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return set;
}

BOOL Fail(DWORD error) {
    ::SetLastError(error);
    return FALSE;
}

constexpr DWORD kPathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);

} // namespace

extern "C" {

HDEVINFO WINAPI ScriptedGetClassDevsA(const GUID* guid, PCSTR enumerator, HWND, DWORD flags) {
    // The one kind of set the library asks for: present interfaces of a class.
    if (guid == nullptr || enumerator != nullptr || !(flags & DIGCF_DEVICEINTERFACE)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto* set = new DeviceSet;
    set->guid = *guid;
    if (std::memcmp(guid, &gm::scripted::kHidGuid, sizeof(GUID)) == 0) {
        const std::string pipe =
            gm::scripted::ControlPipe(reinterpret_cast<const void*>(&ScriptedGetClassDevsA));
        for (const auto& i : gm::scripted::Interfaces(pipe))
            set->paths.push_back(gm::emu::HidInterfacePath(pipe, i));
    }
    ::SetLastError(ERROR_SUCCESS);
    return set;
}

BOOL WINAPI ScriptedEnumDeviceInterfaces(HDEVINFO handle, PSP_DEVINFO_DATA device, const GUID* guid,
                                         DWORD index, PSP_DEVICE_INTERFACE_DATA data) {
    DeviceSet* set = SetOf(handle);
    if (!set)
        return FALSE;
    if (guid == nullptr || device != nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    if (data == nullptr || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (std::memcmp(guid, &set->guid, sizeof(GUID)) != 0 || index >= set->paths.size())
        return Fail(ERROR_NO_MORE_ITEMS);
    data->InterfaceClassGuid = *guid;
    data->Flags = SPINT_ACTIVE;
    data->Reserved = ULONG_PTR(index) + 1;
    return TRUE;
}

BOOL WINAPI ScriptedGetDeviceInterfaceDetailA(HDEVINFO handle, PSP_DEVICE_INTERFACE_DATA data,
                                              PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD size,
                                              PDWORD required, PSP_DEVINFO_DATA device) {
    DeviceSet* set = SetOf(handle);
    if (!set)
        return FALSE;
    if (data == nullptr || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA) ||
        data->Reserved == 0 || data->Reserved > set->paths.size())
        return Fail(ERROR_INVALID_PARAMETER);
    // No buffer goes with size 0 only; a buffer must say how big its fixed
    // part is and hold at least that part and an empty string.
    if ((detail == nullptr) != (size == 0))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (detail != nullptr &&
        (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) || size < kPathOffset + 1))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (device != nullptr && device->cbSize != sizeof(SP_DEVINFO_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    const std::string& path = set->paths[data->Reserved - 1];
    const DWORD needed = kPathOffset + DWORD(path.size()) + 1;
    if (required != nullptr)
        *required = needed;
    if (size < needed)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(detail->DevicePath, path.c_str(), path.size() + 1);
    if (device != nullptr) {
        device->ClassGuid = set->guid;
        device->DevInst = DWORD(data->Reserved);
        device->Reserved = 0;
    }
    return TRUE;
}

BOOL WINAPI ScriptedDestroyDeviceInfoList(HDEVINFO handle) {
    DeviceSet* set = SetOf(handle);
    if (!set)
        return FALSE;
    set->magic = 0;
    delete set;
    return TRUE;
}

} // extern "C"
