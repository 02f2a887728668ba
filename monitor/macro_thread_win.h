#pragma once
// The macro player's Windows side: a clock on the performance counter that
// waits with a high-resolution waitable timer and wakes at once on a stop,
// and the input it sends. Runs on the player thread (message 1648).

#include "monitor/macro_player.h"
#include "win/handles.h"

#include <windows.h>

namespace gm::mon {

class MacroRunner final : public MacroClock, public MacroInput {
  public:
    MacroRunner();
    // Window thread, on a macro button's press: while a macro plays the
    // press asks it to stop and starts nothing; otherwise the macro begins
    // and `post` hands it to the player thread. A macro whose post failed
    // is not playing, so the next press starts it again.
    enum class Press { Started, StopAsked, NotDelivered };
    template <class Post> Press OnPress(const MacroProgram& m, Post post) {
        if (!Begin(m)) {
            RequestStop();
            return Press::StopAsked;
        }
        if (post())
            return Press::Started;
        state_.playing = false;
        return Press::NotDelivered;
    }
    // Any thread: stop the playing macro at its next step; held keys come up.
    void RequestStop();
    // Player thread, on 1648.
    void Play();
    bool playing() const { return state_.playing; }

    int64_t NowUs() override;
    bool WaitUntilUs(int64_t atUs, bool interruptible) override;
    void Send(uint8_t code, bool down) override;
    void Debug(const std::string& line) override;

  private:
    // Window thread. Loads and posts nothing itself: returns false when a
    // macro is already playing (the caller then asks it to stop).
    bool Begin(const MacroProgram& m);

    MacroState state_;
    MacroProgram program_;
    win::unique_handle timer_;
    win::unique_handle stopEvent_;
    LARGE_INTEGER freq_{};
    bool warm_ = false; // player thread only
};

} // namespace gm::mon
