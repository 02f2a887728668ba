#pragma once
// What the buttons page shows and writes for each function code: the menu
// command of each code, the text of each caption and menu entry, the left
// click guard, and the change a chosen function makes to a button record.
#include "shared/settings_block.h"
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace gm::option {

inline constexpr int kCmdFirst = 1001;
inline constexpr int kCmdPlayer = 1048;
inline constexpr int kCmdMacroManager = 1049;
inline constexpr int kCmdKey = 1005;
inline constexpr int kCmdProgram = 1017;
inline constexpr int kCmdMacroFirst = 1100;
inline constexpr int kCmdLast = 4000;

// The function code a menu command gives (16 for 1100 and above; 0 for the
// dialog commands 1048/1049 and for commands without a function).
int CodeForCommand(int command);
// The menu command offering `code` (0 when no menu item does: 0, 16, 43-52, >60).
int CommandForCode(int code);
// The language string that names `code` in captions; 0 when the caption is
// not a plain string (5, 16, 17) or is empty (45-52, above 60).
int CaptionString(int code);
// The language string labelling menu command `command`; 0 for none.
int MenuString(int command);

// File name and extension of a path ("C:\\x\\run.exe" -> "run.exe").
std::string FileNameOf(const std::string& path);

// Caption of a button record; `lan` gives language strings, `hotkey` the
// key text of a key-with-modifiers record.
std::string CaptionOf(const ButtonView& button, const std::function<std::string(int)>& lan,
                      const std::function<std::string(const ButtonView&)>& hotkey);

// True when giving `code` to button `index` would leave no button of the
// profile with the left click.
bool LeavesNoLeftClick(const ProfileView& profile, int index, int code);

// The record change of a chosen function, after its dialog (if any) was
// confirmed: the type, and for anything but a key or a macro the macro part
// cleared (repeat count and program path stay).
void SetFunction(ButtonView button, int code);

// The function menu: submenus in order, then the plain items.
struct Submenu {
    int title;              // language string
    std::vector<int> items; // commands (the macro submenu is built apart)
    int width;
};
const std::vector<Submenu>& FunctionSubmenus(); // without the macro submenu
const std::vector<int>& FunctionMainItems();
inline constexpr int kMacroSubmenuTitle = 1021;
inline constexpr int kMacroManagerLabel = 1067;
inline constexpr int kMenuWidth = 156;

// Whether a macro of the library is the one the button carries (its name,
// trimmed, equal ignoring case).
bool IsButtonsMacro(const ButtonView& button, const std::string& macroName);

} // namespace gm::option
