#pragma once
// Drives the real Option.exe from a test as a user would: finds its windows,
// presses its skinned buttons by the rectangles of their skin records, types
// into its edits, reads its labels and the pixels it drew.
#include "shared/tests/message_pump.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gm::test {

// Copies Option.exe, lan.dll and the skin folder from the build folder.
bool InstallOption(const std::string& folder);
// Copies a whole folder tree.
bool CopyTree(const std::string& from, const std::string& to);

HANDLE StartProcess(const std::string& folder, const std::string& exe,
                    const std::string& args = "");
bool Ended(HANDLE process, DWORD limitMs = 30000);

// The direct child of `parent` whose rectangle is the skin record `key` of
// `iniPath` (client coordinates), or null.
HWND ControlAt(HWND parent, const std::string& iniPath, int key);
// A visible top-level window of the process that owns `owner`, owned by it.
HWND OwnedPopup(HWND owner);
// Posts a click to a button (nothing happens when it is disabled).
void Click(HWND button);
// Types `text` into an edit as key presses would (WM_CHAR each).
void Type(HWND edit, const std::string& text);
std::string TextOf(HWND window);

// The screen's pixels in a rectangle of `window`'s client area (of the
// screen when `window` is null), row by row.
std::vector<COLORREF> ClientPixels(HWND window, const RECT& area);

// Drives the platform's open or save dialog owned by `owner`: the file name
// typed, then OK. False when no such dialog appeared.
bool ChooseFile(HWND owner, const std::string& path);
bool CancelFileDialog(HWND owner);

} // namespace gm::test
