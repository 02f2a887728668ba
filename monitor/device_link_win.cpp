#include "monitor/device_link_win.h"

#include "win/debug_out.h"
#include "win/proc_address.h"

#include <vector>

namespace gm::mon {

bool HidLibrary::Load(const std::string& installDir) {
    Unload();
    module_.reset(::LoadLibraryA((installDir + "hiddriver.dll").c_str()));
    if (!module_)
        return false;
    HMODULE m = module_.get();
    openMonitor_ = win::ProcAddress<int (*)(HWND, UINT, UINT)>(m, "Open_DevMonitor");
    closeMonitor_ = win::ProcAddress<int (*)()>(m, "Close_DevMonitor");
    openDevice_ = win::ProcAddress<int (*)()>(m, "Open_FeatureDevice");
    closeDevice_ = win::ProcAddress<int (*)()>(m, "Close_FeatureDevice");
    setFeature_ = win::ProcAddress<int (*)(unsigned char*, int)>(m, "SetFeature");
    getFeature_ = win::ProcAddress<int (*)(unsigned char*, int)>(m, "GetFeature");
    bound_ =
        openMonitor_ && closeMonitor_ && openDevice_ && closeDevice_ && setFeature_ && getFeature_;
    if (!bound_)
        Unload(); // an incomplete library is never called
    return bound_;
}

void HidLibrary::Unload() {
    bound_ = false;
    module_.reset();
}

void HidLibrary::OpenMonitor(HWND window, UINT eventMessage, UINT arrivalMessage) const {
    if (bound_)
        openMonitor_(window, eventMessage, arrivalMessage);
}
void HidLibrary::CloseMonitor() const {
    if (bound_)
        closeMonitor_();
}
bool HidLibrary::OpenDevice() const {
    return bound_ && openDevice_() != 0;
}
void HidLibrary::CloseDevice() const {
    if (bound_)
        closeDevice_();
}

bool HidLibrary::SetFeature(const uint8_t* report, std::size_t length) const {
    if (!bound_)
        return false;
    // The entry takes a writable buffer; hand it a copy so ours stays intact.
    std::vector<unsigned char> copy(report, report + length);
    const bool ok = setFeature_(copy.data(), int(copy.size())) != 0;
    if (!ok)
        win::DebugOut("SetFeature report %u failed\n", unsigned(report[0]));
    return ok;
}

bool HidLibrary::GetFeature(uint8_t* report, std::size_t length) const {
    if (!bound_)
        return false;
    const bool ok = getFeature_(report, int(length)) != 0;
    if (!ok)
        win::DebugOut("GetFeature report %u failed\n", unsigned(report[0]));
    return ok;
}

bool LinkIo::SetFeature(const uint8_t* report, std::size_t length) {
    return library_.SetFeature(report, length);
}
bool LinkIo::GetFeature(uint8_t* report, std::size_t length) {
    return library_.GetFeature(report, length);
}

unsigned Paced(unsigned ms, int pacingPercent) {
    if (pacingPercent >= 100 || pacingPercent < 1)
        return ms;
    return ms * unsigned(pacingPercent) / 100;
}

void LinkIo::Sleep(unsigned ms) {
    ::Sleep(Paced(ms, pacing_));
}

} // namespace gm::mon
