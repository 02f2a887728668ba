#include "monitor/input_injector_win.h"

#include "monitor/key_function.h"
#include "monitor/macro_player.h"
#include "shared/key_mapper_win.h"

namespace gm::mon {
namespace {

// Keys that live on the extended part of the keyboard: without the flag a
// program sees the numeric keypad's twin.
bool IsExtended(int vk) {
    switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_SNAPSHOT:
        return true;
    default:
        return false;
    }
}

void SendKey(int vk, bool down, bool extended) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = WORD(vk);
    in.ki.wScan = WORD(::MapVirtualKeyA(UINT(vk), 0));
    in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    in.ki.dwExtraInfo = ::GetMessageExtraInfo();
    ::SendInput(1, &in, sizeof in);
}

void SendMouse(DWORD flags, DWORD data) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    in.mi.dwExtraInfo = ::GetMessageExtraInfo();
    ::SendInput(1, &in, sizeof in);
}

} // namespace

void InjectKey(int vk, bool down) {
    vk = GenericModifier(vk);
    if (vk == 0)
        return;
    SendKey(vk, down, IsExtended(vk));
}

void InjectExtendedKeyPress(int vk) {
    SendKey(vk, true, true);
    SendKey(vk, false, true);
}

void InjectCode(uint8_t code, bool down) {
    switch (code) {
    case 241:
        return SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, 0);
    case 242:
        return SendMouse(down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP, 0);
    case 243:
        return SendMouse(down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP, 0);
    case 244:
        return SendMouse(down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP, XBUTTON2);
    case 245:
        return SendMouse(down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP, XBUTTON1);
    default:
        break;
    }
    const KeyLookup k = UsageToVirtualKey(code, SystemKeys());
    if (k.found && k.code != 0)
        InjectKey(k.code, down);
}

void InjectPrimaryClick() {
    const bool swapped = ::GetSystemMetrics(SM_SWAPBUTTON) != 0;
    SendMouse(swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0);
    SendMouse(swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0);
}

} // namespace gm::mon
