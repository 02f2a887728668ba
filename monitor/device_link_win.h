#pragma once
// The monitor's side of the mouse access library: loading hiddriver.dll from
// the install folder, binding its six entries by name, and the mouse as the
// device jobs see it (paced, and giving up when asked to abort).

#include "monitor/device_gate.h"
#include "monitor/device_jobs.h"
#include "win/handles.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace gm::mon {

class HidLibrary {
  public:
    // False, and no entry bound, when the library or any entry is missing.
    bool Load(const std::string& installDir);
    void Unload();
    bool bound() const { return bound_; }

    void OpenMonitor(HWND window, UINT eventMessage, UINT arrivalMessage) const;
    void CloseMonitor() const;
    bool OpenDevice() const;
    void CloseDevice() const;
    bool SetFeature(const uint8_t* report, std::size_t length) const;
    bool GetFeature(uint8_t* report, std::size_t length) const;

  private:
    win::unique_hmodule module_;
    bool bound_ = false;
    int (*openMonitor_)(HWND, UINT, UINT) = nullptr;
    int (*closeMonitor_)() = nullptr;
    int (*openDevice_)() = nullptr;
    int (*closeDevice_)() = nullptr;
    int (*setFeature_)(unsigned char*, int) = nullptr;
    int (*getFeature_)(unsigned char*, int) = nullptr;
};

// Fixed pauses of the protocol are scaled by `pacingPercent` (100 = the real
// pacing; tests run faster). Input timings are never scaled.
class LinkIo final : public DeviceIo {
  public:
    // `gate` says when to stop; none: the exchange is never aborted.
    LinkIo(const HidLibrary& library, const DeviceGate* gate, int pacingPercent)
        : library_(library), gate_(gate), pacing_(pacingPercent) {}
    bool SetFeature(const uint8_t* report, std::size_t length) override;
    bool GetFeature(uint8_t* report, std::size_t length) override;
    void Sleep(unsigned ms) override;
    bool Aborted() const override { return gate_ && gate_->Aborted(); }

  private:
    const HidLibrary& library_;
    const DeviceGate* gate_;
    int pacing_;
};

unsigned Paced(unsigned ms, int pacingPercent);

} // namespace gm::mon
