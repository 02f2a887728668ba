#pragma once
// What the monitor does for the buttons whose function the host carries
// out: key functions held and repeated, the volume keys' repeat, macros on
// the player thread, media players and tilt scrolling. Window thread only,
// except the player thread it owns.

#include "monitor/device_jobs.h"
#include "monitor/macro_thread_win.h"
#include "monitor/media_control_win.h"
#include "monitor/worker_thread_win.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace gm::mon {

class ButtonActions {
  public:
    explicit ButtonActions(WorkingBlock& working) : working_(working) {}

    // window: the monitor's, which owns the timers below.
    void Start(HWND window);
    // Shutdown: a playing macro is stopped, not waited for; nothing stays
    // pressed.
    void Stop();

    void OnButton(int button, bool release);
    void OnMedia(int function, bool release);
    void OnTilt(int direction);
    // True when the timer was one of the actions'.
    bool OnTimer(UINT_PTR id);
    // Every stop path: nothing the monitor holds stays pressed.
    void ReleaseEverything();

    static constexpr UINT_PTR kTimerVolume = 101;
    static constexpr UINT_PTR kTimerKeyRepeat = 102;

  private:
    void KeyFunctionPress(int button, uint8_t usage, uint8_t modifiers);
    void KeyFunctionRelease(int button);
    void OnKeyRepeat();
    // The current profile's index, or -1; the caller holds the lock.
    int CurrentProfileLocked() const;
    // Hands the begun macro to the player thread, made on first use.
    bool PostToPlayer();

    WorkingBlock& working_;
    HWND window_ = nullptr;
    bool stopped_ = false; // after Stop no player is made
    MacroRunner macro_;
    MediaControl media_;
    WorkerThread player_; // last: its thread plays `macro_`
    // Key-function buttons held now, each with its own key and modifiers.
    struct HeldKeyFunction {
        int button;
        uint8_t usage;
        std::vector<int> modifiers;
    };
    std::vector<HeldKeyFunction> heldKeys_;
    int repeatButton_ = 0; // the key function timer 102 repeats
    bool firstRepeat_ = false;
    int volumeFunction_ = 0; // the volume function timer 101 repeats
};

} // namespace gm::mon
