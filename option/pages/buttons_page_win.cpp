#include "option/pages/buttons_page_win.h"

#include "option/dialogs/launch_program_dialog_win.h"
#include "option/dialogs/player_dialog_win.h"
#include "option/dialogs/profile_dialog_win.h"
#include "option/dialogs/shortcut_dialog_win.h"
#include "option/dialogs/warning_dialogs_win.h"
#include "option/macros/macro_list.h"
#include "option/macros/macro_manager_dialog_win.h"
#include "option/pages/button_functions.h"
#include "shared/key_mapper_win.h"
#include "shared/key_table.h"
#include "shared/lan_strings_win.h"
#include "skin/cool_menu_win.h"
#include "skin/skin_messages_win.h"
#include <memory>
#include <vector>

namespace gm::option {
namespace {

constexpr int kFirstFunctionKey = 20;
constexpr int kPictureKey = 35;
constexpr int kNotifyBase = 200;
constexpr const char* kPictures[kButtonCount] = {
    "mouse_1.jpg", "mouse_2.jpg", "mouse_3.jpg", "mouse_4.jpg", "mouse_5.jpg",
    "mouse_6.jpg", "mouse_7.jpg", "mouse.jpg",   "mouse.jpg",   "mouse.jpg",
    "mouse.jpg",   "mouse.jpg",   "mouse.jpg",   "mouse_8.jpg", "mouse_9.jpg"};

} // namespace

void ButtonsPage::CreateControls(skin::WindowSkin& skin) {
    for (int i = 0; i < kButtonCount; ++i) {
        auto& b = buttons_[std::size_t(i)];
        b.Create(skin.Record(kFirstFunctionKey + i), skin.sheets(), hwnd());
        b.SetNotifyValue(kNotifyBase + i);
    }
    newProfile_.Create(skin.Record(36), skin.sheets(), hwnd());
    import_.Create(skin.Record(37), skin.sheets(), hwnd());
    export_.Create(skin.Record(38), skin.sheets(), hwnd());
    editProfile_.Create(skin.Record(39), skin.sheets(), hwnd());
    const skin::ControlRecord area = skin.Record(kPictureKey);
    pictureArea_ = RECT{area.left, area.top, area.right, area.bottom};
}

// A button's picture is made and decoded the first time the pointer is on
// the button: fifteen pictures nobody may look at cost nothing at start.
HWND ButtonsPage::Picture(int i) {
    auto& p = pictures_[std::size_t(i)];
    if (!p.hwnd() && p.Create(pictureArea_.left, pictureArea_.top, pictureArea_.right,
                              pictureArea_.bottom, hwnd(), 100)) {
        ::ShowWindow(p.hwnd(), SW_HIDE);
        p.SetPicture(host().SkinFolder() + "Mouse\\" + kPictures[i]);
    }
    return p.hwnd();
}

std::string ButtonsPage::Caption(const ButtonView& button) {
    return CaptionOf(
        button, [&](int id) { return host().Lan().Get(id); },
        [](const ButtonView& b) { return HotkeyText(b.data(), kButtonSize, SystemKeys()); });
}

void ButtonsPage::Refresh() {
    const ProfileView profile = CurrentProfile();
    for (int i = 0; i < kButtonCount; ++i) {
        auto& b = buttons_[std::size_t(i)];
        b.SetCaption(Caption(profile.Button(i)));
        skin::RepaintIfShown(b.hwnd(), true, true);
    }
}

LRESULT ButtonsPage::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case skin::UM_BUTTON_HOVER:
        if (lp >= kNotifyBase && lp < kNotifyBase + kButtonCount) {
            const int i = int(lp) - kNotifyBase;
            if (wp)
                ::ShowWindow(Picture(i), SW_SHOW);
            else if (const HWND shown = picture(i))
                ::ShowWindow(shown, SW_HIDE);
            hoveredButton_ = i;
        }
        return 0;
    case WM_COMMAND: {
        const HWND from = reinterpret_cast<HWND>(lp);
        if (from) {
            if (from == newProfile_.hwnd())
                host().OpenProfileDialog(1);
            else if (from == editProfile_.hwnd())
                host().OpenProfileDialog(0);
            else if (from == import_.hwnd()) {
                if (host().Import())
                    host().Apply(0);
            } else if (from == export_.hwnd())
                host().Export();
            else
                for (int i = 0; i < kButtonCount; ++i)
                    if (from == buttons_[std::size_t(i)].hwnd())
                        OpenFunctionMenu(i);
            return 0;
        }
        const int command = LOWORD(wp);
        if (command >= kCmdFirst && command <= kCmdLast) {
            OnMenuCommand(command);
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return Page::OnMessage(msg, wp, lp);
}

void ButtonsPage::OpenFunctionMenu(int index) {
    auto& button = buttons_[std::size_t(index)];
    button.SetHover(true);
    ::UpdateWindow(button.hwnd());
    menuButton_ = index;
    const ButtonView record = CurrentProfile().Button(index);

    RECT r{};
    ::GetWindowRect(button.hwnd(), &r);
    win::unique_hfont font(::CreateFontA(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         FF_SWISS, "Arial"));
    const auto text = [&](int id) { return host().Lan().Get(id); };
    std::vector<std::unique_ptr<skin::CoolMenu>> menus;
    // Each menu's width is set after its items, so it is exactly the
    // menu's own whatever its texts (a long macro name is cut, not widened).
    auto make = [&]() -> skin::CoolMenu& {
        menus.push_back(std::make_unique<skin::CoolMenu>(font.get()));
        return *menus.back();
    };
    skin::CoolMenu& main = make();
    skin::CoolMenu& macros = make();
    macros.Append(MF_STRING, kCmdMacroManager, text(kMacroManagerLabel));
    MacroList& library = host().Macros();
    if (!library.empty()) {
        macros.Append(MF_SEPARATOR, 0);
        for (std::size_t k = 0; k < library.size(); ++k) {
            const std::string name = library.At(int(k))->Name();
            const auto first = name.find_first_not_of(" \t");
            const std::string shown =
                first == std::string::npos
                    ? ""
                    : name.substr(first, name.find_last_not_of(" \t") - first + 1);
            macros.Append(MF_STRING, UINT_PTR(kCmdMacroFirst + int(k)), shown,
                          IsButtonsMacro(record, name));
        }
    }
    macros.SetWidth(kMenuWidth);
    main.Append(macros, text(kMacroSubmenuTitle));
    for (const Submenu& s : FunctionSubmenus()) {
        skin::CoolMenu& sub = make();
        for (int command : s.items)
            sub.Append(MF_STRING, UINT_PTR(command), text(MenuString(command)));
        sub.SetWidth(s.width);
        main.Append(sub, text(s.title));
    }
    for (int command : FunctionMainItems())
        main.Append(MF_STRING, UINT_PTR(command), text(MenuString(command)));
    main.SetWidth(kMenuWidth);

    ::TrackPopupMenu(main.Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, r.left + 1, r.bottom, 0,
                     hwnd(), nullptr);
    ::PostMessageA(hwnd(), WM_NULL, 0, 0);
    menus.clear();
    font.reset();
    button.SetHover(false);
    ::UpdateWindow(button.hwnd());
}

void ButtonsPage::OnMenuCommand(int command) {
    const int b = menuButton_;
    const int profileIndex = host().Working().CurrentProfile();
    ProfileView profile = CurrentProfile();
    ButtonView record = profile.Button(b);
    const int code = CodeForCommand(command);
    if (LeavesNoLeftClick(profile, b, code)) {
        ClickWarning().Run(host().SkinFolder(), hwnd());
        return;
    }
    if (command == kCmdPlayer) {
        RunPlayerDialog();
        return;
    }
    if (command == kCmdMacroManager) {
        RunMacroManager();
        return;
    }
    if (command == kCmdKey && !RunKeyDialog(record))
        return;
    if (command == kCmdProgram && !RunProgramDialog(record))
        return;
    if (command >= kCmdMacroFirst) {
        const MacroRecord* macro = host().Macros().At(command - kCmdMacroFirst);
        if (!macro)
            return;
        record.Set(btn::FunctionType, uint8_t(fn::Macro));
        CopyMacroToButton(*macro, record);
    } else {
        SetFunction(record, code);
    }
    if (SettingsBlock::IsProfileIndex(profileIndex))
        host().Working().SetButtonChangeFlag(profileIndex, b, 1);
    Refresh();
}

bool ButtonsPage::RunProgramDialog(ButtonView button) {
    LaunchProgramDialog dialog;
    if (button.Get(btn::FunctionType) == fn::RunProgram)
        dialog.SetPath(button.Get(btn::ProgramPath));
    if (dialog.Run(host().SkinFolder(), hwnd()) != skin::kDialogOk)
        return false;
    button.Set(btn::ProgramPath, dialog.path());
    return true;
}

void ButtonsPage::RunPlayerDialog() {
    ProfileView profile = CurrentProfile();
    PlayerDialog dialog(profile.Get(prof::MediaOption));
    if (dialog.Run(host().SkinFolder(), hwnd()) == skin::kDialogOk)
        profile.Set(prof::MediaOption, dialog.playerType());
}

bool ButtonsPage::RunKeyDialog(ButtonView button) {
    ShortcutDialog dialog;
    dialog.Preset(ShortcutFromButton(button));
    if (dialog.Run(host().SkinFolder(), hwnd()) != skin::kDialogOk)
        return false;
    ApplyShortcut(dialog.Result(), button);
    return true;
}

void ButtonsPage::RunMacroManager() {
    const ButtonView record = CurrentProfile().Button(menuButton_);
    OpenMacroManager(host(), &record, hwnd());
}

} // namespace gm::option
