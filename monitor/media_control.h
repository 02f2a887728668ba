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

  private:
    void StartPlayer(int player);
    void Command(HWND owner, int player, int function);
    int winampToggle_ = 0;
};

} // namespace gm::mon
