#pragma once
// Whether the mouse is there: opening it at start-up, and its arrivals and
// removals. An arrived mouse is given 8 s to settle before it is opened;
// the wait is a timer, so the window thread goes on meanwhile. The gate
// carries the presence to the device worker.

#include "monitor/device_gate.h"
#include "monitor/device_link_win.h"

#include <windows.h>

namespace gm::mon {

// What the monitor does when the mouse comes and goes (window thread).
class PresenceHost {
  public:
    virtual ~PresenceHost() = default;
    // The mouse was opened, at start-up or after an arrival.
    virtual void MouseOpened(bool atStart) = 0;
    // The mouse went; its device is already closed.
    virtual void MouseGone() = 0;

  protected:
    PresenceHost() = default;
    PresenceHost(const PresenceHost&) = default;
    PresenceHost& operator=(const PresenceHost&) = default;
};

class DevicePresence {
  public:
    DevicePresence(HidLibrary& hid, DeviceGate& gate, PresenceHost& host)
        : hid_(hid), gate_(gate), host_(host) {}

    // Starts the library's monitor and opens the mouse; true when it is there.
    bool OpenAtStart(HWND window, int pacingPercent);
    // Arrival (true) or removal (false), from either of the library's messages.
    void OnArrival(bool arrived);
    // True when the timer was the presence's.
    bool OnTimer(UINT_PTR id);
    // Shutdown: a pending arrival is forgotten.
    void Stop();

    static constexpr UINT_PTR kTimerArrival = 503;

  private:
    void OnArrivalSettled();

    HidLibrary& hid_;
    DeviceGate& gate_;
    PresenceHost& host_;
    HWND window_ = nullptr;
    int pacing_ = 100;
    bool arrivalPending_ = false; // an arrived mouse waits to be opened
};

} // namespace gm::mon
