// Option.exe: one instance at a time; the skinned popup menus get their
// frame from a hook on this thread; the main dialog runs until it closes.
#include "option/main_dialog_win.h"
#include "option/macros/macro_names_win.h"
#include "skin/menu_frame_hook_win.h"
#include "win/handles.h"
#include "win/startup_marks.h"
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    gm::win::StartupMark("entry");
    gm::win::unique_handle instance(
        ::CreateMutexA(nullptr, FALSE, "Orvex_Gaming_Mouse_Normal_configure"));
    if (!instance || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;
    gm::option::UseSystemNameComparison();
    // In place by the first paint or the first menu, not during start-up.
    gm::skin::MenuFrameHook::InstallBeforeFirstMenu();
    {
        gm::option::MainDialog dialog;
        dialog.Run();
    }
    gm::skin::MenuFrameHook::Remove();
    ::ReleaseMutex(instance.get());
    return 0;
}
