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
    // Restores every menu it still holds and unhooks.
    static void Remove();
    static bool Installed();
    // Menu windows subclassed right now.
    static std::size_t FramedWindows();
    // The frame: yellow outside, then two rings of the menu background.
    static void DrawFrame(HWND menu, HDC dc);
};

} // namespace gm::skin
