#include "hid/tests/scripted/scripted_device_win.h"

#include "emulator/emulator_client_win.h"
#include "hid/driver_config.h"
#include "win/install_dir.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace gm::scripted {
namespace {

constexpr DWORD kPatienceMs = 5000;
constexpr DWORD kInstanceGapMs = 3000;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

} // namespace

std::string ControlPipe(const void* anyFunction) {
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<LPCSTR>(anyFunction), &self);
    char path[MAX_PATH * 4];
    const DWORD n = ::GetModuleFileNameA(self, path, sizeof path);
    const std::string ini =
        win::FolderOf(std::string(path, n < sizeof path ? n : 0)) + "hiddriver.ini";
    char pipe[512];
    ::GetPrivateProfileStringA("Transport", "Pipe", "", pipe, sizeof pipe, ini.c_str());
    hid::DriverConfigText text;
    text.pipe = pipe;
    return hid::ParseDriverConfig(text).pipe;
}

std::vector<emu::HidInterface> Interfaces(const std::string& controlPipe) {
    const DWORD error = ::GetLastError();
    // Patient, as the system is: a loaded machine can stretch the moment
    // between two listening instances of the virtual mouse's pipe, and its
    // answer.
    emu::PipeConnection c;
    std::vector<emu::HidInterface> list;
    if (c.Connect(controlPipe, kPatienceMs, kInstanceGapMs) &&
        c.Write(emu::EncodeInterfaces(), kPatienceMs)) {
        if (auto reply = c.Read(kPatienceMs)) {
            auto a = emu::ParseAnswer(reply->data(), reply->size());
            if (a && a->op == emu::Op::Interfaces && a->ok)
                list = emu::ParseHidList(a->report.data(), a->report.size()).value_or(list);
        }
    }
    ::SetLastError(error); // asking the virtual mouse is not the caller's business
    return list;
}

std::optional<emu::HidInterface> InterfaceOf(HANDLE handle, const std::string& controlPipe) {
    // A pipe's name comes back as "\name", without "\\.\pipe".
    alignas(FILE_NAME_INFO) char buffer[sizeof(FILE_NAME_INFO) + 1024];
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        !::GetFileInformationByHandleEx(handle, FileNameInfo, buffer, sizeof buffer)) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return std::nullopt;
    }
    const auto* info = reinterpret_cast<const FILE_NAME_INFO*>(buffer);
    std::string name;
    for (DWORD i = 0; i < info->FileNameLength / sizeof(WCHAR); ++i)
        name += char(info->FileName[i] < 128 ? info->FileName[i] : '?');
    name = Lower("\\\\.\\pipe" + name);
    // A path names one publication of an interface, so what it was once
    // listed with holds for good; a handle whose interface has gone fails
    // its next transfer.
    static std::mutex lock;
    static std::map<std::string, emu::HidInterface> known;
    {
        std::lock_guard g(lock);
        if (auto it = known.find(name); it != known.end())
            return it->second;
    }
    for (const emu::HidInterface& i : Interfaces(controlPipe)) {
        if (Lower(emu::HidInterfacePath(controlPipe, i)) == name) {
            std::lock_guard g(lock);
            known[name] = i;
            return i;
        }
    }
    // Not (or no longer) a present interface: as for a removed device.
    ::SetLastError(ERROR_DEVICE_NOT_CONNECTED);
    return std::nullopt;
}

} // namespace gm::scripted
