#include "option/dialogs/warning_dialogs_win.h"

namespace gm::option {

int WarningDialog::Run(const std::string& skinFolder, HWND owner) {
    return RunModal(skinFolder, iniName_, owner);
}

void WarningDialog::CreateControls(skin::WindowSkin& skin) {
    const int count = hasClose_ ? 3 : 2;
    for (int i = 0; i < count; ++i) {
        buttons_[std::size_t(i)].Create(skin.Record(i + 1), skin.sheets(), hwnd());
    }
}

bool WarningDialog::OnInitDialog() {
    if (!centreOn_)
        return false;
    skin::CenterWindowOn(hwnd(), centreOn_);
    return true;
}

bool WarningDialog::SwallowsKey(const MSG& msg) const {
    if (!SkinDialog::SwallowsKey(msg))
        return false;
    if (escapeCancels_ && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
        ::PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(buttons_[1].hwnd()));
    return true;
}

void WarningDialog::OnCommand(HWND control, int) {
    if (control == buttons_[0].hwnd())
        End(skin::kDialogOk);
    else if (control == buttons_[1].hwnd() || control == buttons_[2].hwnd())
        End(skin::kDialogCancel);
}

} // namespace gm::option
