#include "monitor/device_gate.h"

namespace gm::mon {

void DeviceGate::Opened(bool opened) {
    Update([opened](uint32_t s) {
        return (s & ~kPresenceMask) | uint32_t(opened ? Presence::Present : Presence::Unopened);
    });
}

bool DeviceGate::Arrive() {
    const uint32_t old = Update([](uint32_t s) {
        if ((s & kPresenceMask) == uint32_t(Presence::Present))
            return s;
        s = (s & ~kPresenceMask) | uint32_t(Presence::Present);
        // An aborted job still running must see its abort to the end;
        // EndJob lowers it then.
        if (!(s & (kBusy | kClosed)))
            s &= ~kAbort;
        return s;
    });
    return (old & kPresenceMask) != uint32_t(Presence::Present);
}

bool DeviceGate::Remove() {
    const uint32_t old = Update([](uint32_t s) {
        if ((s & kPresenceMask) == uint32_t(Presence::Removed))
            return s;
        return (s & ~kPresenceMask) | uint32_t(Presence::Removed) | kAbort;
    });
    return (old & kPresenceMask) != uint32_t(Presence::Removed);
}

void DeviceGate::Close() {
    Update([](uint32_t s) { return s | kClosed | kAbort; });
}

bool DeviceGate::BeginJob() {
    bool begun = false;
    Update([&begun](uint32_t s) {
        begun =
            (s & kPresenceMask) == uint32_t(Presence::Present) && !(s & (kAbort | kClosed | kBusy));
        return begun ? s | kBusy : s;
    });
    return begun;
}

void DeviceGate::EndJob() {
    Update([](uint32_t s) {
        s &= ~kBusy;
        if ((s & kPresenceMask) == uint32_t(Presence::Present) && !(s & kClosed))
            s &= ~kAbort;
        return s;
    });
}

} // namespace gm::mon
