#include "option/dialogs/profile_dialog_win.h"

#include "option/dialogs/browse_program_win.h"

namespace gm::option {
namespace {

constexpr int kEditId = 4010;
constexpr COLORREF kEditBack = RGB(229, 229, 229);

RECT RectOf(const skin::ControlRecord& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

} // namespace

int ProfileDialog::Run(const std::string& skinFolder, HWND owner) {
    return RunModal(skinFolder, "skin_profile.ini", owner);
}

void ProfileDialog::CreateControls(skin::WindowSkin& skin) {
    const DWORD editStyle = WS_TABSTOP | ES_AUTOHSCROLL;
    nameEdit_.Create(RectOf(skin.Record(1)), hwnd(), kEditId, editStyle);
    gameEdit_.Create(RectOf(skin.Record(2)), hwnd(), kEditId, editStyle);
    browse_.Create(skin.Record(3), skin.sheets(), hwnd());
    ok_.Create(skin.Record(4), skin.sheets(), hwnd());
    cancel_.Create(skin.Record(5), skin.sheets(), hwnd());
    close_.Create(skin.Record(6), skin.sheets(), hwnd());
}

bool ProfileDialog::OnInitDialog() {
    nameEdit_.SetColors(RGB(0, 0, 0), kEditBack);
    gameEdit_.SetColors(RGB(0, 0, 0), kEditBack);
    ::SendMessageA(nameEdit_.hwnd(), EM_LIMITTEXT, kProfileNameChars, 0);
    ::SendMessageA(gameEdit_.hwnd(), EM_LIMITTEXT, kGameFileChars, 0);
    if (!startEmpty_) {
        ::SetWindowTextA(nameEdit_.hwnd(), profile_.Get(prof::ProFileName).c_str());
        ::SetWindowTextA(gameEdit_.hwnd(), profile_.Get(prof::GameFile).c_str());
    }
    ::SetFocus(nameEdit_.hwnd());
    return false;
}

void ProfileDialog::OnCommand(HWND control, int) {
    if (control == ok_.hwnd()) {
        profile_.Set(prof::ProFileName, WindowText(nameEdit_.hwnd()));
        profile_.Set(prof::GameFile, WindowText(gameEdit_.hwnd()));
        End(skin::kDialogOk);
    } else if (control == cancel_.hwnd() || control == close_.hwnd()) {
        End(skin::kDialogCancel);
    } else if (control == browse_.hwnd()) {
        Browse();
    }
}

void ProfileDialog::Browse() {
    const std::string path = BrowseForProgram(hwnd());
    if (!path.empty())
        ::SetWindowTextA(gameEdit_.hwnd(), path.c_str());
}

} // namespace gm::option
