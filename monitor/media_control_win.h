#pragma once
// Media functions 25-29: starting the chosen player and sending it
// transport commands. The volume keys (30-32) are sent by the monitor window
// itself, which owns their repeat timer.

#include <windows.h>

namespace gm::mon {

class MediaControl {
  public:
    // owner: the monitor's window, which posts the system's media commands.
    void Run(HWND owner, int player, int function);
    // The owner's timer `kFrontTimer` calls this until the player the
    // monitor brought to the front is there, or a second has passed.
    void OnFrontTimer(HWND owner);
    // Ends a pending bring-to-front at once (the owner is going).
    void EndFront(HWND owner);
    static constexpr UINT_PTR kFrontTimer = 105;

  private:
    void StartPlayer(HWND owner, int player);
    void BringToFront(HWND owner, HWND w);
    // While a player is brought to the front, the monitor's input stays
    // joined to the foreground thread's until the player has taken the
    // activation; parting earlier can leave no window in the front.
    struct Front {
        HWND window = nullptr;
        DWORD joined = 0; // the thread joined to ours, or 0
        ULONGLONG until = 0;
    };
    Front front_;
    void Command(HWND owner, int player, int function);
    int winampToggle_ = 0;
};

} // namespace gm::mon
