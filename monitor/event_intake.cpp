#include "monitor/event_intake.h"

namespace gm::mon {
namespace {

bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

} // namespace

DeviceEvent DecodeDeviceEvent(uint32_t wParam, uint32_t lParam) {
    DeviceEvent e;
    // Only the low halves carry anything; a class above 16 bits is no class.
    if (wParam > 0xFFFF)
        return e;
    e.cls = uint16_t(wParam);
    e.value = uint16_t(lParam & 0xFFFF);
    const int code = e.value & 0xFF;
    const int flag = e.value >> 8;
    auto accept = [&](EventKind kind, int number) {
        e.kind = kind;
        e.number = number;
        return e;
    };
    switch (e.cls) {
    case 0x1000:
        if (e.value == 1 || e.value == 255) {
            e.direction = e.value == 1 ? -1 : 1;
            return accept(EventKind::Tilt, 0);
        }
        break;
    case 0x3000:
        if (InRange(code, 1, 5))
            return accept(EventKind::DeviceProfile, code - 1);
        break;
    case 0x4000:
    case 0x5000:
        if (InRange(code, 1, 15)) {
            e.release = flag != 0;
            return accept(e.cls == 0x4000 ? EventKind::ButtonNotice : EventKind::Button, code);
        }
        break;
    case 0x6000:
        if (InRange(code, 1, 15) && flag == 0)
            return accept(EventKind::RunProgram, code);
        break;
    case 0x7000:
        if (e.value == 1 || e.value == 2)
            return accept(EventKind::Plug, e.value);
        break;
    case 0xA000:
        if (e.value == 1)
            return accept(EventKind::OpenOption, 1);
        break;
    case 0xB000:
        if (InRange(e.value, 1, 10))
            return accept(EventKind::Stage, e.value);
        break;
    case 0xC000:
        if (InRange(code, 1, 20) || InRange(flag, 1, 20))
            return accept(EventKind::Sensitivity, 0);
        break;
    case 0xD000:
        if (InRange(e.value, 1, 4))
            return accept(EventKind::Polling, e.value);
        break;
    case 0xF000:
        // The media function code of the button, so every media function is
        // reachable; the flag byte is the release.
        if (InRange(code, 25, 32)) {
            e.release = flag != 0;
            return accept(EventKind::Media, code);
        }
        break;
    default:
        break;
    }
    e.kind = EventKind::Ignored;
    return e;
}

bool ApplyDeviceValue(const DeviceEvent& e, ProfileView current) {
    switch (e.kind) {
    case EventKind::Stage:
        if (e.number > kStageCount)
            return false; // 7-10 are accepted but change nothing
        current.Set(prof::CpiStep, e.number - 1);
        return true;
    case EventKind::Sensitivity: {
        const int x = e.value & 0xFF, y = e.value >> 8;
        bool changed = false;
        if (InRange(x, 1, 20)) {
            current.Set(prof::Sensitivity_X, x);
            changed = true;
        }
        if (InRange(y, 1, 20)) {
            current.Set(prof::Sensitivity_Y, y);
            changed = true;
        }
        return changed;
    }
    case EventKind::Polling:
        current.Set(prof::PollingRate, e.number - 1);
        return true;
    default:
        return false;
    }
}

} // namespace gm::mon
