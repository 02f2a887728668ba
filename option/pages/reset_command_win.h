#pragma once
// The "restore defaults" button shared by the pages that carry one.
#include "option/option_host_win.h"
#include <windows.h>

namespace gm::option {

// Asks with the reset warning, centred on the main dialog, and on OK resets
// every profile through the host. The whole top-level window is held while
// the warning is open. True when the reset was made.
bool RunResetCommand(OptionHost& host, HWND page, bool alsoDisplaySettings);

} // namespace gm::option
