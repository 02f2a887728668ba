#include "option/main_dialog_win.h"

#include "option/dialogs/file_dialogs_win.h"
#include "option/dialogs/profile_dialog_win.h"
#include "option/link_logic.h"
#include "option/macros/macro_store_win.h"
#include "shared/private_profile_win.h"
#include "shared/profile_files_win.h"
#include "shared/mouse_registry_win.h"
#include "skin/composite_paint_win.h"
#include "skin/late_windows_win.h"
#include "skin/menu_frame_hook_win.h"
#include "skin/skin_messages_win.h"
#include "win/install_dir.h"
#include "win/startup_marks.h"
#include <cstdio>
#include <cstring>

namespace gm::option {
namespace {

constexpr const char* kApplets[] = {"Orvex Gaming Mouse Pop3", "Orvex Gaming Mouse CPU RAM OSD",
                                    "Orvex Gaming Mouse OSD SKYPE", "Orvex Gaming Mouse OSD MSN"};
constexpr char kProfileFilter[] = "Gaming Mouse Profile(*.gmp)\0*.gmp\0";
// The rectangle the firmware version was once drawn in; repainted as well,
// so nothing drawn there by older artwork keeps a stale version.
constexpr RECT kLegacyVersionRect{308, 252, 348, 282};

bool CanOpenForReading(const std::string& path) {
    const win::unique_file f(::CreateFileA(path.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return bool(f);
}

std::string Trimmed(std::string s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// A profile file has a "Setting" section; anything else is not one.
bool IsProfileFile(const std::string& path) {
    char names[64] = "";
    return ::GetPrivateProfileStringA("Setting", nullptr, "", names, sizeof(names), path.c_str()) >
           0;
}

} // namespace

MainDialog::MainDialog()
    : pages_{&lightingPage_, &sensitivityPage_, &systemPage_, &advancePage_, &buttonsPage_} {}

MainDialog::~MainDialog() = default;

int MainDialog::Run() {
    installDir_ = win::InstallDir();
    skinFolder_ = installDir_ + "skins\\";
    return RunModal(skinFolder_, "skin_main.ini", nullptr);
}

void MainDialog::CreateControls(skin::WindowSkin& skin) {
    // The dialog's paint draws its controls too (PresentWithDescendants), so
    // it does not clip them.
    ::SetWindowLongPtrA(hwnd(), GWL_STYLE,
                        (::GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~LONG_PTR(WS_CLIPCHILDREN)) |
                            WS_SYSMENU | WS_MINIMIZEBOX);
    ::SetWindowLongPtrA(hwnd(), GWL_EXSTYLE,
                        ::GetWindowLongPtrA(hwnd(), GWL_EXSTYLE) | WS_EX_APPWINDOW);
    win::StartupMark("main skin");
    lan_.Load(installDir_);
    win::StartupMark("language library");
    // The controls shown at start get their windows at the end of the first
    // paint, which draws them from the objects.
    const skin::LateWindowsScope late;
    const auto& sheets = skin.sheets();
    newButton_.Create(skin.Record(kNew), sheets, hwnd());
    importButton_.Create(skin.Record(kImport), sheets, hwnd());
    exportButton_.Create(skin.Record(kExport), sheets, hwnd());
    editButton_.Create(skin.Record(kEdit), sheets, hwnd());
    for (int i = 0; i < 5; ++i) {
        selectors_[std::size_t(i)].Create(skin.Record(kFirstSelector + i), sheets, hwnd());
        const skin::ControlRecord r = skin.Record(kFirstLabel + i);
        labels_[std::size_t(i)].Create(RECT{r.left, r.top, r.right, r.bottom}, hwnd());
        labels_[std::size_t(i)].SetHoverText(r.text);
        tabs_[std::size_t(i)].Create(skin.Record(kFirstTab + i), sheets, hwnd());
    }
    minimise_.Create(skin.Record(kMinimise), sheets, hwnd());
    close_.Create(skin.Record(kClose), sheets, hwnd());
    ok_.Create(skin.Record(kOk), sheets, hwnd());
    apply_.Create(skin.Record(kApply), sheets, hwnd());
    cancel_.Create(skin.Record(kCancel), sheets, hwnd());
    logo_.Create(skin.Record(kLogo), sheets, hwnd());

    const skin::ControlRecord area = skin.Record(kPageArea);
    pageArea_ = RECT{area.left, area.top, area.right, area.bottom};
    win::StartupMark("main controls");
    // Only the page shown at start is made now; the others follow one at a
    // time after the first paint, or at once when their tab is clicked.
    EnsurePage(4);
    win::StartupMark("first page");
    currentPage_ = 4;
    tabs_[4].SetLatched(true);
    ::ShowWindow(buttonsPage_.hwnd(), SW_SHOW);
}

bool MainDialog::EnsurePage(int index) {
    Page* page = pages_[std::size_t(index)];
    if (page->hwnd())
        return true;
    if (!page->CreatePage(hwnd()))
        return false;
    ::MoveWindow(page->hwnd(), pageArea_.left, pageArea_.top, pageArea_.right - pageArea_.left,
                 pageArea_.bottom - pageArea_.top, TRUE);
    // A page made after the settings were read shows them at once.
    if (settingsRead_)
        page->Refresh();
    return true;
}

void MainDialog::SetIcon() {
    if (icon_)
        return;
    icon_.reset(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128),
                                                IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    ::SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

void MainDialog::CreateNextPage() {
    // The icon goes to the window manager at the first tick, after the first
    // paint: handing it over takes milliseconds nobody needs to wait for.
    SetIcon();
    // Each page is tried once here; one that cannot be made is tried again
    // only when its tab is clicked.
    while (nextPage_ < int(pages_.size())) {
        const int i = nextPage_++;
        if (!pages_[std::size_t(i)]->hwnd()) {
            // One page per tick: a timer comes only when no input and no
            // paint is waiting, so neither is held up by the pages.
            EnsurePage(i);
            return;
        }
    }
    ::KillTimer(hwnd(), kCreateNextPage);
    // Start-up made its windows and painted them without the menu frame
    // hook, which every message sent would pass through; a menu opened
    // before now brought it itself.
    skin::MenuFrameHook::InstallIfAskedFor();
}

void MainDialog::RefreshPage(Page& page) {
    if (page.hwnd())
        page.Refresh();
}

bool MainDialog::OnInitDialog() {
    skin::SetHoverTextWindow(hwnd());
    // The monitor finds this window by its caption.
    ::SetWindowTextA(hwnd(), ipc::kDialogWindow);
    applied_.Reset();
    shared_.OpenMutex();
    const ProfileFiles files(installDir_, LevelSet::Option);
    firmwareText_ = FirmwareTextAtStart(files.ReadFirmwareVersion());
    versionText_ = kVersionText;

    SharedBlock::MapResult mapped = shared_.OpenMapping();
    if (mapped == SharedBlock::MapResult::ViewFailed)
        ::MessageBoxA(hwnd(), "Could not map view of file.", nullptr, MB_OK);
    const bool sharedOpen = mapped == SharedBlock::MapResult::Opened;
    if (sharedOpen) {
        if (shared_.CopyIn(applied_))
            ClearFlags(applied_);
    } else {
        files.LoadAll(applied_);
    }
    const bool storeSound = LoadMacroStore(installDir_, macros_);
    {
        PrivateProfileFile config(ConfigPath());
        osd_.Read(config);
    }
    working_ = applied_;
    // The store is written back when the buttons brought macros it lacked,
    // or when it is missing or damaged; a sound store is left as it is.
    if (macros_.Merge(working_) || !storeSound)
        SaveMacros();
    if (sharedOpen && working_.HasCurrentProfile())
        MouseRegistry().Read(working_.Profile(working_.CurrentProfile()));
    RefreshAll();
    string1000_ = lan_.Get(1000);
    string1001_ = lan_.Get(1001);
    settingsRead_ = true;
    win::StartupMark("settings");
    return false;
}

std::string MainDialog::VersionLine() const {
    return option::VersionLine(string1000_, versionText_, string1001_, firmwareText_);
}

void MainDialog::Paint(HDC dc) {
    if (!painted_)
        win::StartupMark("paint message");
    if (::IsIconic(hwnd())) {
        SetIcon();
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        ::DrawIcon(dc, (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2,
                   (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2, icon_.get());
        return;
    }
    const SIZE s = skin().size();
    skin::OffscreenBuffer buffer(dc, s.cx, s.cy);
    skin().Paint(buffer.dc());
    win::unique_hfont font(::CreateFontA(8, 4, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
    {
        win::select_object selected(buffer.dc(), font.get());
        ::SetTextColor(buffer.dc(), 0xEBEBEB);
        ::SetBkMode(buffer.dc(), TRANSPARENT);
        RECT where = kVersionRect;
        const std::string line = VersionLine();
        ::DrawTextA(buffer.dc(), line.c_str(), int(line.size()), &where,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    // A paint of the whole window draws its controls too, in the same go.
    if (PaintingWindow())
        skin::PresentWithDescendants(hwnd(), dc, buffer);
    else
        buffer.Present();
    if (!painted_) {
        painted_ = true;
        win::StartupMark("control windows made");
        ::SetTimer(hwnd(), kCreateNextPage, USER_TIMER_MINIMUM, nullptr);
    }
}

void MainDialog::OnCommand(HWND control, int) {
    if (control == newButton_.hwnd()) {
        OpenProfileDialog(1);
    } else if (control == editButton_.hwnd()) {
        OpenProfileDialog(0);
    } else if (control == importButton_.hwnd()) {
        if (Import())
            Apply(0);
    } else if (control == exportButton_.hwnd()) {
        Export();
    } else if (control == minimise_.hwnd()) {
        ::ShowWindow(hwnd(), SW_MINIMIZE);
    } else if (control == close_.hwnd() || control == cancel_.hwnd()) {
        CloseWithoutApplying();
    } else if (control == ok_.hwnd()) {
        Apply(0);
        ::PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    } else if (control == apply_.hwnd()) {
        Apply(0);
    } else {
        for (int i = 0; i < 5; ++i) {
            if (control == selectors_[std::size_t(i)].hwnd())
                SelectProfile(i);
            else if (control == tabs_[std::size_t(i)].hwnd())
                ShowPage(i);
        }
    }
}

LRESULT MainDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case ipc::kApplyDone:
        EndWaiting();
        return 0;
    case ipc::kProfileChanged:
        OnProfileChanged();
        return 0;
    case ipc::kSettingsReadBack:
        OnReadBack();
        return 0;
    case ipc::kDeviceValuesChanged:
        OnDeviceValuesChanged();
        return 0;
    case WM_TIMER:
        if (wp == kCreateNextPage) {
            CreateNextPage();
            return 0;
        }
        break;
    case skin::UM_BUTTON_HOVER:
    case skin::UM_HOVER_TEXT:
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(icon_.get());
    case WM_SETCURSOR:
        if (waiting_) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_DESTROY:
        shared_.Close();
        macros_.FreeAll();
        lan_.Unload();
        skin::SetHoverTextWindow(nullptr);
        break;
    default:
        break;
    }
    return SkinDialog::OnMessage(msg, wp, lp);
}

void MainDialog::SelectProfile(int index) {
    working_.SetCurrentProfile(index);
    RefreshAll();
}

void MainDialog::ShowPage(int tab) {
    if (tab == currentPage_ || !EnsurePage(tab))
        return;
    if (currentPage_ >= 0)
        ::ShowWindow(pages_[std::size_t(currentPage_)]->hwnd(), SW_HIDE);
    ::ShowWindow(pages_[std::size_t(tab)]->hwnd(), SW_SHOW);
    currentPage_ = tab;
    for (int i = 0; i < 5; ++i)
        tabs_[std::size_t(i)].SetLatched(i == tab);
}

void MainDialog::RefreshLabels() {
    const int c = working_.CurrentProfile();
    for (int i = 0; i < 5; ++i) {
        labels_[std::size_t(i)].SetText(working_.Profile(i).Get(prof::ProFileName));
        labels_[std::size_t(i)].SetSelected(i == c);
    }
}

void MainDialog::RefreshAll() {
    const int c = working_.CurrentProfile();
    if (SettingsBlock::IsProfileIndex(c))
        for (int i = 0; i < 5; ++i)
            selectors_[std::size_t(i)].SetLatched(i == c);
    RefreshLabels();
    for (Page* page : pages_)
        RefreshPage(*page);
}

bool MainDialog::NotifyMonitor(int code) const {
    const HWND monitor = ::FindWindowA(nullptr, ipc::kMonitorWindow);
    if (!monitor)
        return false;
    ::PostMessageA(monitor, ipc::kApplySettings, WPARAM(code), 0);
    return true;
}

void MainDialog::SaveMacros() const {
    SaveMacroStore(installDir_, macros_);
}

void MainDialog::SetApplyButtonsEnabled(bool enabled) {
    for (skin::SkinButton* b : {&ok_, &apply_}) {
        ::EnableWindow(b->hwnd(), enabled ? TRUE : FALSE);
        ::UpdateWindow(b->hwnd());
    }
}

void MainDialog::Apply(int code) {
    ::SetCapture(hwnd());
    waiting_ = true;
    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    SetApplyButtonsEnabled(false);
    if (code != 1)
        DetectChanges(applied_, working_);
    if (shared_.HasMapping())
        (void)shared_.CopyOut(working_);
    {
        PrivateProfileFile config(ConfigPath());
        osd_.Write(config);
    }
    ProfileFiles(installDir_, LevelSet::Option).SaveAll(working_);
    const bool monitorFound = NotifyMonitor(code);
    for (const char* applet : kApplets)
        if (const HWND w = ::FindWindowA(nullptr, applet))
            ::PostMessageA(w, ipc::kApplySettings, 0, 0);
    ClearFlags(working_);
    applied_ = working_;
    SaveMacros();
    if (!monitorFound)
        EndWaiting();
}

void MainDialog::EndWaiting() {
    SetApplyButtonsEnabled(true);
    waiting_ = false;
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    if (::GetCapture() == hwnd())
        ::ReleaseCapture();
}

void MainDialog::CloseWithoutApplying() {
    if (::GetCapture() == hwnd()) {
        waiting_ = false;
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        ::ReleaseCapture();
    }
    ::PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void MainDialog::ResetToDefaults(bool alsoDisplaySettings) {
    for (int p = 0; p < kProfileCount; ++p)
        working_.Profile(p).MakeDefault(p, LevelSet::Option);
    working_.SetCurrentProfile(0);
    if (alsoDisplaySettings)
        osd_.Reset();
    MarkAllChanged(working_);
    RefreshAll();
    Apply(1);
}

void MainDialog::OnProfileChanged() {
    if (shared_.CopyIn(applied_))
        ClearFlags(applied_);
    working_ = applied_;
    RefreshAll();
}

void MainDialog::OnReadBack() {
    firmwareText_ = FirmwareTextAfterReadBack(
        ProfileFiles(installDir_, LevelSet::Option).ReadFirmwareVersion());
    ::InvalidateRect(hwnd(), &kVersionRect, TRUE);
    ::InvalidateRect(hwnd(), &kLegacyVersionRect, TRUE);
    if (shared_.CopyIn(applied_))
        ClearFlags(applied_);
    working_ = applied_;
    RefreshAll();
    macros_.Merge(working_);
    SaveMacros();
}

void MainDialog::OnDeviceValuesChanged() {
    (void)shared_.CopyIn(applied_);
    const int p = applied_.CurrentProfile();
    if (SettingsBlock::IsProfileIndex(p)) {
        const ProfileView from = applied_.Profile(p);
        ProfileView to = working_.Profile(p);
        for (I32Field f :
             {prof::CpiStep, prof::Sensitivity_X, prof::Sensitivity_Y, prof::PollingRate})
            to.Set(f, from.Get(f));
    }
    RefreshPage(sensitivityPage_);
    RefreshPage(advancePage_);
}

bool MainDialog::OpenProfileDialog(int mode) {
    const int c = working_.CurrentProfile();
    if (!SettingsBlock::IsProfileIndex(c))
        return false;
    ProfileDialog dialog(working_.Profile(c), mode == 1);
    if (dialog.Run(skinFolder_, hwnd()) != skin::kDialogOk)
        return false;
    RefreshLabels();
    return true;
}

namespace {
// The platform's file dialog with the profile file settings; "" when cancelled.
std::string AskProfilePath(HWND owner, const std::string& installDir, bool save) {
    char file[MAX_PATH] = "";
    std::snprintf(file, sizeof(file), "%sconfig\\.gmp", installDir.c_str());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kProfileFilter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrDefExt = "*.gmp";
    ofn.Flags = save ? (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN)
                     : (OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    ofn.Flags |= OFN_EXPLORER;
    const bool chosen = save ? RunSaveFileDialog(ofn) : RunOpenFileDialog(ofn);
    return chosen ? std::string(file) : std::string();
}
} // namespace

bool MainDialog::Import() {
    const int c = working_.CurrentProfile();
    if (!SettingsBlock::IsProfileIndex(c))
        return false;
    const std::string path = Trimmed(AskProfilePath(hwnd(), installDir_, false));
    // A file that is not a profile file would fill the profile with "missing" values.
    if (path.empty() || !CanOpenForReading(path) || !IsProfileFile(path))
        return false;
    ProfileFiles::LoadProfile(working_.Profile(c), path);
    for (int b = 0; b < kButtonCount; ++b)
        working_.SetButtonChangeFlag(c, b, 1);
    macros_.MergeProfile(working_.Profile(c));
    RefreshAll();
    return true;
}

void MainDialog::Export() {
    const int c = working_.CurrentProfile();
    if (!SettingsBlock::IsProfileIndex(c))
        return;
    const std::string path = AskProfilePath(hwnd(), installDir_, true);
    if (path.empty())
        return;
    if (CanOpenForReading(path))
        ::DeleteFileA(path.c_str());
    ProfileFiles::SaveProfile(working_.Profile(c), path);
}

} // namespace gm::option
