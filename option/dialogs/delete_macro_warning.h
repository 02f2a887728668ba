#pragma once
// Asked before the macro manager deletes a macro; the question is part of
// the artwork. Button "1" deletes (OK), "2" and "3" keep the macro.
#include "option/dialogs/warning_dialogs.h"

namespace gm::option {

class DeleteMacroWarning : public WarningDialog {
  public:
    DeleteMacroWarning() : WarningDialog("skin_delete_macro_warn.ini", true) {}
};

} // namespace gm::option
