#include "option/dialogs/launch_program_dialog_win.h"

#include "option/dialogs/browse_program_win.h"

namespace gm::option {

void LaunchProgramDialog::CreateControls(skin::WindowSkin& skin) {
    const skin::ControlRecord r = skin.Record(1);
    edit_.Create(RECT{r.left, r.top, r.right, r.bottom}, hwnd(), 4010, WS_TABSTOP | ES_AUTOHSCROLL);
    browse_.Create(skin.Record(2), skin.sheets(), hwnd());
    ok_.Create(skin.Record(3), skin.sheets(), hwnd());
    cancel_.Create(skin.Record(4), skin.sheets(), hwnd());
    close_.Create(skin.Record(5), skin.sheets(), hwnd());
}

bool LaunchProgramDialog::OnInitDialog() {
    edit_.SetColors(RGB(0, 0, 0), RGB(229, 229, 229));
    ::SendMessageA(edit_.hwnd(), EM_LIMITTEXT, kProgramPathChars, 0);
    ::SetWindowTextA(edit_.hwnd(), path_.c_str());
    ::SetFocus(edit_.hwnd());
    return false;
}

void LaunchProgramDialog::OnCommand(HWND control, int) {
    if (control == ok_.hwnd()) {
        path_ = WindowText(edit_.hwnd());
        End(skin::kDialogOk);
    } else if (control == cancel_.hwnd() || control == close_.hwnd()) {
        End(skin::kDialogCancel);
    } else if (control == browse_.hwnd()) {
        const std::string chosen = BrowseForProgram(hwnd());
        if (!chosen.empty())
            ::SetWindowTextA(edit_.hwnd(), chosen.c_str());
    }
}

} // namespace gm::option
