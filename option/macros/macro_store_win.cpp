#include "option/macros/macro_store_win.h"

#include "shared/private_profile_win.h"
#include "win/replace_file.h"
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

bool LoadMacroStore(const std::string& installDir, MacroList& list) {
    const std::string path = MacroStorePath(installDir);
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info))
        return false;
    // Keys past the highest one in the file are missing anyway; stopping
    // there keeps a damaged "number" from making the loader read for ever.
    std::vector<char> names(std::size_t(info.nFileSizeLow) + 2, '\0');
    ::GetPrivateProfileStringA("Macros", nullptr, "", names.data(), DWORD(names.size()),
                               path.c_str());
    int32_t keys = 0;
    std::size_t nameCount = 0;
    for (const char* name = names.data(); *name; name += std::strlen(name) + 1) {
        ++nameCount;
        char* end = nullptr;
        const long k = std::strtol(name, &end, 10);
        if (end != name && *end == '\0' && k >= 0 && k < INT32_MAX)
            keys = std::max(keys, int32_t(k) + 1);
    }
    PrivateProfileFile file(path);
    const std::size_t before = list.size();
    list.Load(file, keys);
    const int32_t number = file.ReadInt("Macros", "number", -1);
    // Keys "0" up to number - 1 all read, and "number" the only other one.
    const std::size_t read = list.size() - before;
    return number >= 0 && read == std::size_t(number) && nameCount == read + 1;
}

void SaveMacroStore(const std::string& installDir, const MacroList& list) {
    const std::string path = MacroStorePath(installDir);
    ::CreateDirectoryA((installDir + "config").c_str(), nullptr);
    // The new store is written beside the old one and takes its place in one
    // step: a program stopped while writing leaves the old store, not none
    // or half of one, and a reader never finds it missing.
    const std::string fresh = path + ".new";
    ::DeleteFileA(fresh.c_str());
    {
        PrivateProfileFile file(fresh);
        list.Save(file);
    }
    // The private-profile functions cache files: the new one goes to disk
    // before it is moved, and readers of the store see it at once.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, fresh.c_str());
    if (!win::ReplaceFileWith(fresh, path))
        ::DeleteFileA(fresh.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

} // namespace gm
