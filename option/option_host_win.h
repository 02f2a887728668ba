#pragma once
// What the pages and pop-ups of the configuration program may ask of the
// main dialog. The main dialog implements it; test host programs implement
// it over a temporary install folder so a page or a dialog can be driven on
// its own.
#include "shared/settings_block.h"
#include <windows.h>
#include <string>

namespace gm {
class LanguageLibrary;
class MacroList;
} // namespace gm

namespace gm::option {

class OptionHost {
  public:
    virtual ~OptionHost() = default;
    // The block every page edits; nothing reaches the monitor before Apply.
    virtual SettingsBlock& Working() = 0;
    // The macro library the buttons page and the macro manager use.
    virtual MacroList& Macros() = 0;
    virtual const LanguageLibrary& Lan() const = 0;
    virtual const std::string& InstallDir() const = 0; // ends in a backslash
    virtual const std::string& SkinFolder() const = 0; // InstallDir + "skins\"
    virtual HWND MainWindow() const = 0;

    // Code 0: the user's edits; code 1: after a reset of every profile.
    virtual void Apply(int code) = 0;
    // Every page and label shown again from Working().
    virtual void RefreshAll() = 0;
    // Five default profiles, every change flag set, shown, applied with
    // code 1; `alsoDisplaySettings` resets the display settings record too.
    virtual void ResetToDefaults(bool alsoDisplaySettings) = 0;
    // The profile file operations of the main dialog's own buttons.
    virtual bool Import() = 0; // true when a file was imported (then applied)
    virtual void Export() = 0;
    // mode 0: the fields start with the profile's texts; 1: they start empty.
    virtual bool OpenProfileDialog(int mode) = 0;
};

} // namespace gm::option
