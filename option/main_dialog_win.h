#pragma once
// The one top-level window of the configuration program: five profile
// selectors and their names, the profile file buttons, five page tabs over
// one page area, OK / Apply / Cancel / Close / Minimise. Pages edit the
// working block; Apply hands it to the monitor through the shared block.
#include "option/macros/macro_list.h"
#include "option/option_host_win.h"
#include "option/pages/advance_page_win.h"
#include "option/pages/buttons_page_win.h"
#include "option/pages/lighting_page_win.h"
#include "option/pages/sensitivity_page_win.h"
#include "option/pages/system_page_win.h"
#include "shared/lan_strings_win.h"
#include "shared/osd_settings.h"
#include "shared/messages.h"
#include "shared/shared_block_win.h"
#include "skin/skin_button_win.h"
#include "skin/skin_dialog_win.h"
#include "skin/text_label_win.h"
#include <array>
#include <string>

namespace gm::option {

// Where the version line is drawn: the free strip at the bottom left.
inline constexpr RECT kVersionRect{20, 554, 470, 572};

class MainDialog : public skin::SkinDialog, public OptionHost {
  public:
    MainDialog();
    ~MainDialog() override;
    int Run();

    // OptionHost
    SettingsBlock& Working() override { return working_; }
    MacroList& Macros() override { return macros_; }
    const LanguageLibrary& Lan() const override { return lan_; }
    const std::string& InstallDir() const override { return installDir_; }
    const std::string& SkinFolder() const override { return skinFolder_; }
    HWND MainWindow() const override { return hwnd(); }
    void Apply(int code) override;
    void RefreshAll() override;
    void ResetToDefaults(bool alsoDisplaySettings) override;
    bool Import() override;
    void Export() override;
    bool OpenProfileDialog(int mode) override;

    const std::string& firmwareText() const { return firmwareText_; }
    std::string VersionLine() const;
    bool waiting() const { return waiting_; }
    void Paint(HDC dc) override;

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    bool OnInitDialog() override;
    void OnCommand(HWND control, int code) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    enum Key {
        kNew = 1,
        kImport = 2,
        kExport = 3,
        kEdit = 4,
        kFirstSelector = 5,
        kMinimise = 10,
        kClose = 11,
        kOk = 12,
        kApply = 13,
        kCancel = 14,
        kFirstLabel = 15,
        kFirstTab = 35,
        kPageArea = 42,
        kLogo = 51
    };
    void SelectProfile(int index);
    void ShowPage(int tab);
    // Makes page `index` (placed, hidden, showing the settings once read)
    // unless it exists; false when it could not be made.
    bool EnsurePage(int index);
    // Makes the first page still missing; the timer kCreateNextPage calls it
    // until every page is made.
    void CreateNextPage();
    // Loads the program's icon and gives it to the window, once.
    void SetIcon();
    void RefreshPage(Page& page);
    static constexpr UINT_PTR kCreateNextPage = 1; // timer
    void RefreshLabels();
    void CloseWithoutApplying();
    void EndWaiting();
    void SetApplyButtonsEnabled(bool enabled);
    void OnReadBack();
    void OnProfileChanged();
    void OnDeviceValuesChanged();
    bool NotifyMonitor(int code) const;
    void SaveMacros() const;
    std::string ConfigPath() const { return installDir_ + "config.ini"; }

    std::string installDir_, skinFolder_;
    LanguageLibrary lan_;
    std::string string1000_, string1001_, firmwareText_;
    std::string versionText_;
    SharedBlock shared_;
    SettingsBlock applied_, working_;
    MacroList macros_;
    OsdSettingsRecord osd_;
    bool waiting_ = false;
    bool painted_ = false;      // the first paint is marked for the start-up benchmark
    bool settingsRead_ = false; // pages made later refresh themselves
    int nextPage_ = 0;          // the next page made after the first paint

    skin::SkinButton newButton_, importButton_, exportButton_, editButton_;
    std::array<skin::SkinButton, 5> selectors_;
    std::array<skin::TextLabel, 5> labels_;
    skin::SkinButton minimise_, close_, ok_, apply_, cancel_, logo_;
    std::array<skin::SkinButton, 5> tabs_;
    RECT pageArea_{};
    LightingPage lightingPage_{*this};
    SensitivityPage sensitivityPage_{*this};
    SystemPage systemPage_{*this};
    AdvancePage advancePage_{*this};
    ButtonsPage buttonsPage_{*this};
    std::array<Page*, 5> pages_; // in tab order
    int currentPage_ = -1;
    win::unique_hicon icon_;
};

} // namespace gm::option
