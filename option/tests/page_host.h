#pragma once
// A stand-in for the main dialog in tests and screenshots: it implements
// the host interface over a temporary install folder and the built skin
// folder, holds one page in a top-level window, and records what the page
// asks of it (applies, refreshes, resets).
#include "option/macros/macro_list.h"
#include "option/option_host_win.h"
#include "option/pages/page_win.h"
#include "shared/lan_strings_win.h"
#include "shared/tests/test_folder.h"
#include "skin/window_base_win.h"

#include <functional>
#include <string>
#include <vector>

namespace gm::option::test {

// The plain top-level window a page lives in.
class HostFrame : public skin::WindowBase {
  public:
    bool Create(int width, int height);

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
};

class PageHost : public OptionHost {
  public:
    // The working block holds five fresh profiles with profile 0 current.
    PageHost();

    SettingsBlock& Working() override { return working; }
    MacroList& Macros() override { return macros; }
    const LanguageLibrary& Lan() const override { return lan; }
    const std::string& InstallDir() const override { return folder.path(); }
    const std::string& SkinFolder() const override { return skinFolder_; }
    HWND MainWindow() const override { return frame.hwnd(); }

    void Apply(int code) override { applied.push_back(code); }
    void RefreshAll() override;
    // As the main dialog does it: five defaults, profile 0, every flag, shown, applied with 1.
    void ResetToDefaults(bool alsoDisplaySettings) override;
    bool Import() override { return false; }
    void Export() override {}
    bool OpenProfileDialog(int) override { return false; }

    // Creates `page` in a shown top-level window at (40, 40) and refreshes it.
    bool Open(Page& page);
    // The built skins next to the test program.
    static std::string BuiltSkinFolder();
    // A copy of the built skins in the install folder without the files
    // `leaveOut` accepts; the host then uses it.
    void UseSkinCopy(const std::function<bool(const std::string&)>& leaveOut);

    gm::test::TestFolder folder;
    SettingsBlock working;
    MacroList macros;
    LanguageLibrary lan;
    HostFrame frame;
    std::vector<Page*> pages;
    std::vector<int> applied;
    std::vector<bool> resets; // alsoDisplaySettings of each reset
    int refreshes = 0;

  private:
    std::string skinFolder_;
};

// Screen position of a point in `hwnd`'s client area.
POINT ScreenPoint(HWND hwnd, int x, int y);

} // namespace gm::option::test
