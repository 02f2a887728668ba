#include "option/dialogs/file_dialogs_win.h"

#include "win/proc_address.h"
#include "win/system_library.h"

#include <shlobj.h>

namespace gm::option {
namespace {

// System libraries loaded once, when first needed, and kept.
HMODULE Comdlg32() {
    static const HMODULE module = win::SystemLibrary("comdlg32.dll");
    return module;
}

HMODULE Shell32() {
    static const HMODULE module = win::SystemLibrary("shell32.dll");
    return module;
}

bool RunFileDialog(const char* entry, OPENFILENAMEA& ofn) {
    using Dialog = BOOL(WINAPI*)(OPENFILENAMEA*);
    const auto run = Comdlg32() ? win::ProcAddress<Dialog>(Comdlg32(), entry) : nullptr;
    return run && run(&ofn) != FALSE;
}

} // namespace

bool RunOpenFileDialog(OPENFILENAMEA& ofn) {
    return RunFileDialog("GetOpenFileNameA", ofn);
}

bool RunSaveFileDialog(OPENFILENAMEA& ofn) {
    return RunFileDialog("GetSaveFileNameA", ofn);
}

std::string DesktopFolder(HWND owner) {
    using Get = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
    const auto get =
        Shell32() ? win::ProcAddress<Get>(Shell32(), "SHGetSpecialFolderPathA") : nullptr;
    char path[MAX_PATH] = "";
    if (!get || !get(owner, path, CSIDL_DESKTOP, FALSE))
        return "";
    return path;
}

} // namespace gm::option
