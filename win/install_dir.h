#pragma once
// Every file of the suite is found relative to the folder of the running
// program: the drive and directory of its own executable, with a trailing
// backslash.

#include <string>

namespace gm::win {

std::string InstallDir();
std::string SkinFolder(); // InstallDir() + "skins\"

// Folder part of a full path, ending in a backslash ("" when there is none).
std::string FolderOf(const std::string& path);

} // namespace gm::win
