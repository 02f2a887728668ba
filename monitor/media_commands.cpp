#include "monitor/media_commands.h"

#include <algorithm>
#include <cctype>

namespace gm::mon {
namespace {

bool ContainsNoCase(std::string_view text, std::string_view word) {
    auto it = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
    return it != text.end();
}

// "\"C:\\x\\prog.exe\" \"%1\"" -> "C:\\x\\prog.exe"; text without a quote stays.
std::string FirstQuoted(std::string_view text) {
    if (text.find('"') == std::string_view::npos)
        return std::string(text);
    if (text.size() < 2)
        return {};
    const std::string_view rest = text.substr(1);
    return std::string(rest.substr(0, rest.find('"')));
}

} // namespace

int VolumeKey(int function) {
    switch (MediaFn(function)) {
    case MediaFn::Mute:
        return 173;
    case MediaFn::VolumeUp:
        return 175;
    case MediaFn::VolumeDown:
        return 174;
    default:
        return 0;
    }
}

int AppCommandFor(int function) {
    switch (MediaFn(function)) {
    case MediaFn::Next:
        return 11;
    case MediaFn::Previous:
        return 12;
    case MediaFn::PlayPause:
        return 14;
    case MediaFn::Stop:
        return 13;
    default:
        return 0;
    }
}

int PlayerCommandFor(Player player, int function, int& winampToggle) {
    const MediaFn f = MediaFn(function);
    if (player == Player::RealPlayer) {
        switch (f) {
        case MediaFn::Next:
            return 65739;
        case MediaFn::Previous:
            return 65740;
        case MediaFn::PlayPause:
            return 65736;
        case MediaFn::Stop:
            return 65737;
        default:
            return 0;
        }
    }
    if (player == Player::Winamp) {
        switch (f) {
        case MediaFn::Next:
            return 40048;
        case MediaFn::Previous:
            return 40044;
        case MediaFn::PlayPause:
            if (winampToggle == 0) {
                winampToggle = 1;
                return 40045;
            }
            winampToggle = 0;
            return 40046;
        case MediaFn::Stop:
            return 40047;
        default:
            return 0;
        }
    }
    return 0;
}

ITunesKeys ITunesKeysFor(int function) {
    switch (MediaFn(function)) {
    case MediaFn::Next:
        return ITunesKeys::CtrlRight;
    case MediaFn::Previous:
        return ITunesKeys::CtrlLeft;
    case MediaFn::PlayPause:
    case MediaFn::Stop:
        return ITunesKeys::Space;
    default:
        return ITunesKeys::None;
    }
}

std::optional<PlayerEntry> PlayerRegistryEntry(Player player) {
    switch (player) {
    case Player::MediaPlayer:
        return PlayerEntry{"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe",
                           nullptr};
    case Player::ITunes:
        return PlayerEntry{"SOFTWARE\\Apple Computer, Inc.\\iPod\\RegisteredApps\\4", "path"};
    case Player::RealPlayer:
        return PlayerEntry{"SOFTWARE\\Classes\\Applications\\RealPlay.exe\\shell\\open\\command",
                           nullptr};
    case Player::Winamp:
        return PlayerEntry{"SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command", nullptr};
    }
    return std::nullopt;
}

std::string PlayerProgram(Player player, std::string_view text) {
    switch (player) {
    case Player::MediaPlayer:
        return std::string(text);
    case Player::ITunes:
        return ContainsNoCase(text, "iTunes") ? std::string(text) : std::string();
    case Player::RealPlayer: {
        std::string p = FirstQuoted(text);
        return ContainsNoCase(p, "realplay") ? p : std::string();
    }
    case Player::Winamp: {
        std::string p = FirstQuoted(text);
        return ContainsNoCase(p, "winamp") ? p : std::string();
    }
    }
    return {};
}

} // namespace gm::mon
