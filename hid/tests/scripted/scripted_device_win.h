#pragma once
// What the test builds of hid.dll and setupapi.dll share: where the virtual
// mouse is (the pipe named in hiddriver.ini beside them) and which HID
// interfaces it presents right now.

#include "emulator/scripted_hid.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace gm::scripted {

// {4D1E55B2-F16F-11CF-88CB-001111000030}, the HID device interface class.
inline constexpr GUID kHidGuid = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// The virtual mouse's own pipe, from hiddriver.ini beside the module that
// holds `anyFunction`.
std::string ControlPipe(const void* anyFunction);

// The interfaces listed now, in enumeration order; none when no virtual
// mouse answers.
std::vector<emu::HidInterface> Interfaces(const std::string& controlPipe);

// The interface a handle was opened on: its pipe name, looked up in the
// list. Sets the last error and gives nothing for any other handle.
std::optional<emu::HidInterface> InterfaceOf(HANDLE handle, const std::string& controlPipe);

} // namespace gm::scripted
