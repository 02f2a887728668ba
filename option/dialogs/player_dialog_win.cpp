#include "option/dialogs/player_dialog_win.h"

#include "skin/cool_menu_win.h"
#include "win/handles.h"

namespace gm::option {
namespace {
constexpr const char* kNames[] = {"Windows Media player", "iTunes", "Real Player", "Winamp"};
constexpr int kFirstCommand = 1001;
} // namespace

std::string PlayerName(int playerType) {
    return playerType >= 0 && playerType <= 3 ? kNames[playerType] : "";
}

void PlayerDialog::CreateControls(skin::WindowSkin& skin) {
    player_.Create(skin.Record(1), skin.sheets(), hwnd());
    ok_.Create(skin.Record(2), skin.sheets(), hwnd());
    cancel_.Create(skin.Record(3), skin.sheets(), hwnd());
    close_.Create(skin.Record(4), skin.sheets(), hwnd());
}

bool PlayerDialog::OnInitDialog() {
    ShowCaption();
    return false;
}

void PlayerDialog::ShowCaption() {
    player_.SetCaption(PlayerName(playerType_));
    ::RedrawWindow(player_.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void PlayerDialog::OpenMenu() {
    win::unique_hfont font(::CreateFontA(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, FF_SWISS, "Arial"));
    {
        skin::CoolMenu menu(font.get());
        // Real Player is no longer offered; a stored choice of it stays.
        for (int code : {0, 1, 3})
            menu.Append(MF_STRING, UINT_PTR(kFirstCommand + code), kNames[code]);
        menu.SetWidth(149);
        RECT r{};
        ::GetWindowRect(player_.hwnd(), &r);
        ::TrackPopupMenu(menu.Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, r.left,
                         r.bottom, 0, hwnd(), nullptr);
        ::PostMessageA(hwnd(), WM_NULL, 0, 0);
    }
    player_.SetHover(false);
    ::RedrawWindow(player_.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void PlayerDialog::OnCommand(HWND control, int) {
    if (control == player_.hwnd())
        OpenMenu();
    else if (control == ok_.hwnd())
        End(skin::kDialogOk);
    else if (control == cancel_.hwnd() || control == close_.hwnd())
        End(skin::kDialogCancel);
}

LRESULT PlayerDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_COMMAND && lp == 0 && LOWORD(wp) >= kFirstCommand &&
        LOWORD(wp) <= kFirstCommand + 3) {
        playerType_ = LOWORD(wp) - kFirstCommand;
        ShowCaption();
        return 0;
    }
    return SkinDialog::OnMessage(msg, wp, lp);
}

} // namespace gm::option
