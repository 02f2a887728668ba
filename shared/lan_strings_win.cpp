#include "shared/lan_strings_win.h"

#include <windows.h>

namespace gm {

bool LanguageLibrary::Load(const std::string& installDir) {
    const std::string path = installDir + "lan.dll";
    module_.reset(::LoadLibraryExA(path.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    return IsLoaded();
}

std::string LanguageLibrary::Get(int id) const {
    if (!module_)
        return {};
    char text[kLanTextBuffer];
    const int n = ::LoadStringA(module_.get(), UINT(id), text, sizeof text);
    return n > 0 ? std::string(text, std::size_t(n)) : std::string();
}

} // namespace gm
