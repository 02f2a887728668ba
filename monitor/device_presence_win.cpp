#include "monitor/device_presence_win.h"

#include "shared/messages.h"

namespace gm::mon {

bool DevicePresence::OpenAtStart(HWND window, int pacingPercent) {
    window_ = window;
    pacing_ = pacingPercent;
    bool opened = false;
    if (hid_.bound()) {
        hid_.OpenMonitor(window_, ipc::kDeviceEvent, ipc::kDeviceArrival);
        opened = hid_.OpenDevice();
    }
    gate_.Opened(opened);
    if (opened)
        host_.MouseOpened(true);
    return opened;
}

void DevicePresence::OnArrival(bool arrived) {
    // Without a library there is no mouse to come or go, whoever posted this.
    if (!hid_.bound())
        return;
    if (arrived) {
        // An arrival during the wait, or with the mouse open, changes nothing.
        if (gate_.present() || arrivalPending_)
            return;
        arrivalPending_ = true;
        ::SetTimer(window_, kTimerArrival, Paced(8000, pacing_), nullptr);
        return;
    }
    if (arrivalPending_) {
        arrivalPending_ = false;
        ::KillTimer(window_, kTimerArrival);
    }
    // The abort goes up with the removal, before the device closes.
    if (!gate_.Remove())
        return;
    hid_.CloseDevice();
    host_.MouseGone();
}

bool DevicePresence::OnTimer(UINT_PTR id) {
    if (id != kTimerArrival)
        return false;
    OnArrivalSettled();
    return true;
}

void DevicePresence::OnArrivalSettled() {
    ::KillTimer(window_, kTimerArrival);
    if (!arrivalPending_)
        return;
    arrivalPending_ = false;
    gate_.Arrive();
    hid_.OpenDevice();
    host_.MouseOpened(false);
}

void DevicePresence::Stop() {
    ::KillTimer(window_, kTimerArrival);
    arrivalPending_ = false;
}

} // namespace gm::mon
