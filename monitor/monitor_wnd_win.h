#pragma once
// CMonitorWnd: the monitor's hidden main window. Everything the monitor does
// starts from one of its messages: notices from the configuration program,
// device events from the access library, the tray icon and the timers.

#include "monitor/button_actions_win.h"
#include "monitor/device_jobs.h"
#include "monitor/device_link_win.h"
#include "monitor/device_presence_win.h"
#include "monitor/event_intake.h"
#include "monitor/foreground_watch_win.h"
#include "monitor/tray_icon_win.h"
#include "monitor/worker_thread_win.h"
#include "shared/lan_strings_win.h"
#include "shared/messages.h"
#include "shared/osd_settings.h"
#include "shared/profile_files_win.h"
#include "shared/shared_block_win.h"
#include "win/handles.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace gm::mon {

// Worker to window: a read-back has ended (run or refused).
inline constexpr UINT kReadBackEndedMsg = WM_APP + 1;

class CMonitorWnd final : public JobHost, private PresenceHost {
  public:
    explicit CMonitorWnd(bool showOptionAtStart) : showOptionAtStart_(showOptionAtStart) {}
    ~CMonitorWnd() override;

    // Creates the window, which runs the whole start-up; false when the
    // monitor must not run.
    bool Create();
    HWND hwnd() const { return hwnd_; }

    // JobHost: called on the device worker.
    void SaveAll(const SettingsBlock& block) override;
    void CopyToShared(const SettingsBlock& block) override;
    void SettingsReadBack() override;
    void ApplyDone() override;
    void ShowProfileNotice() override;
    void WriteFirmwareVersion(int version) override;

  private:
    // PresenceHost.
    void MouseOpened(bool atStart) override;
    void MouseGone() override;

    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM) noexcept;
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

    bool OnCreate();
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    void OnTray(LPARAM mouseMessage);
    void OnCommand(UINT id);
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void OnApplySettings();
    void OnDeviceEvent(WPARAM wp, LPARAM lp);
    void RegisterSession();
    void OnCustomizer();

    void DeviceProfileSwitch(int profile);
    void HostProfileSwitch(int profile);
    void DetectGame();
    void RunProgram(int button);
    void MacroNotice(int button);
    void ApplyMouseSettingsOfCurrent(bool writeRegistry = false);
    void CopyWorkingToShared();
    void CopySharedToWorking();
    void LaunchApplets();
    void CloseOtherWindows();
    void PostToDialog(UINT msg) const;
    void PostToOsd(UINT msg, WPARAM wp, LPARAM lp) const;
    void RunJob(WPARAM job);
    void QueueReadBack();
    bool HoldDuringReadBack(UINT msg);
    void OnReadBackEnded();
    std::string ConfigPath() const { return installDir_ + "config.ini"; }

    bool showOptionAtStart_;
    HWND hwnd_ = nullptr;
    std::string installDir_;
    LanguageLibrary lan_;
    WorkingBlock working_;
    OsdSettingsRecord osd_;
    std::atomic<bool> showProfileNotice_{false};
    SharedBlock shared_;
    win::unique_hkey mouseKey_;
    win::unique_hmodule wtsapi_;
    HidLibrary hid_;
    std::unique_ptr<ProfileFiles> files_;
    DeviceGate gate_;
    // Window thread: read-backs queued or running, and the notice held
    // until the last ends, with the shared block as it was then.
    int readBacksQueued_ = 0;
    UINT heldNotice_ = 0;
    std::unique_ptr<SettingsBlock> heldBlock_;
    int sessionTries_ = 0;
    bool sessionRegistered_ = false;
    int pacing_ = 100;
    WorkerThread worker_;
    DevicePresence presence_{hid_, gate_, *this};
    ForegroundWatch foreground_;
    bool pollForeground_ = false; // [Test] ForegroundPoll=1: the 2-second poll only
    ButtonActions actions_{working_};
    std::unique_ptr<TrayIcon> tray_;
};

} // namespace gm::mon
