// Opens the macro manager or the shortcut dialog on its own, over an
// install folder given on the command line, the way the buttons page does.
//
//   macro_dialog_host manager  INSTALL_DIR [MACRO_NAME]
//   macro_dialog_host shortcut INSTALL_DIR KEY_CODE MODIFIERS
//
// The skins and lan.dll come from the program's own folder; the macro store
// is config\sequence.dat in INSTALL_DIR. When the dialog ends, result.txt
// in INSTALL_DIR receives "result=N" and, for the shortcut dialog, the button
// record's function, event count, key and modifier bytes; the program then
// waits for WM_CLOSE to its hidden window "Macro dialog host".
#include "option/dialogs/shortcut_dialog_win.h"
#include "option/macros/macro_names_win.h"
#include "option/macros/macro_list.h"
#include "option/macros/macro_manager_dialog_win.h"
#include "option/macros/macro_store_win.h"
#include "option/option_host_win.h"
#include "shared/lan_strings_win.h"
#include "skin/menu_frame_hook_win.h"
#include "win/install_dir.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace gm;

class FolderHost final : public option::OptionHost {
  public:
    explicit FolderHost(std::string installDir)
        : install_(std::move(installDir)), skins_(win::SkinFolder()) {
        lan_.Load(win::InstallDir());
        LoadMacroStore(install_, macros_);
    }
    SettingsBlock& Working() override { return block_; }
    MacroList& Macros() override { return macros_; }
    const LanguageLibrary& Lan() const override { return lan_; }
    const std::string& InstallDir() const override { return install_; }
    const std::string& SkinFolder() const override { return skins_; }
    HWND MainWindow() const override { return nullptr; }
    void Apply(int) override {}
    void RefreshAll() override {}
    void ResetToDefaults(bool) override {}
    bool Import() override { return false; }
    void Export() override {}
    bool OpenProfileDialog(int) override { return false; }

  private:
    std::string install_, skins_;
    LanguageLibrary lan_;
    MacroList macros_;
    SettingsBlock block_;
};

void WriteResult(const std::string& installDir, const std::string& text) {
    if (FILE* f = std::fopen((installDir + "result.txt").c_str(), "w")) {
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
}

// Like the configuration program, the process goes on after the dialog, so
// a test can tell that the dialog left nothing behind (the keyboard hook).
// A hidden window "Macro dialog host" ends it with WM_CLOSE; a minute is
// the safety limit.
void StayUntilClosed() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept -> LRESULT {
        if (msg == WM_CLOSE) {
            ::PostQuitMessage(0);
            return 0;
        }
        return ::DefWindowProcA(h, msg, wp, lp);
    };
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "MacroDialogHost";
    ::RegisterClassA(&wc);
    const HWND window = ::CreateWindowExA(0, wc.lpszClassName, "Macro dialog host", WS_POPUP, 0, 0,
                                          1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetTimer(window, 1, 60000, [](HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(0); });
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    ::DestroyWindow(window);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3)
        return 2;
    const std::string mode = __argv[1];
    std::string folder = __argv[2];
    if (folder.back() != '\\')
        folder += '\\';
    FolderHost host(folder);
    option::UseSystemNameComparison();
    skin::MenuFrameHook::Install();

    ButtonView button = host.Working().Profile(0).Button(3);
    button.MakeFresh(3);
    int result = 0;
    std::string text;
    if (mode == "manager") {
        if (__argc > 3) {
            button.Set(btn::FunctionType, uint8_t(fn::Macro));
            button.Set(btn::MacroName, __argv[3]);
        }
        result = option::OpenMacroManager(host, &button, nullptr);
        text = "result=" + std::to_string(result) + "\n";
    } else if (mode == "shortcut" && __argc > 4) {
        button.Set(btn::KeyUsage, uint8_t(std::atoi(__argv[3])));
        button.Set(btn::KeyModifiers, uint8_t(std::atoi(__argv[4])));
        option::ShortcutDialog dialog;
        dialog.Preset(ShortcutFromButton(button));
        result = dialog.Run(host.SkinFolder(), nullptr);
        if (result == skin::kDialogOk)
            ApplyShortcut(dialog.Result(), button);
        char line[160];
        std::snprintf(line, sizeof line, "result=%d\nfunction=%d\ncount=%d\nkey=%d\nmodifiers=%d\n",
                      result, button.Get(btn::FunctionType), button.Get(btn::EventCount),
                      button.Get(btn::KeyUsage), button.Get(btn::KeyModifiers));
        text = line;
    } else {
        return 2;
    }
    skin::MenuFrameHook::Remove();
    WriteResult(folder, text);
    StayUntilClosed();
    return 0;
}
