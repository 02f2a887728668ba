#include "monitor/monitor_wnd_win.h"

#include "monitor/game_match.h"
#include "monitor/notice_text.h"
#include "monitor/system_mouse_win.h"
#include "shared/mouse_registry_win.h"
#include "shared/private_profile_win.h"
#include "win/debug_out.h"
#include "win/install_dir.h"
#include "win/proc_address.h"

#include <objbase.h>
#include <shellapi.h>
#include <windowsx.h>

#include <array>
#include <cstdio>
#include <cstring>

namespace gm::mon {
namespace {

// Timers 101, 102 and 105 are the button actions', 503 the presence's.
constexpr UINT_PTR kTimerGame = 500; // and 501, the foreground's second look
constexpr UINT_PTR kTimerReadBack = 502;
constexpr UINT_PTR kTimerSession = 504; // the next try at session notifications
constexpr int kSessionTries = 10;
constexpr UINT kTrayId = 102;
constexpr const char* kClassName = "GmMonitorWindow";

// Applets, launched in this order; closed in kCloseOrder.
constexpr const char* kApplets[] = {"OSD.exe", "Applets\\CpuRam.exe", "Applets\\EmailPOP3.EXE",
                                    "Applets\\OSDSkype.exe", "Applets\\OSDMSN.exe"};
constexpr const char* kCloseOrder[] = {
    ipc::kOsdWindow, "Orvex Gaming Mouse Pop3", "Orvex Gaming Mouse CPU RAM OSD",
    "Orvex Gaming Mouse OSD SKYPE", "Orvex Gaming Mouse OSD MSN"};

void ShellOpen(const std::string& path, const char* verb = "open") {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    // No error box for a missing applet or program: failures are silent.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb;
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExA(&info);
}

std::string ForegroundImage() {
    HWND fg = ::GetForegroundWindow();
    if (!fg)
        return {};
    DWORD pid = 0;
    ::GetWindowThreadProcessId(fg, &pid);
    win::unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process)
        return {};
    char path[MAX_PATH * 4];
    DWORD size = sizeof path;
    if (!::QueryFullProcessImageNameA(process.get(), 0, path, &size))
        return {};
    return std::string(path, size);
}

int ReadPacing(const std::string& config) {
    const int pct = int(::GetPrivateProfileIntA("Test", "PacingPercent", 100, config.c_str()));
    return pct >= 1 && pct <= 100 ? pct : 100;
}

} // namespace

CMonitorWnd::~CMonitorWnd() {
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

bool CMonitorWnd::Create() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    wc.hIcon = ::LoadIconA(wc.hInstance, MAKEINTRESOURCEA(128));
    ::RegisterClassA(&wc);
    HWND h = ::CreateWindowExA(0, kClassName, ipc::kMonitorWindow, WS_POPUP, 100, 100, 100, 100,
                               nullptr, nullptr, wc.hInstance, this);
    return h != nullptr;
}

LRESULT CALLBACK CMonitorWnd::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<CMonitorWnd*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        ::SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = h;
    }
    auto* self = reinterpret_cast<CMonitorWnd*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcA(h, msg, wp, lp);
    LRESULT r = self->Handle(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return r;
}

LRESULT CMonitorWnd::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_DESTROY:
        OnDestroy();
        ::PostQuitMessage(0);
        return 0;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case WM_DEVICECHANGE:
    case ipc::kAnsweredTrue:
        return TRUE;
    case ipc::kApplySettings:
        if (!HoldDuringReadBack(msg))
            OnApplySettings();
        return 0;
    case ipc::kTakeSharedBlock:
        if (!HoldDuringReadBack(msg))
            CopySharedToWorking();
        return 0;
    case ipc::kTakeSharedBlockAndMouseSettings:
        if (HoldDuringReadBack(msg))
            return 0;
        CopySharedToWorking();
        ApplyMouseSettingsOfCurrent();
        return 0;
    case kReadBackEndedMsg:
        OnReadBackEnded();
        return 0;
    case ipc::kAccepted1228:
    case ipc::kAccepted1229:
    case ipc::kAccepted1274:
        return 0;
    case ipc::kTrayNotify:
        OnTray(lp);
        return 0;
    case ipc::kDeviceEvent:
        OnDeviceEvent(wp, lp);
        return 0;
    case kForegroundChangedMsg:
        if (foreground_.OnMessage(wp) && gate_.present())
            DetectGame();
        return 0;
    case ipc::kDeviceArrival:
        if (wp == 1 || wp == 0)
            presence_.OnArrival(wp == 1);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return 0;
    default:
        if (tray_ && tray_->OnMessage(msg))
            return 0;
        return ::DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

bool CMonitorWnd::OnCreate() {
    ::CoInitialize(nullptr);
    // No common controls: the monitor makes none, and their library would
    // stay loaded for nothing.

    installDir_ = win::InstallDir();
    lan_.Load(installDir_);
    files_ = std::make_unique<ProfileFiles>(installDir_, LevelSet::Monitor);
    pacing_ = ReadPacing(ConfigPath());
    pollForeground_ =
        ::GetPrivateProfileIntA("Test", "ForegroundPoll", 0, ConfigPath().c_str()) == 1;
    tray_ = std::make_unique<TrayIcon>(hwnd_, kTrayId, ipc::kTrayNotify);
    tray_->SetLook(win::unique_hicon(static_cast<HICON>(::LoadImageA(
                       ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128), IMAGE_ICON,
                       ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0))),
                   lan_.Get(1004));

    wtsapi_.reset(::LoadLibraryA("wtsapi32.dll"));
    RegisterSession();

    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Mouse", 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) == ERROR_SUCCESS)
        mouseKey_.reset(key);

    hid_.Load(installDir_);

    {
        std::lock_guard g(working_.lock);
        working_.block.Reset();
        files_->LoadAll(working_.block);
    }
    PrivateProfileFile config(ConfigPath());
    osd_.Read(config);
    showProfileNotice_ = osd_.ShowProfileNotice();

    bool mutexExisted = false;
    const bool mapped = shared_.Create(&mutexExisted);
    if (mutexExisted) {
        // Another monitor owns it; or a configuration program still holds
        // it after a monitor died, and then we take over.
        HWND other = ::FindWindowA(nullptr, ipc::kMonitorWindow);
        while (other == hwnd_)
            other = ::FindWindowExA(nullptr, other, nullptr, ipc::kMonitorWindow);
        if (other) {
            win::DebugOut("CMonitorApp: %s\n", "another monitor owns the shared block");
            return false;
        }
    }
    if (mapped)
        CopyWorkingToShared();

    actions_.Start(hwnd_);
    worker_.Start([this](UINT message, WPARAM wp, LPARAM) {
        if (message == ipc::kDeviceJob)
            RunJob(wp);
    });

    ::SetWindowLongPtrA(hwnd_, GWL_EXSTYLE,
                        ::GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);

    if (!presence_.OpenAtStart(hwnd_, pacing_))
        files_->WriteDeviceState(false);
    ApplyMouseSettingsOfCurrent();
    LaunchApplets();
    return true;
}

// Session notifications may not be ready early in a sign-in: up to ten
// tries a second apart, on a timer, so start-up goes on meanwhile.
void CMonitorWnd::RegisterSession() {
    ::KillTimer(hwnd_, kTimerSession);
    if (!wtsapi_)
        return;
    auto reg = win::ProcAddress<BOOL(WINAPI*)(HWND, DWORD)>(wtsapi_.get(),
                                                            "WTSRegisterSessionNotification");
    if (!reg || reg(hwnd_, 0 /* this session */)) {
        sessionRegistered_ = reg != nullptr;
        return;
    }
    if (++sessionTries_ < kSessionTries)
        ::SetTimer(hwnd_, kTimerSession, 1000, nullptr);
}

void CMonitorWnd::MouseOpened(bool atStart) {
    tray_->Show();
    files_->WriteDeviceState(true);
    foreground_.Start(hwnd_, kTimerGame, pollForeground_);
    // The window in front now counts as well: the game may already be there.
    ::PostMessageA(hwnd_, kForegroundChangedMsg, 0, 0);
    if (!atStart) {
        QueueReadBack();
        return;
    }
    ::SetTimer(hwnd_, kTimerReadBack, 200, nullptr);
    if (showOptionAtStart_) {
        LinkIo io(hid_, &gate_, pacing_);
        ReadVersion(io, working_, *this);
        OnCustomizer();
    }
}

void CMonitorWnd::MouseGone() {
    actions_.ReleaseEverything();
    tray_->Hide();
    foreground_.Stop();
    files_->WriteDeviceState(false);
    if (HWND dialog = ::FindWindowA(nullptr, ipc::kDialogWindow))
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
}

void CMonitorWnd::OnDestroy() {
    foreground_.Stop();
    ::KillTimer(hwnd_, kTimerReadBack);
    ::KillTimer(hwnd_, kTimerSession);
    presence_.Stop();
    // A playing macro is stopped, not waited for; its keys come up.
    actions_.Stop();
    // Stop a busy worker before anything else talks to the mouse, so two
    // report exchanges never interleave.
    const bool present = gate_.present();
    gate_.Close();
    worker_.Stop();
    if (present) {
        LinkIo io(hid_, nullptr, pacing_);
        SendHostAttached(io, false);
    }
    CloseOtherWindows();
    hid_.CloseMonitor();
    hid_.CloseDevice();
    hid_.Unload();
    if (wtsapi_) {
        auto unreg = win::ProcAddress<BOOL(WINAPI*)(HWND)>(wtsapi_.get(),
                                                           "WTSUnRegisterSessionNotification");
        if (unreg && sessionRegistered_)
            unreg(hwnd_);
        wtsapi_.reset();
    }
    ::CoUninitialize();
    shared_.Close();
    tray_.reset();
    lan_.Unload();
}

void CMonitorWnd::CloseOtherWindows() {
    if (HWND dialog = ::FindWindowA(nullptr, ipc::kDialogWindow))
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    for (const char* name : kCloseOrder)
        if (HWND w = ::FindWindowA(nullptr, name))
            ::PostMessageA(w, WM_CLOSE, 0, 0);
}

void CMonitorWnd::LaunchApplets() {
    for (const char* applet : kApplets)
        ShellOpen(installDir_ + applet);
}

void CMonitorWnd::OnTimer(UINT_PTR id) {
    if (actions_.OnTimer(id) || presence_.OnTimer(id))
        return;
    if (foreground_.OnTimer(id)) {
        if (gate_.present())
            DetectGame();
        return;
    }
    switch (id) {
    case kTimerReadBack:
        ::KillTimer(hwnd_, kTimerReadBack);
        QueueReadBack();
        break;
    case kTimerSession:
        RegisterSession();
        break;
    default:
        break;
    }
}

void CMonitorWnd::DetectGame() {
    const std::string image = ForegroundImage();
    if (image.empty())
        return;
    std::optional<int> match;
    int current;
    {
        std::lock_guard g(working_.lock);
        match = ProfileForProgram(working_.block, image);
        current = working_.block.CurrentProfile();
    }
    if (match && *match != current)
        HostProfileSwitch(*match);
}

void CMonitorWnd::OnTray(LPARAM mouseMessage) {
    switch (LOWORD(mouseMessage)) {
    case WM_LBUTTONDOWN: {
        HWND popup = ::GetLastActivePopup(hwnd_);
        if (::IsIconic(popup))
            ::ShowWindow(popup, SW_RESTORE);
        ::SetForegroundWindow(popup);
        break;
    }
    case WM_LBUTTONDBLCLK:
        win::DebugOut("OnSystrayNotify WM_LBUTTONDBLCLK\n");
        OnCustomizer();
        break;
    case WM_RBUTTONDOWN: {
        ::SetForegroundWindow(::GetLastActivePopup(hwnd_));
        win::unique_hmenu menu(::CreatePopupMenu());
        if (!menu)
            break;
        ::AppendMenuA(menu.get(), MF_STRING, ipc::kCmdOpenOption, lan_.Get(1002).c_str());
        ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(menu.get(), MF_STRING, ipc::kCmdExit, lan_.Get(1003).c_str());
        ::SetMenuDefaultItem(menu.get(), ipc::kCmdOpenOption, FALSE);
        POINT pt;
        ::GetCursorPos(&pt);
        ::TrackPopupMenu(menu.get(), TPM_LEFTBUTTON, pt.x, pt.y, 0, hwnd_, nullptr);
        ::PostMessageA(hwnd_, WM_NULL, 0, 0);
        break;
    }
    default:
        break;
    }
}

void CMonitorWnd::OnCommand(UINT id) {
    if (id == ipc::kCmdOpenOption)
        OnCustomizer();
    else if (id == ipc::kCmdExit)
        ::PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void CMonitorWnd::OnCustomizer() {
    win::DebugOut("CMonitorWnd OnCustomizer\n");
    if (HWND dialog = ::FindWindowA(nullptr, ipc::kDialogWindow)) {
        win::DebugOut("CMonitorWnd OnCustomizer hWnd!=NULL\n");
        if (::IsIconic(dialog))
            ::ShowWindow(dialog, SW_RESTORE);
        ::SetForegroundWindow(dialog);
        ::SetActiveWindow(dialog);
        return;
    }
    win::DebugOut("CMonitorWnd OnCustomizer hWnd==NULL\n");
    ShellOpen(installDir_ + "Option");
}

LRESULT CMonitorWnd::OnCopyData(const COPYDATASTRUCT* data) {
    const auto message = data ? NoticeText(data->lpData, data->cbData) : std::nullopt;
    if (!message)
        return 1;
    ::WritePrivateProfileStringA("OSDData", "Message", message->c_str(), ConfigPath().c_str());
    if (gate_.present())
        PostToOsd(ipc::kOsdShow, 50, 0);
    return 1;
}

void CMonitorWnd::OnApplySettings() {
    CopySharedToWorking();
    ApplyMouseSettingsOfCurrent();
    PrivateProfileFile config(ConfigPath());
    osd_.Read(config);
    showProfileNotice_ = osd_.ShowProfileNotice();
    PostToOsd(ipc::kOsdPlace, 0,
              LPARAM((uint32_t(osd_.DisplayHigh() & 0xFFFF) << 16) | (osd_.DisplayLow() & 0xFFFF)));
    if (gate_.present() && worker_.Post(ipc::kDeviceJob, ipc::kJobApply, 0))
        return;
    if (!::FindWindowA(nullptr, ipc::kDialogWindow))
        win::DebugOut("OnApplyAllSetting Don't find Dorvan Option Dialog\n");
    win::DebugOut("OnApplyAllSetting  Send Enable OK/Apply Button\n");
    PostToDialog(ipc::kApplyDone);
}

void CMonitorWnd::OnDeviceEvent(WPARAM wp, LPARAM lp) {
    const DeviceEvent e = DecodeDeviceEvent(uint32_t(wp), uint32_t(lp));
    switch (e.kind) {
    case EventKind::DeviceProfile:
        DeviceProfileSwitch(e.number);
        break;
    case EventKind::ButtonNotice:
        // The action first, so the notice never delays the macro's start.
        actions_.OnButton(e.number, e.release);
        if (!e.release)
            MacroNotice(e.number);
        break;
    case EventKind::Button:
        actions_.OnButton(e.number, e.release);
        break;
    case EventKind::Media:
        actions_.OnMedia(e.number, e.release);
        break;
    case EventKind::Tilt:
        actions_.OnTilt(e.direction);
        break;
    case EventKind::RunProgram:
        RunProgram(e.number);
        break;
    case EventKind::Plug:
        presence_.OnArrival(e.number == 1);
        break;
    case EventKind::OpenOption:
        ::PostMessageA(hwnd_, WM_COMMAND, ipc::kCmdOpenOption, 0);
        break;
    case EventKind::Stage:
    case EventKind::Sensitivity:
    case EventKind::Polling: {
        bool changed = false;
        {
            std::lock_guard g(working_.lock);
            const int p = working_.block.CurrentProfile();
            if (SettingsBlock::IsProfileIndex(p))
                changed = ApplyDeviceValue(e, working_.block.Profile(p));
        }
        if (changed) {
            CopyWorkingToShared();
            PostToDialog(ipc::kDeviceValuesChanged);
        }
        break;
    }
    default:
        break;
    }
}

void CMonitorWnd::DeviceProfileSwitch(int profile) {
    {
        std::lock_guard g(working_.lock);
        working_.block.SetCurrentProfile(profile);
    }
    char text[32];
    std::snprintf(text, sizeof text, "Profile %d", profile + 1);
    ::WritePrivateProfileStringA("OSDData", "Message", text, ConfigPath().c_str());
    files_->WriteCurrentProfileIndex(profile);
    CopyWorkingToShared();
    ApplyMouseSettingsOfCurrent(true);
    PostToDialog(ipc::kProfileChanged);
    ShowProfileNotice();
    PostToDialog(ipc::kDeviceValuesChanged);
    PostToOsd(ipc::kOsdShow, 50, 0);
}

void CMonitorWnd::HostProfileSwitch(int profile) {
    {
        std::lock_guard g(working_.lock);
        working_.block.SetCurrentProfile(profile);
    }
    CopyWorkingToShared();
    worker_.Post(ipc::kDeviceJob, ipc::kJobProfile, 0);
    ApplyMouseSettingsOfCurrent(true);
    PostToDialog(ipc::kProfileChanged);
    ShowProfileNotice();
}

void CMonitorWnd::RunProgram(int button) {
    std::string path;
    {
        std::lock_guard g(working_.lock);
        const int p = working_.block.CurrentProfile();
        if (!SettingsBlock::IsProfileIndex(p))
            return;
        ButtonView b = working_.block.Profile(p).Button(button - 1);
        if (b.Get(btn::FunctionType) != fn::RunProgram)
            return;
        path = b.Get(btn::ProgramPath);
    }
    if (!path.empty())
        ShellOpen(path);
}

void CMonitorWnd::MacroNotice(int button) {
    if (!osd_.ShowMacroNotice())
        return;
    std::string name;
    {
        std::lock_guard g(working_.lock);
        const int p = working_.block.CurrentProfile();
        if (!SettingsBlock::IsProfileIndex(p))
            return;
        ButtonView b = working_.block.Profile(p).Button(button - 1);
        if (b.Get(btn::FunctionType) != fn::Macro)
            return;
        name = b.Get(btn::MacroName);
    }
    const std::string config = ConfigPath();
    ::WritePrivateProfileStringA("MacroOSD", "Number", std::to_string(button - 1).c_str(),
                                 config.c_str());
    ::WritePrivateProfileStringA("MacroOSD", "MacroName", name.c_str(), config.c_str());
    PostToOsd(ipc::kOsdShow, 70, 0);
}

void CMonitorWnd::ApplyMouseSettingsOfCurrent(bool writeRegistry) {
    // Work on a copy: applying broadcasts to every window, and the lock is
    // never held across that.
    std::array<uint8_t, kProfileSize> copy;
    int p;
    {
        std::lock_guard g(working_.lock);
        p = working_.block.CurrentProfile();
        if (!SettingsBlock::IsProfileIndex(p))
            return;
        std::memcpy(copy.data(), working_.block.Profile(p).data(), kProfileSize);
    }
    ProfileView profile(copy.data());
    if (writeRegistry)
        MouseRegistry().Write(profile);
    ApplyWindowsMouseSettings(profile, hwnd_, mouseKey_.get());
    std::lock_guard g(working_.lock);
    if (working_.block.CurrentProfile() == p)
        working_.block.Profile(p).Set(prof::Acceleration, profile.Get(prof::Acceleration));
}

void CMonitorWnd::QueueReadBack() {
    if (worker_.Post(ipc::kDeviceJob, ipc::kJobReadBack, 0))
        ++readBacksQueued_;
}

// A read-back fills the working block profile by profile, then saves and
// shares it. A notice that replaces the block from the shared one (1224,
// 1226, 1227) meanwhile would be mixed into that, and an apply would send
// the mix. So the notice is held, with the shared block as it was when it
// came, and carried out once the read-back has ended.
bool CMonitorWnd::HoldDuringReadBack(UINT msg) {
    if (readBacksQueued_ == 0)
        return false;
    auto held = std::make_unique<SettingsBlock>();
    if (!shared_.IsOpen() || !shared_.CopyIn(*held))
        return false;
    heldBlock_ = std::move(held);
    // An apply does all a 1227 does, and a 1227 all a 1226 does.
    auto rank = [](UINT m) {
        return m == ipc::kApplySettings                     ? 3
               : m == ipc::kTakeSharedBlockAndMouseSettings ? 2
               : m == ipc::kTakeSharedBlock                 ? 1
                                                            : 0;
    };
    if (rank(msg) > rank(heldNotice_))
        heldNotice_ = msg;
    win::DebugOut("CMonitorWnd: notice %u held until the read-back ends\n", msg);
    return true;
}

void CMonitorWnd::OnReadBackEnded() {
    if (readBacksQueued_ > 0)
        --readBacksQueued_;
    if (readBacksQueued_ > 0)
        return; // held until the last one ends
    const UINT notice = heldNotice_;
    heldNotice_ = 0;
    const auto held = std::move(heldBlock_);
    if (!notice || !held)
        return;
    // The held block replaces what the read-back shared, and the dialog is
    // told to look again, so it shows what is being applied.
    if (shared_.IsOpen() && !shared_.CopyOut(*held))
        win::DebugOut("CMonitorWnd: copy to shared failed\n");
    if (notice == ipc::kApplySettings)
        files_->SaveAll(*held);
    PostToDialog(ipc::kSettingsReadBack);
    Handle(notice, 0, 0);
}

void CMonitorWnd::CopyWorkingToShared() {
    std::lock_guard g(working_.lock);
    if (shared_.IsOpen() && !shared_.CopyOut(working_.block))
        win::DebugOut("CMonitorWnd: copy to shared failed\n");
}

void CMonitorWnd::CopySharedToWorking() {
    std::lock_guard g(working_.lock);
    if (shared_.IsOpen() && !shared_.CopyIn(working_.block))
        win::DebugOut("CMonitorWnd: copy from shared failed\n");
}

void CMonitorWnd::PostToDialog(UINT msg) const {
    if (HWND dialog = ::FindWindowA(nullptr, ipc::kDialogWindow))
        ::PostMessageA(dialog, msg, 0, 0);
}

void CMonitorWnd::PostToOsd(UINT msg, WPARAM wp, LPARAM lp) const {
    if (HWND osd = ::FindWindowA(nullptr, ipc::kOsdWindow))
        ::PostMessageA(osd, msg, wp, lp);
}

void CMonitorWnd::RunJob(WPARAM job) {
    // A read-back, run or refused, lets the window thread carry out what
    // it held meanwhile.
    struct ReadBackEnd {
        HWND window;
        bool readBack;
        ~ReadBackEnd() {
            if (readBack)
                ::PostMessageA(window, kReadBackEndedMsg, 0, 0);
        }
    } end{hwnd_, job == ipc::kJobReadBack};
    // Refused when the mouse is gone or going: the removal and the start
    // are one atomic state, so no abort is lost between them.
    if (!gate_.BeginJob())
        return;
    LinkIo io(hid_, &gate_, pacing_);
    switch (job) {
    case ipc::kJobApply:
        ApplyJob(io, working_, *this);
        break;
    case ipc::kJobReadBack:
        ReadBackJob(io, working_, *this);
        break;
    case ipc::kJobProfile:
        ProfileJob(io, working_, *this);
        break;
    default:
        break;
    }
    gate_.EndJob();
}

// JobHost, on the device worker.
void CMonitorWnd::SaveAll(const SettingsBlock& block) {
    files_->SaveAll(block);
}

void CMonitorWnd::CopyToShared(const SettingsBlock& block) {
    if (shared_.IsOpen() && !shared_.CopyOut(block))
        win::DebugOut("CMonitorWnd: copy to shared failed\n");
}

void CMonitorWnd::SettingsReadBack() {
    PostToDialog(ipc::kSettingsReadBack);
}

void CMonitorWnd::ApplyDone() {
    win::DebugOut("Thread Send Enable OK/Apply Button\n");
    PostToDialog(ipc::kApplyDone);
}

void CMonitorWnd::ShowProfileNotice() {
    if (!showProfileNotice_)
        return;
    int p;
    {
        std::lock_guard g(working_.lock);
        p = working_.block.CurrentProfile();
    }
    if (SettingsBlock::IsProfileIndex(p))
        PostToOsd(ipc::kOsdShow, 40, LPARAM(p) << 16);
}

void CMonitorWnd::WriteFirmwareVersion(int version) {
    files_->WriteFirmwareVersion(version);
}

} // namespace gm::mon
