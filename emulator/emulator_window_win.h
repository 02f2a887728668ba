#pragma once
// The virtual mouse's small window: its state, and its fifteen buttons and
// profile button to press with the real mouse (held while held).

#include <windows.h>

#include <atomic>
#include <string>

namespace gm::emu {

class PipeServer;
class VirtualMouse;

class EmulatorWindow {
  public:
    void Create(PipeServer& server, VirtualMouse& mouse, bool hidden);
    void Destroy();
    // Any thread: asks the window to repaint (posted, never sent).
    void Refresh();

  private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM) noexcept;
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) noexcept;
    void Paint(HDC dc);
    int HitTest(int x, int y) const; // 1-15 buttons, 16 profile, 17 plug, 0 none
    RECT SlotRect(int slot) const;

    std::atomic<HWND> hwnd_{nullptr};
    PipeServer* server_ = nullptr;
    VirtualMouse* mouse_ = nullptr;
    int held_ = 0;
    std::string lastAction_;
};

} // namespace gm::emu
