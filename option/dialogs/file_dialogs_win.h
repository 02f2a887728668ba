#pragma once
// The system's file dialogs and the desktop folder, from libraries loaded
// the first time one of them is wanted: most starts of the program never
// open a file dialog, and loading those libraries at start costs more than
// the rest of the start put together.
#include <windows.h>

#include <commdlg.h>

#include <string>

namespace gm::option {

// GetOpenFileNameA / GetSaveFileNameA; false when cancelled or unavailable.
bool RunOpenFileDialog(OPENFILENAMEA& ofn);
bool RunSaveFileDialog(OPENFILENAMEA& ofn);

// The user's desktop folder, "" when it cannot be found.
std::string DesktopFolder(HWND owner);

} // namespace gm::option
