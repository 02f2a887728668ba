#pragma once
// The mouse's event input report: [report id, class (16-bit little-endian),
// value (16-bit little-endian)]. Both transports decode it here; the virtual
// mouse encodes it here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace gm::hid {

inline constexpr uint8_t kEventReportId = 2;
inline constexpr std::size_t kEventReportLength = 5;

struct DeviceEvent {
    uint16_t cls;
    uint16_t value;
    bool operator==(const DeviceEvent&) const = default;
};

// Nothing for a report that is too short or carries another id. Bytes past
// the fifth (HID pads input reports to their declared length) are ignored.
std::optional<DeviceEvent> DecodeEventReport(const uint8_t* data, std::size_t length);
std::array<uint8_t, kEventReportLength> EncodeEventReport(DeviceEvent e);

} // namespace gm::hid
