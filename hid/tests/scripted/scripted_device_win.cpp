#include "hid/tests/scripted/scripted_device_win.h"

#include "emulator/emulator_client_win.h"
#include "hid/driver_config.h"
#include "win/install_dir.h"

#include <algorithm>
#include <cctype>

namespace gm::scripted {
namespace {

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
    emu::PipeConnection c;
    std::vector<emu::HidInterface> list;
    if (c.Connect(controlPipe, emu::kExchangeTimeoutMs) &&
        c.Write(emu::EncodeInterfaces(), emu::kExchangeTimeoutMs)) {
        if (auto reply = c.Read(emu::kExchangeTimeoutMs)) {
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
    for (const emu::HidInterface& i : Interfaces(controlPipe))
        if (Lower(emu::HidInterfacePath(controlPipe, i)) == name)
            return i;
    // Not (or no longer) a present interface: as for a removed device.
    ::SetLastError(ERROR_DEVICE_NOT_CONNECTED);
    return std::nullopt;
}

} // namespace gm::scripted
