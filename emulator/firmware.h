#pragma once
// The firmware of the virtual mouse: every feature report as the mouse
// answers it, its flash (five profiles of performance records, button tables
// and macros, the OTG value, the active profile), the events it reports when
// its buttons are used, and injectable faults. Pure code: the emulator
// program puts a pipe and a window around it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gm::emu {

inline constexpr int kProfiles = 5;
inline constexpr int kButtons = 15;
inline constexpr std::size_t kPerformanceLength = 37; // report 6
inline constexpr std::size_t kButtonTableLength = 50; // report 7
inline constexpr std::size_t kMacroLength = 130;      // report 9

// Status byte of report 4.
enum class Status : uint8_t { Done = 1, Busy = 3, Failed = 2 };

// One event as the mouse reports it: class and 16-bit value (low byte code,
// high byte flag).
struct Event {
    uint16_t cls;
    uint16_t value;
    bool operator==(const Event&) const = default;
};

// What a button press did that is not an event to the host (clicks, keys
// the mouse types itself): kept for the log and the window.
struct Outcome {
    std::vector<Event> events;
    std::string action; // human-readable, e.g. "left click", "macro 3 press"
};

struct Faults {
    int busyPolls = 0;        // the next N status polls answer busy
    bool failNextSet = false; // the next set report is refused
    bool failNextGet = false; // the next get report is refused
    bool silent = false;      // answer nothing until cleared
    int unplugAfter = -1;     // unplug after this many more reports (-1: never)
    unsigned slowMs = 0;      // every report is answered this much later
    int shortNextGet = -1;    // the next get answer carries only this many bytes
};

struct Flash {
    uint8_t activeProfile = 0;
    uint8_t firmwareVersion = 123; // shown as 1.23
    uint8_t mouseType = 1;
    uint8_t hostAttached = 0;
    uint8_t performance[kProfiles][kPerformanceLength]{};
    uint8_t buttons[kProfiles][kButtonTableLength]{};
    uint8_t macros[kProfiles][kButtons][kMacroLength]{};
    uint8_t otg[kProfiles]{};
};

class Firmware {
  public:
    Firmware(); // factory state

    // Feature reports. `data[0]` is the report id. False = the request was
    // refused (unknown id, wrong length, out-of-range profile, injected fault,
    // unplugged); a get then leaves `data` untouched.
    bool SetFeature(const uint8_t* data, std::size_t length);
    bool GetFeature(uint8_t* data, std::size_t length);

    // Buttons 1-15 as the user presses them.
    Outcome Press(int button);
    Outcome Release(int button);
    // The mouse's own profile button: next profile, or a given one (0-4).
    Outcome SwitchProfile(int profile);

    bool plugged() const { return plugged_; }
    void set_plugged(bool p) { plugged_ = p; }
    Faults& faults() { return faults_; }
    const Flash& flash() const { return flash_; }
    Flash& flash() { return flash_; }

    // The flash as bytes, to keep it across restarts; Load refuses anything
    // that is not a whole image of this version.
    std::vector<uint8_t> SaveFlash() const;
    [[nodiscard]] bool LoadFlash(const std::vector<uint8_t>& image);
    void FactoryReset();

    // Current values of the active profile, for the window and `dump`.
    int ActiveStage() const;
    int SensitivityX() const;
    int SensitivityY() const;
    int PollingRate() const;
    // Type byte of the active table for button 1-15 (numbered as in Press);
    // 0 for any other number.
    uint8_t FunctionOf(int button) const;

    std::string Dump() const; // readable summary of the whole flash

  private:
    void Finish(Status s);
    bool CountReport(); // true when an injected unplug fires now
    Outcome StageChange(int stage);
    Outcome SensitivityChange(int x, int y);

    int Active() const; // active profile, kept in range even if flash() was edited
    uint8_t* Performance() { return flash_.performance[Active()]; }
    const uint8_t* Performance() const { return flash_.performance[Active()]; }
    bool ApplySet(const uint8_t* data, std::size_t length);
    // Fills `out` with the answer to a get; its length, or 0 when refused.
    std::size_t Answer(uint8_t id, uint8_t* out, std::size_t length) const;
    Outcome Act(int button, int type, bool press);
    void ClearHeld();

    Flash flash_;
    Faults faults_;
    bool plugged_ = true;
    Status status_ = Status::Done;
    int selectedProfile_ = 0;
    int selectedItem_ = 16; // 16 performance, 32 button table, 0-14 macro, -1 none
    int sniperSavedStage_ = -1;
    int sniperProfile_ = 0; // the profile whose stage the sniper lowered
    // Function each button had when it was pressed (-1: not held), so its
    // release matches the press even if the table or profile changed since.
    std::array<int, kButtons> heldType_{};
};

} // namespace gm::emu
