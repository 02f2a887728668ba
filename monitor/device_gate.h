#pragma once
// DeviceGate: whether the mouse is there, whether a device job runs and
// whether it must stop, in one atomic word. The window thread reports
// arrival, removal and shutdown; the device worker asks to begin and ends
// each job. Because every change is one atomic step, a removal can never
// fall between a job's presence check and its start: either the job is
// refused, or it starts and sees the abort at its next step.

#include <atomic>
#include <cstdint>

namespace gm::mon {

enum class Presence { Unopened = 0, Present = 1, Removed = 2 };

class DeviceGate {
  public:
    Presence presence() const { return Presence(state_.load() & kPresenceMask); }
    bool present() const { return presence() == Presence::Present; }
    bool busy() const { return (state_.load() & kBusy) != 0; }
    // A running job stops at its next step; no job starts.
    bool Aborted() const { return (state_.load() & kAbort) != 0; }

    // The outcome of opening the mouse at start-up.
    void Opened(bool opened);
    // The mouse came (back). False when it was already present. A job still
    // ending from before keeps its abort until it ends.
    bool Arrive();
    // The mouse went. False when it was already gone. Raises the abort.
    bool Remove();
    // Shutdown: raises the abort for good; no job starts again.
    void Close();

    // The worker: true when a job may run now (the mouse is present and
    // nothing asked to stop); the job then ends with EndJob.
    bool BeginJob();
    void EndJob();

  private:
    static constexpr uint32_t kPresenceMask = 3;
    static constexpr uint32_t kBusy = 4;
    static constexpr uint32_t kAbort = 8;
    static constexpr uint32_t kClosed = 16;

    template <class Change> uint32_t Update(Change change) {
        uint32_t old = state_.load();
        while (!state_.compare_exchange_weak(old, change(old))) {
        }
        return old;
    }

    std::atomic<uint32_t> state_{uint32_t(Presence::Unopened)};
};

} // namespace gm::mon
