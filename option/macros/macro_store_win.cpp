#include "option/macros/macro_store_win.h"

#include "shared/private_profile_win.h"
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace gm {

std::string MacroStorePath(const std::string& installDir) {
    return installDir + "config\\sequence.dat";
}

void LoadMacroStore(const std::string& installDir, MacroList& list) {
    const std::string path = MacroStorePath(installDir);
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info))
        return;
    // Keys past the highest one in the file are missing anyway; stopping
    // there keeps a damaged "number" from making the loader read for ever.
    std::vector<char> names(std::size_t(info.nFileSizeLow) + 2, '\0');
    ::GetPrivateProfileStringA("Macros", nullptr, "", names.data(), DWORD(names.size()),
                               path.c_str());
    int32_t keys = 0;
    for (const char* name = names.data(); *name; name += std::strlen(name) + 1) {
        char* end = nullptr;
        const long k = std::strtol(name, &end, 10);
        if (end != name && *end == '\0' && k >= 0 && k < INT32_MAX)
            keys = std::max(keys, int32_t(k) + 1);
    }
    PrivateProfileFile file(path);
    list.Load(file, keys);
}

void SaveMacroStore(const std::string& installDir, const MacroList& list) {
    const std::string path = MacroStorePath(installDir);
    ::CreateDirectoryA((installDir + "config").c_str(), nullptr);
    ::DeleteFileA(path.c_str());
    PrivateProfileFile file(path);
    list.Save(file);
    // The private-profile functions cache files; make the new one visible to
    // other readers at once.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

} // namespace gm
