#include "option/macros/macro_store.h"

#include "shared/private_profile.h"
#include <windows.h>

namespace gm {

std::string MacroStorePath(const std::string& installDir) {
    return installDir + "config\\sequence.dat";
}

void LoadMacroStore(const std::string& installDir, MacroList& list) {
    PrivateProfileFile file(MacroStorePath(installDir));
    list.Load(file);
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
