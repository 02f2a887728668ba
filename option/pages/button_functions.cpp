#include "option/pages/button_functions.h"

#include "option/macros/macro_list.h"

#include <cstring>

namespace gm::option {

int CodeForCommand(int command) {
    if (command >= kCmdMacroFirst)
        return fn::Macro;
    if (command >= 1001 && command <= 1015)
        return command - 1000;
    if (command >= 1017 && command <= 1044)
        return command - 1000;
    if (command >= 1071 && command <= 1078)
        return command - 1018;
    return 0;
}

int CommandForCode(int code) {
    if ((code >= 1 && code <= 15) || (code >= 17 && code <= 42))
        return 1000 + code;
    if (code >= 53 && code <= 60)
        return code + 1018;
    return 0;
}

int CaptionString(int code) {
    if (code >= 1 && code <= 4)
        return 1004 + code;
    if (code == 6 || code == 0)
        return 1010;
    if (code >= 7 && code <= 12)
        return 1004 + code;
    if (code >= 13 && code <= 15)
        return 1005 + code;
    if (code >= 18 && code <= 24)
        return 1006 + code;
    if (code >= 25 && code <= 32)
        return 1007 + code;
    if (code >= 33 && code <= 44)
        return 1008 + code;
    if (code >= 53 && code <= 60)
        return 1018 + code;
    return 0;
}

int MenuString(int command) {
    if (command == kCmdKey)
        return 1009;
    if (command == kCmdProgram)
        return 1022;
    if (command == kCmdMacroManager)
        return kMacroManagerLabel;
    const int code = CodeForCommand(command);
    return code == fn::Macro ? 0 : CaptionString(code);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CaptionOf(const ButtonView& button, const std::function<std::string(int)>& lan,
                      const std::function<std::string(const ButtonView&)>& hotkey) {
    const int code = button.Get(btn::FunctionType);
    if (code == fn::Key)
        return hotkey(button);
    if (code == fn::Macro)
        return button.Get(btn::MacroName);
    if (code == fn::RunProgram)
        return FileNameOf(button.Get(btn::ProgramPath));
    const int id = CaptionString(code);
    return id ? lan(id) : std::string();
}

bool LeavesNoLeftClick(const ProfileView& profile, int index, int code) {
    for (int b = 0; b < kButtonCount; ++b) {
        const int type = b == index ? code : profile.Button(b).Get(btn::FunctionType);
        if (type == 1)
            return false;
    }
    return true;
}

namespace {
void ClearName(ButtonView& button) {
    std::memset(button.data() + 8, 0, 25);
}
} // namespace

void SetFunction(ButtonView button, int code) {
    button.Set(btn::FunctionType, uint8_t(code));
    if (code == fn::Key || code == fn::Macro)
        return;
    button.Set(btn::EventCount, uint16_t(0));
    std::memset(button.data() + btn::Events, 0, btn::EventSize * kMaxEvents);
    ClearName(button);
}

const std::vector<Submenu>& FunctionSubmenus() {
    static const std::vector<Submenu> menus = {
        {1031, {1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032}, 156},
        {1069, {1018, 1019, 1020}, 129},
        {1017, {1013, 1014, 1015}, 156},
        {1040, {1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042}, 156},
        {1070, {1071, 1072, 1073, 1074, 1075, 1076, 1077, 1078}, 156},
    };
    return menus;
}

const std::vector<int>& FunctionMainItems() {
    static const std::vector<int> items = {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009,
                                           1010, 1011, 1012, 1017, 1021, 1022, 1023, 1024};
    return items;
}

bool IsButtonsMacro(const ButtonView& button, const std::string& macroName) {
    return button.Get(btn::FunctionType) == fn::Macro &&
           SameMacroName(macroName, button.Get(btn::MacroName));
}

} // namespace gm::option
