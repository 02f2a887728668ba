#pragma once
// What the tests of hiddriver.dll share: a window that records the messages
// the library posts, the six entries bound by name as the monitor binds them,
// and the process's thread count and a module's export names.
#include "shared/tests/message_pump.h"
#include "win/proc_address.h"

#include <windows.h>
#include <tlhelp32.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace gm::test {

inline constexpr UINT kEventMsg = 1325;
inline constexpr UINT kPlugMsg = 1326;

struct Posted {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

// A window that records the device messages it receives.
class Recorder {
  public:
    Recorder() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "GmHidRecorder";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Recorder() { ::DestroyWindow(hwnd); }

    bool WaitFor(const std::function<bool()>& done, DWORD limitMs = 10000) {
        return test::PumpUntil(done, limitMs);
    }
    void Pump() { test::Pump(); }

    HWND hwnd;
    std::vector<Posted> got;
    bool sentNotPosted = false;

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        auto* self = reinterpret_cast<Recorder*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self && (msg == kEventMsg || msg == kPlugMsg)) {
            if (::InSendMessage())
                self->sentNotPosted = true;
            self->got.push_back({msg, wp, lp});
            return 0;
        }
        return ::DefWindowProcA(h, msg, wp, lp);
    }
};

// The six entries, bound by name as the monitor binds them.
struct Driver {
    explicit Driver(const std::string& folder) {
        module = ::LoadLibraryA((folder + "hiddriver.dll").c_str());
        if (!module)
            return;
        openMonitor = win::ProcAddress<int (*)(HWND, UINT, UINT)>(module, "Open_DevMonitor");
        closeMonitor = win::ProcAddress<int (*)()>(module, "Close_DevMonitor");
        openDevice = win::ProcAddress<int (*)()>(module, "Open_FeatureDevice");
        closeDevice = win::ProcAddress<int (*)()>(module, "Close_FeatureDevice");
        set = win::ProcAddress<int (*)(unsigned char*, int)>(module, "SetFeature");
        get = win::ProcAddress<int (*)(unsigned char*, int)>(module, "GetFeature");
    }
    ~Driver() {
        if (!module)
            return;
        closeMonitor();
        closeDevice();
        ::FreeLibrary(module);
    }
    bool bound() const {
        return openMonitor && closeMonitor && openDevice && closeDevice && set && get;
    }

    // Report 4 status after a set: 1 done, 3 busy, other failed.
    int Status() {
        unsigned char r[3] = {4, 0, 0};
        return get(r, 3) ? r[1] : -1;
    }

    HMODULE module = nullptr;
    int (*openMonitor)(HWND, UINT, UINT) = nullptr;
    int (*closeMonitor)() = nullptr;
    int (*openDevice)() = nullptr;
    int (*closeDevice)() = nullptr;
    int (*set)(unsigned char*, int) = nullptr;
    int (*get)(unsigned char*, int) = nullptr;
};

inline std::set<std::string> ExportNames(HMODULE m) {
    auto* base = reinterpret_cast<const uint8_t*>(m);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> out;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        out.insert(reinterpret_cast<const char*>(base + names[i]));
    return out;
}

inline int ThreadCount() {
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 t{};
    t.dwSize = sizeof t;
    int n = 0;
    for (BOOL ok = ::Thread32First(snap, &t); ok; ok = ::Thread32Next(snap, &t))
        if (t.th32OwnerProcessID == ::GetCurrentProcessId())
            ++n;
    ::CloseHandle(snap);
    return n;
}

} // namespace gm::test
