#pragma once
// Settings of the mouse access library, from hiddriver.ini beside it:
//
//   [Transport]
//   Mode=hid            ; hid (the physical mouse) or emulator (the virtual one)
//   Pipe=\\.\pipe\Orvex_Gaming_Mouse_Normal_Emulator
//   [Device]
//   VendorId=0x0000     ; hex with 0x, or decimal; 0 matches nothing
//   ProductId=0x0000
//   UsagePage=0xFF00    ; the interface that carries feature and event reports
//
// Matching of HID interfaces against those values is pure and lives here too.

#include <cstdint>
#include <optional>
#include <string>

namespace gm::hid {

enum class TransportMode { Hid, Emulator };

inline constexpr const char* kDefaultPipe = "\\\\.\\pipe\\Orvex_Gaming_Mouse_Normal_Emulator";

struct DriverConfig {
    TransportMode mode = TransportMode::Hid;
    std::string pipe = kDefaultPipe;
    uint16_t vendorId = 0; // the mouse's ids are set in the file shipped with it
    uint16_t productId = 0;
    uint16_t usagePage = 0xFF00;
};

// Raw texts as read from the file; empty means missing.
struct DriverConfigText {
    std::string mode, pipe, vendorId, productId, usagePage;
};

// Missing or malformed values keep their defaults.
DriverConfig ParseDriverConfig(const DriverConfigText& text);

// "0x1A2B" or decimal "6699"; "1a2bh" is not accepted. Nothing for
// anything that is not a whole number in 0-65535.
std::optional<uint16_t> ParseId(const std::string& text);

// Vendor and product id from a HID interface path such as
// "\\?\hid#vid_1d57&pid_fa60&mi_01&col02#7&1234&0&0001#{4d1e55b2-...}".
struct PathIds {
    uint16_t vendorId;
    uint16_t productId;
};
std::optional<PathIds> IdsFromInterfacePath(const std::string& path);

struct InterfaceInfo {
    uint16_t vendorId;
    uint16_t productId;
    uint16_t usagePage;
};
bool IsOurInterface(const DriverConfig& config, const InterfaceInfo& info);

} // namespace gm::hid
