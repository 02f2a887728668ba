#pragma once
// What the access library needs of a way to the mouse. Two exist: the
// physical mouse over HID and the virtual mouse over its pipe.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace gm::hid {

inline constexpr unsigned kReportTimeoutMs = 1000;

// Called on the transport's own thread for each event and each plug change.
struct Sink {
    std::function<void(uint16_t cls, uint16_t value)> event;
    std::function<void(bool arrived)> plug;
};

class Transport {
  public:
    virtual ~Transport() = default;
    // Start and stop watching for events, arrival and removal.
    virtual bool StartWatching(Sink sink) = 0;
    virtual void StopWatching() = 0;
    // The feature channel.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    // Any thread; each call gives up after about a second.
    virtual bool SetFeature(const uint8_t* report, std::size_t length) = 0;
    virtual bool GetFeature(uint8_t* report, std::size_t length) = 0;
};

struct DriverConfig;
std::unique_ptr<Transport> MakeEmulatorTransport(const DriverConfig& config);
std::unique_ptr<Transport> MakeHidTransport(const DriverConfig& config);

} // namespace gm::hid
