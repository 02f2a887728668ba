// hiddriver.dll: the six entries the monitor calls. The transport (the
// physical mouse or the virtual one) is chosen by hiddriver.ini beside the
// library; notifications reach the monitor only as posted messages.
#include "hid/driver_config.h"
#include "hid/transport.h"
#include "win/install_dir.h"

#include <windows.h>

#include <memory>
#include <mutex>

namespace gm::hid {
namespace {

HMODULE g_module = nullptr;

std::string IniValue(const std::string& ini, const char* section, const char* key) {
    char text[512];
    ::GetPrivateProfileStringA(section, key, "", text, sizeof text, ini.c_str());
    return text;
}

DriverConfig ReadConfig() {
    char path[MAX_PATH * 4];
    const DWORD n = ::GetModuleFileNameA(g_module, path, sizeof path);
    const std::string ini =
        win::FolderOf(std::string(path, n < sizeof path ? n : 0)) + "hiddriver.ini";
    DriverConfigText text;
    text.mode = IniValue(ini, "Transport", "Mode");
    text.pipe = IniValue(ini, "Transport", "Pipe");
    text.vendorId = IniValue(ini, "Device", "VendorId");
    text.productId = IniValue(ini, "Device", "ProductId");
    text.usagePage = IniValue(ini, "Device", "UsagePage");
    return ParseDriverConfig(text);
}

class Driver {
  public:
    Transport& transport() {
        std::call_once(once_, [this] {
            const DriverConfig config = ReadConfig();
            transport_ = config.mode == TransportMode::Emulator ? MakeEmulatorTransport(config)
                                                                : MakeHidTransport(config);
        });
        return *transport_;
    }

  private:
    std::once_flag once_;
    std::unique_ptr<Transport> transport_;
};

// Never destroyed: its destructor would run inside DllMain, where joining a
// thread deadlocks. Close_DevMonitor and Close_FeatureDevice end every thread.
Driver& TheDriver() {
    static Driver* driver = new Driver;
    return *driver;
}

} // namespace
} // namespace gm::hid

using gm::hid::TheDriver;

extern "C" {

__declspec(dllexport) int Open_DevMonitor(HWND window, UINT eventMessage, UINT arrivalMessage) {
    gm::hid::Sink sink;
    sink.event = [=](uint16_t cls, uint16_t value) {
        ::PostMessageA(window, eventMessage, cls, value);
    };
    sink.plug = [=](bool arrived) { ::PostMessageA(window, arrivalMessage, arrived ? 1 : 0, 0); };
    return TheDriver().transport().StartWatching(std::move(sink)) ? 1 : 0;
}

__declspec(dllexport) int Close_DevMonitor() {
    TheDriver().transport().StopWatching();
    return 1;
}

__declspec(dllexport) int Open_FeatureDevice() {
    return TheDriver().transport().Open() ? 1 : 0;
}

__declspec(dllexport) int Close_FeatureDevice() {
    TheDriver().transport().Close();
    return 1;
}

__declspec(dllexport) int SetFeature(unsigned char* report, int length) {
    if (report == nullptr || length <= 0)
        return 0;
    return TheDriver().transport().SetFeature(report, std::size_t(length)) ? 1 : 0;
}

__declspec(dllexport) int GetFeature(unsigned char* report, int length) {
    if (report == nullptr || length <= 0)
        return 0;
    return TheDriver().transport().GetFeature(report, std::size_t(length)) ? 1 : 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        gm::hid::g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    // Threads are never joined here (that would wait on the loader lock);
    // callers end watching with Close_DevMonitor before unloading us.
    (void)reserved;
    return TRUE;
}

} // extern "C"
