#include "option/dialogs/shortcut_dialog_win.h"

#include "option/macros/keyboard_recorder_hook_win.h"
#include "shared/key_mapper_win.h"

namespace gm::option {
namespace {
constexpr char kIni[] = "skin_shortcut.ini";
constexpr char kWindowText[] = "Marbek Shortcut Dialog";
constexpr int kKeyEditId = 4010;
} // namespace

void ShortcutDialog::Preset(const Shortcut& s) {
    KeyCode = s.keyCode;
    Modifiers = s.modifiers;
}

Shortcut ShortcutDialog::Result() const {
    Shortcut s;
    s.keyCode = KeyCode;
    s.modifiers = Modifiers;
    return s;
}

int ShortcutDialog::Run(const std::string& skinFolder, HWND owner) {
    return RunModal(skinFolder, kIni, owner);
}

std::string ShortcutDialog::KeyText() const {
    char text[64] = {};
    if (keyEdit_.hwnd())
        ::GetWindowTextA(keyEdit_.hwnd(), text, sizeof text);
    return text;
}

void ShortcutDialog::CreateControls(skin::WindowSkin& skin) {
    const skin::ControlRecord edit = skin.Record(10);
    keyEdit_.Create(RECT{edit.left, edit.top, edit.right, edit.bottom}, hwnd(), kKeyEditId,
                    ES_CENTER | ES_AUTOHSCROLL);
    ok_.Create(skin.Record(2), skin.sheets(), hwnd());
    cancel_.Create(skin.Record(3), skin.sheets(), hwnd());
    close_.Create(skin.Record(4), skin.sheets(), hwnd());
    for (std::size_t i = 0; i < toggles_.size(); ++i) {
        toggles_[i].Create(skin.Record(5 + int(i)), skin.sheets(), hwnd());
        toggles_[i].SetToggle(true);
    }
}

bool ShortcutDialog::OnInitDialog() {
    ::SetWindowTextA(hwnd(), kWindowText);
    keyEdit_.SetColors(RGB(0, 0, 0), RGB(255, 255, 255));
    // Without the hook the dialog still opens; only the modifiers can change then.
    KeyboardRecorderHook::Install(hwnd());
    const KeyLookup vk = UsageToVirtualKey(KeyCode, SystemKeys());
    ::SetWindowTextA(keyEdit_.hwnd(), KeyName(vk.code));
    LatchToggles();
    return false;
}

void ShortcutDialog::LatchToggles() {
    for (std::size_t i = 0; i < toggles_.size(); ++i)
        toggles_[i].SetLatched(Modifiers[i] != 0);
}

void ShortcutDialog::OnCommand(HWND control, int) {
    if (control == ok_.hwnd()) {
        End(skin::kDialogOk);
        return;
    }
    if (control == cancel_.hwnd() || control == close_.hwnd()) {
        End(skin::kDialogCancel);
        return;
    }
    for (std::size_t i = 0; i < toggles_.size(); ++i)
        if (control == toggles_[i].hwnd())
            Modifiers[i] = toggles_[i].latched() ? 1 : 0;
    LatchToggles();
}

LRESULT ShortcutDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case UM_RECORD_KEY: {
        // Presses and releases alike; the last key before OK decides.
        const int vk = int(wp);
        KeyCode = uint8_t(VirtualKeyToUsage(vk, SystemKeys()).code);
        ::SetWindowTextA(keyEdit_.hwnd(), KeyName(vk));
        return 1;
    }
    case WM_DESTROY:
        KeyboardRecorderHook::Remove();
        break;
    default:
        break;
    }
    return SkinDialog::OnMessage(msg, wp, lp);
}

} // namespace gm::option
