#include "emulator/flash_file_win.h"

#include "win/handles.h"
#include "win/replace_file.h"

#include <windows.h>

namespace gm::emu {

bool LoadFlashFile(Firmware& firmware, const std::string& path) {
    win::unique_file f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f)
        return false;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(f.get(), &size) || size.QuadPart <= 0 || size.QuadPart > (1 << 20))
        return false;
    std::vector<uint8_t> image(std::size_t(size.QuadPart));
    DWORD got = 0;
    if (!::ReadFile(f.get(), image.data(), DWORD(image.size()), &got, nullptr) ||
        got != image.size())
        return false;
    return firmware.LoadFlash(image);
}

bool SaveFlashFile(const Firmware& firmware, const std::string& path) {
    const std::vector<uint8_t> image = firmware.SaveFlash();
    const std::string temp = path + ".new";
    {
        win::unique_file f(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f)
            return false;
        DWORD written = 0;
        if (!::WriteFile(f.get(), image.data(), DWORD(image.size()), &written, nullptr) ||
            written != image.size())
            return false;
    }
    if (win::ReplaceFileWith(temp, path))
        return true;
    ::DeleteFileA(temp.c_str());
    return false;
}

} // namespace gm::emu
