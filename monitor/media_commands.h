#pragma once
// Media functions 25-32, free of Windows: what each player understands for
// each transport command, and where its program is found.

#include <optional>
#include <string>
#include <string_view>

namespace gm::mon {

enum class MediaFn {
    Start = 25,
    Previous = 26,
    Next = 27,
    PlayPause = 28,
    Stop = 29,
    Mute = 30,
    VolumeUp = 31,
    VolumeDown = 32
};

inline constexpr int kVolumeRepeatMs = 300;

// MediaOption: 0 Windows Media Player, 1 iTunes, 2 RealPlayer, 3 Winamp.
enum class Player { MediaPlayer = 0, ITunes = 1, RealPlayer = 2, Winamp = 3 };

// The volume key of functions 30-32 (virtual key), or 0.
int VolumeKey(int function);

// WM_APPCOMMAND command of functions 26-29 for the system's media keys.
int AppCommandFor(int function);

// WM_COMMAND id for RealPlayer (2) or Winamp (3) for functions 26-29, or 0.
// Winamp's play/pause alternates play and pause on `winampToggle`, starting with play.
int PlayerCommandFor(Player player, int function, int& winampToggle);

enum class ITunesKeys { None, CtrlRight, CtrlLeft, Space };
ITunesKeys ITunesKeysFor(int function);

// Where a player's program is registered (under HKEY_LOCAL_MACHINE).
struct PlayerEntry {
    const char* key;
    const char* value; // nullptr: the default value
};
std::optional<PlayerEntry> PlayerRegistryEntry(Player player);

// The program to run from a player's registry text, or "" when the text does
// not name that player: Media Player's path is taken as it is (environment
// strings expanded by the caller); iTunes's must mention "iTunes"; the
// commands of RealPlayer and Winamp are cut to their first quoted part and
// must mention "realplay" / "winamp" (all case-insensitive).
std::string PlayerProgram(Player player, std::string_view registryText);

} // namespace gm::mon
