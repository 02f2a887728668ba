#include "win/install_dir.h"

#include <windows.h>

namespace gm::win {

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string InstallDir() {
    char path[MAX_PATH * 4];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return {};
    return FolderOf(std::string(path, n));
}

std::string SkinFolder() {
    return InstallDir() + "skins\\";
}

} // namespace gm::win
