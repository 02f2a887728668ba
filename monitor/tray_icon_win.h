#pragma once
// The monitor's notification-area icon. Whether the icon is wanted (the
// mouse is there) is kept apart from whether the shell took it: a monitor
// started before the taskbar existed, or one whose Explorer restarted,
// shows the icon as soon as the shell announces TaskbarCreated.

#include "win/handles.h"

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

namespace gm::mon {

class TrayIcon {
  public:
    // The shell call; tests put their own in its place.
    using Notify = std::function<bool(DWORD message, NOTIFYICONDATAA& data)>;

    TrayIcon(HWND owner, UINT id, UINT callbackMessage, Notify notify = {});
    ~TrayIcon() { Hide(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The icon and its tip, used by the next add.
    void SetLook(win::unique_hicon icon, const std::string& tip);
    // The mouse came: the icon is wanted and added if it is not there.
    void Show();
    // The mouse went (or the monitor ends): not wanted, removed if there.
    void Hide();
    // Any message the owner's window gets; true when it was TaskbarCreated
    // (then the icon is added again if wanted).
    bool OnMessage(UINT message);

    bool wanted() const { return wanted_; }
    bool shown() const { return shown_; }

  private:
    NOTIFYICONDATAA Data() const;

    HWND owner_;
    UINT id_;
    UINT callbackMessage_;
    Notify notify_;
    UINT taskbarCreated_;
    win::unique_hicon icon_;
    std::string tip_;
    bool wanted_ = false;
    bool shown_ = false;
};

} // namespace gm::mon
