#include "shared/private_profile_win.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace gm {

int32_t PrivateProfileFile::ReadInt(const char* section, const char* key, int32_t fallback) {
    return int32_t(::GetPrivateProfileIntA(section, key, fallback, path_.c_str()));
}

std::string PrivateProfileFile::ReadText(const char* section, const char* key) {
    char buffer[kIniTextBuffer];
    const DWORD n =
        ::GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, path_.c_str());
    return std::string(buffer, n);
}

bool PrivateProfileFile::ReadStruct(const char* section, const char* key, void* out,
                                    std::size_t size) {
    // Read into scratch so a rejected value never leaves `out` half written.
    std::vector<unsigned char> scratch(size);
    if (!::GetPrivateProfileStructA(section, key, scratch.data(), UINT(size), path_.c_str()))
        return false;
    std::copy(scratch.begin(), scratch.end(), static_cast<unsigned char*>(out));
    return true;
}

bool PrivateProfileFile::WriteInt(const char* section, const char* key, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return ::WritePrivateProfileStringA(section, key, text, path_.c_str()) != FALSE;
}

bool PrivateProfileFile::WriteText(const char* section, const char* key, const std::string& value) {
    return ::WritePrivateProfileStringA(section, key, value.c_str(), path_.c_str()) != FALSE;
}

bool PrivateProfileFile::WriteStruct(const char* section, const char* key, const void* data,
                                     std::size_t size) {
    return ::WritePrivateProfileStructA(section, key, const_cast<void*>(data), UINT(size),
                                        path_.c_str()) != FALSE;
}

} // namespace gm
