#pragma once
// The monitor's conversations with the mouse: the acknowledgement protocol,
// the apply job, the read-back job, the profile job, the version report and
// the host-attached report. Pure code over two small interfaces, so every
// sequence can be checked against the virtual mouse's firmware with a fake
// clock.

#include "shared/settings_block.h"

#include <cstddef>
#include <cstdint>
#include <mutex>

namespace gm::mon {

// The monitor's working copy of the block and the one lock that guards it.
// Jobs hold the lock only while they read or write the block, never across
// a report exchange or a wait.
struct WorkingBlock {
    std::mutex lock;
    SettingsBlock block;
};

// The mouse as the jobs see it.
class DeviceIo {
  public:
    virtual ~DeviceIo() = default;
    virtual bool SetFeature(const uint8_t* report, std::size_t length) = 0;
    virtual bool GetFeature(uint8_t* report, std::size_t length) = 0;
    // Sleeps `ms` (scaled for tests by the caller's pacing); never called
    // with the block lock held.
    virtual void Sleep(unsigned ms) = 0;
    // True once the job must give up (mouse removed, monitor ending).
    virtual bool Aborted() const = 0;
};

// What a job asks of the monitor around it.
class JobHost {
  public:
    virtual ~JobHost() = default;
    virtual void SaveAll(const SettingsBlock& block) = 0;      // profile files and config.ini
    virtual void CopyToShared(const SettingsBlock& block) = 0; // the shared memory
    virtual void SettingsReadBack() = 0;                       // post 1254 to the dialog
    virtual void ApplyDone() = 0;                              // post 1256 to the dialog
    virtual void ShowProfileNotice() = 0;                      // the profile notice, if enabled
    virtual void WriteFirmwareVersion(int version) = 0;        // config.ini FWVersion
};

// Wait(ms): steps of 100 ms, ms / 100 of them, stopping early on abort.
void Wait(DeviceIo& io, unsigned ms);
// Polls report 4 up to 10 times; true when the mouse says done.
bool Acknowledge(DeviceIo& io, unsigned firstWaitMs);
// SetFeature and, only if sent, Acknowledge with the report's first wait.
bool SendAndAcknowledge(DeviceIo& io, const uint8_t* report, std::size_t length);

void ApplyJob(DeviceIo& io, WorkingBlock& working, JobHost& host); // job 1
void ReadBackJob(DeviceIo& io, WorkingBlock& working,
                 JobHost& host); // job 2, ends with report 14 flag 1
void ProfileJob(DeviceIo& io, WorkingBlock& working, JobHost& host); // job 3
// Report 10: firmware version to config.ini, mouse type into the block.
void ReadVersion(DeviceIo& io, WorkingBlock& working, JobHost& host);
// Report 14 with `attached`, acknowledged.
void SendHostAttached(DeviceIo& io, bool attached);

} // namespace gm::mon
