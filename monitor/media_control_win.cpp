#include "monitor/media_control_win.h"

#include "monitor/media_commands.h"
#include "win/handles.h"

#include <shellapi.h>

#include <string>

namespace gm::mon {
namespace {

// Read access only, which a standard user has: first the 64-bit view, then
// the 32-bit one where 32-bit installers register. "" when missing.
std::string ReadMachineString(const char* key, const char* value) {
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY opened = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
            continue;
        const win::unique_hkey k(opened);
        char text[1024] = {};
        DWORD size = sizeof text - 1, type = 0;
        const LSTATUS s = ::RegQueryValueExA(k.get(), value, nullptr, &type,
                                             reinterpret_cast<BYTE*>(text), &size);
        if (s == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) && text[0])
            return text;
    }
    return {};
}

void RunProgram(const std::string& path) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExA(&info);
}

// A player that hangs must not hang the monitor.
void SendCommand(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result;
    ::SendMessageTimeoutA(w, msg, wp, lp, SMTO_ABORTIFHUNG, 2000, &result);
}

} // namespace

void MediaControl::Run(HWND owner, int player, int function) {
    if (function == int(MediaFn::Start))
        StartPlayer(owner, player);
    else if (function >= int(MediaFn::Previous) && function <= int(MediaFn::Stop))
        Command(owner, player, function);
}

void MediaControl::BringToFront(HWND owner, HWND w) {
    EndFront(owner);
    const DWORD fgThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const DWORD self = ::GetCurrentThreadId();
    const bool joined = fgThread && fgThread != self && ::AttachThreadInput(fgThread, self, TRUE);
    ::SetForegroundWindow(w);
    if (!joined)
        return;
    front_ = {w, fgThread, ::GetTickCount64() + 1000};
    if (!::SetTimer(owner, kFrontTimer, 20, nullptr))
        EndFront(owner);
}

void MediaControl::OnFrontTimer(HWND owner) {
    if (!front_.joined || ::GetForegroundWindow() == front_.window || !::IsWindow(front_.window) ||
        ::GetTickCount64() >= front_.until)
        EndFront(owner);
}

void MediaControl::EndFront(HWND owner) {
    ::KillTimer(owner, kFrontTimer);
    if (front_.joined)
        ::AttachThreadInput(front_.joined, ::GetCurrentThreadId(), FALSE);
    front_ = {};
}

void MediaControl::StartPlayer(HWND owner, int player) {
    // An open media player comes to the front whether or not its program
    // is registered.
    if (Player(player) == Player::MediaPlayer)
        if (HWND w = ::FindWindowA(nullptr, "Windows Media Player"))
            return BringToFront(owner, w);
    const auto entry = PlayerRegistryEntry(Player(player));
    if (!entry)
        return;
    std::string path = PlayerProgram(Player(player), ReadMachineString(entry->key, entry->value));
    if (path.empty())
        return;
    if (Player(player) == Player::MediaPlayer) {
        char expanded[1024];
        const DWORD n = ::ExpandEnvironmentStringsA(path.c_str(), expanded, sizeof expanded);
        if (n > 0 && n <= sizeof expanded)
            path = expanded;
    }
    RunProgram(path);
}

void MediaControl::Command(HWND owner, int player, int function) {
    switch (Player(player)) {
    case Player::MediaPlayer:
        ::PostMessageA(owner, WM_APPCOMMAND, WPARAM(owner), LPARAM(AppCommandFor(function)) << 16);
        break;
    case Player::ITunes: {
        HWND w = ::FindWindowA("iTunes", "iTunes");
        if (!w)
            return;
        const ITunesKeys keys = ITunesKeysFor(function);
        if (keys == ITunesKeys::Space) {
            ::PostMessageA(w, WM_KEYDOWN, 32, 0x00390001);
            ::Sleep(100);
            ::PostMessageA(w, WM_KEYUP, 32, LPARAM(0xC0390001u));
        } else if (keys != ITunesKeys::None) {
            const bool right = keys == ITunesKeys::CtrlRight;
            SendCommand(w, WM_KEYDOWN, 17, 0x001D0001);
            ::Sleep(100);
            SendCommand(w, WM_KEYDOWN, right ? 39 : 37, right ? 0x014D0001 : 0x014B0001);
            ::Sleep(100);
            SendCommand(w, WM_KEYUP, right ? 39 : 37, LPARAM(right ? 0xC14D0001u : 0xC14B0001u));
            ::Sleep(100);
            SendCommand(w, WM_KEYUP, 17, LPARAM(0xC01D0001u));
        }
        break;
    }
    case Player::RealPlayer:
    case Player::Winamp: {
        HWND w = ::FindWindowA(
            Player(player) == Player::RealPlayer ? "GeminiWindowClass" : "Winamp v1.x", nullptr);
        if (!w)
            return;
        const int id = PlayerCommandFor(Player(player), function, winampToggle_);
        if (id)
            SendCommand(w, WM_COMMAND, WPARAM(id), 0);
        break;
    }
    }
}

} // namespace gm::mon
