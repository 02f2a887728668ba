#pragma once
// Asked before the macro manager deletes a macro; the question is part of
// the artwork. Button "1" deletes (OK); "2", "3" and Esc keep the macro.
// Enter does nothing, so a key meant for the manager never deletes.
#include "option/dialogs/warning_dialogs_win.h"

namespace gm::option {

class DeleteMacroWarning : public WarningDialog {
  public:
    DeleteMacroWarning() : WarningDialog("skin_delete_macro_warn.ini", true, nullptr, true) {}
};

} // namespace gm::option
