#include "option/pages/reset_command_win.h"

#include "option/dialogs/warning_dialogs_win.h"

namespace gm::option {

bool RunResetCommand(OptionHost& host, HWND page, bool alsoDisplaySettings) {
    // The top-level window owns the warning, so all of it is disabled while
    // the question is open, not just the page.
    const HWND root = page ? ::GetAncestor(page, GA_ROOT) : host.MainWindow();
    ResetWarning warning(host.MainWindow());
    if (warning.Run(host.SkinFolder(), root ? root : page) != skin::kDialogOk)
        return false;
    host.ResetToDefaults(alsoDisplaySettings);
    return true;
}

} // namespace gm::option
