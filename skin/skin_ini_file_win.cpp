#include "skin/skin_ini_file_win.h"

#include <windows.h>

namespace gm::skin {

std::string SkinIniFile::ReadString(const char* section, const char* key,
                                    const char* fallback) const {
    char buffer[2048];
    const DWORD n =
        ::GetPrivateProfileStringA(section, key, fallback, buffer, sizeof buffer, path_.c_str());
    return std::string(buffer, n < sizeof buffer ? n : sizeof buffer - 1);
}

ControlRecord SkinIniFile::Record(int slot) const {
    return ParseControlRecord(ReadString("BUTTONPOS", std::to_string(slot).c_str()));
}

} // namespace gm::skin
