#include "monitor/button_actions_win.h"

#include "monitor/input_injector_win.h"
#include "monitor/key_function.h"
#include "monitor/media_commands.h"
#include "monitor/tilt_scroll_win.h"
#include "shared/key_mapper_win.h"
#include "shared/messages.h"

namespace gm::mon {

void ButtonActions::Start(HWND window) {
    window_ = window;
}

// The player thread is made for the first macro: a monitor whose buttons
// play none never carries its stack.
bool ButtonActions::PostToPlayer() {
    if (!player_.running() && !stopped_ && !player_.Start([this](UINT message, WPARAM, LPARAM) {
            if (message == ipc::kPlayMacro)
                macro_.Play();
        }))
        return false;
    return player_.Post(ipc::kPlayMacro, 0, 0);
}

void ButtonActions::Stop() {
    media_.EndFront(window_);
    ReleaseEverything();
    stopped_ = true;
    player_.Stop();
}

int ButtonActions::CurrentProfileLocked() const {
    const int p = working_.block.CurrentProfile();
    return SettingsBlock::IsProfileIndex(p) ? p : -1;
}

void ButtonActions::OnButton(int button, bool release) {
    int type;
    uint8_t usage, modifiers;
    MacroProgram macro;
    {
        std::lock_guard g(working_.lock);
        const int p = CurrentProfileLocked();
        if (p < 0 || button < 1 || button > kButtonCount)
            return;
        ButtonView b = working_.block.Profile(p).Button(button - 1);
        type = b.Get(btn::FunctionType);
        usage = b.Get(btn::KeyUsage);
        modifiers = b.Get(btn::KeyModifiers);
        if (type == fn::Macro)
            macro = LoadMacro(b);
        // The mouse holds a Ctrl shortcut as a key button and reports it as one.
        if (const uint8_t key = CtrlShortcutKey(type)) {
            type = fn::Key;
            usage = key;
            modifiers = kCtrlModifier;
        }
    }
    if (type == fn::Key) {
        if (release)
            KeyFunctionRelease(button);
        else
            KeyFunctionPress(button, usage, modifiers);
    } else if (type == fn::Macro && !release && macro.count > 0) {
        // A second press of a macro button stops the running macro and starts nothing.
        macro_.OnPress(macro, [this] { return PostToPlayer(); });
    }
}

void ButtonActions::KeyFunctionPress(int button, uint8_t usage, uint8_t modifiers) {
    for (const HeldKeyFunction& h : heldKeys_)
        if (h.button == button)
            return; // a press without its release: still held
    HeldKeyFunction held{button, usage, ModifierKeys(modifiers)};
    for (int vk : held.modifiers) {
        InjectKey(vk, true);
        ::Sleep(1);
    }
    InjectCode(usage, true);
    heldKeys_.push_back(std::move(held));
    repeatButton_ = button;
    firstRepeat_ = true;
    ::SetTimer(window_, kTimerKeyRepeat, kKeyRepeatFirstMs, nullptr);
}

void ButtonActions::KeyFunctionRelease(int button) {
    for (auto it = heldKeys_.begin(); it != heldKeys_.end(); ++it) {
        if (it->button != button)
            continue;
        if (repeatButton_ == button) {
            ::KillTimer(window_, kTimerKeyRepeat);
            repeatButton_ = 0;
        }
        InjectCode(it->usage, false);
        for (auto m = it->modifiers.rbegin(); m != it->modifiers.rend(); ++m) {
            ::Sleep(1);
            InjectKey(*m, false);
        }
        heldKeys_.erase(it);
        return;
    }
}

void ButtonActions::OnKeyRepeat() {
    if (firstRepeat_) {
        ::SetTimer(window_, kTimerKeyRepeat, kKeyRepeatMs, nullptr);
        firstRepeat_ = false;
    }
    for (const HeldKeyFunction& h : heldKeys_) {
        if (h.button != repeatButton_)
            continue;
        const KeyLookup k = UsageToVirtualKey(h.usage, SystemKeys());
        if (!k.found || !KeyRepeats(k.code))
            return;
        InjectKey(k.code, false);
        ::Sleep(1);
        InjectKey(k.code, true);
        return;
    }
}

void ButtonActions::OnMedia(int function, bool release) {
    if (release) {
        if (function == int(MediaFn::VolumeUp) || function == int(MediaFn::VolumeDown)) {
            ::KillTimer(window_, kTimerVolume);
            volumeFunction_ = 0;
        }
        return;
    }
    if (const int vk = VolumeKey(function)) {
        InjectExtendedKeyPress(vk);
        if (function != int(MediaFn::Mute)) {
            volumeFunction_ = function;
            ::SetTimer(window_, kTimerVolume, kVolumeRepeatMs, nullptr);
        }
        return;
    }
    int player;
    {
        std::lock_guard g(working_.lock);
        const int p = CurrentProfileLocked();
        if (p < 0)
            return;
        player = working_.block.Profile(p).Get(prof::MediaOption);
    }
    media_.Run(window_, player, function);
}

void ButtonActions::OnTilt(int direction) {
    int speed;
    {
        std::lock_guard g(working_.lock);
        const int p = CurrentProfileLocked();
        if (p < 0)
            return;
        speed = working_.block.Profile(p).Get(prof::TiltSpeed);
    }
    TiltStep(direction, speed);
}

bool ButtonActions::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTimerKeyRepeat:
        OnKeyRepeat();
        return true;
    case kTimerVolume:
        if (volumeFunction_)
            InjectExtendedKeyPress(VolumeKey(volumeFunction_));
        return true;
    case MediaControl::kFrontTimer:
        media_.OnFrontTimer(window_);
        return true;
    default:
        return false;
    }
}

void ButtonActions::ReleaseEverything() {
    ::KillTimer(window_, kTimerKeyRepeat);
    ::KillTimer(window_, kTimerVolume);
    volumeFunction_ = 0;
    while (!heldKeys_.empty())
        KeyFunctionRelease(heldKeys_.back().button);
    macro_.RequestStop();
}

} // namespace gm::mon
