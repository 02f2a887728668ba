#include "monitor/tray_icon_win.h"

#include <cstdio>

namespace gm::mon {

TrayIcon::TrayIcon(HWND owner, UINT id, UINT callbackMessage, Notify notify)
    : owner_(owner), id_(id), callbackMessage_(callbackMessage), notify_(std::move(notify)),
      taskbarCreated_(::RegisterWindowMessageA("TaskbarCreated")) {
    if (!notify_)
        notify_ = [](DWORD message, NOTIFYICONDATAA& data) {
            return ::Shell_NotifyIconA(message, &data) != FALSE;
        };
}

void TrayIcon::SetLook(win::unique_hicon icon, const std::string& tip) {
    icon_ = std::move(icon);
    tip_ = tip;
}

NOTIFYICONDATAA TrayIcon::Data() const {
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner_;
    nid.uID = id_;
    return nid;
}

void TrayIcon::Show() {
    wanted_ = true;
    if (shown_)
        return;
    NOTIFYICONDATAA nid = Data();
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = callbackMessage_;
    nid.hIcon = icon_.get();
    std::snprintf(nid.szTip, sizeof nid.szTip, "%s", tip_.c_str());
    shown_ = notify_(NIM_ADD, nid);
}

void TrayIcon::Hide() {
    wanted_ = false;
    if (!shown_)
        return;
    NOTIFYICONDATAA nid = Data();
    notify_(NIM_DELETE, nid);
    shown_ = false;
}

bool TrayIcon::OnMessage(UINT message) {
    if (message != taskbarCreated_ || taskbarCreated_ == 0)
        return false;
    // A new notification area knows no icon: add it again if it is wanted,
    // whether or not the last add worked.
    if (wanted_) {
        shown_ = false;
        Show();
    }
    return true;
}

} // namespace gm::mon
