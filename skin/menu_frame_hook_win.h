#pragma once
// Gives every popup menu of the thread a one-pixel yellow frame: a hook sees
// each menu window being created and subclasses it to paint the frame.

#include <windows.h>

#include <cstddef>

namespace gm::skin {

class MenuFrameHook {
  public:
    // For the calling thread; true when the hook is in place.
    static bool Install();
    // Asks for the hook on the calling thread without paying for it yet:
    // while it is in place every message the thread sends passes through
    // it, which makes making many windows dearer. The first CoolMenu made
    // on the thread installs it, if Install has not come first.
    static void InstallBeforeFirstMenu();
    // Installs the hook when it was asked for and is not in place.
    static void InstallIfAskedFor();
    // Restores every menu it still holds and unhooks; asks for it no more.
    static void Remove();
    static bool Installed();
    // Menu windows subclassed right now.
    static std::size_t FramedWindows();
    // The frame: yellow outside, then two rings of the menu background.
    static void DrawFrame(HWND menu, HDC dc);
};

} // namespace gm::skin
