#include "hid/event_report.h"

namespace gm::hid {

std::optional<DeviceEvent> DecodeEventReport(const uint8_t* data, std::size_t length) {
    if (data == nullptr || length < kEventReportLength || data[0] != kEventReportId)
        return std::nullopt;
    return DeviceEvent{uint16_t(data[1] | data[2] << 8), uint16_t(data[3] | data[4] << 8)};
}

std::array<uint8_t, kEventReportLength> EncodeEventReport(DeviceEvent e) {
    return {kEventReportId, uint8_t(e.cls), uint8_t(e.cls >> 8), uint8_t(e.value),
            uint8_t(e.value >> 8)};
}

} // namespace gm::hid
