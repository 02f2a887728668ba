#pragma once
// The platform's open-file dialog for a program, starting on the desktop;
// the chosen file's full path, or "" when the user cancelled.
#include <windows.h>
#include <string>

namespace gm::option {

std::string BrowseForProgram(HWND owner);

// Text of a window, however long.
std::string WindowText(HWND window);

} // namespace gm::option
