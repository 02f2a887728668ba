#pragma once
// The virtual mouse as its server sees it: the firmware, the log of every
// report exchanged, and the text commands of the command line and tests.
// Pure code; the clock is injected so the log's timestamps can be checked.

#include "emulator/firmware.h"
#include "emulator/scripted_hid.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace gm::emu {

// Something the server sends to every subscriber.
struct Notification {
    enum Kind { DeviceEvent, Plug, RawInput } kind;
    uint16_t cls = 0;
    uint16_t value = 0;
    bool plugged = false;
    HidInput input = {}; // RawInput: for the HID interfaces only
    bool operator==(const Notification&) const = default;
};

enum class Reply { Ok, Refused, Silent };

struct ReportResult {
    Reply reply;
    std::vector<Notification> notes; // an injected unplug fires here
    unsigned delayMs = 0;            // send the answer this much later
    // A get answered short (fault `short N`): only this many bytes go back.
    std::size_t answerLength = kWholeAnswer;
    static constexpr std::size_t kWholeAnswer = std::size_t(-1);
};

struct CommandResult {
    bool ok = true;
    std::string text;
    std::vector<Notification> notes;
    bool quit = false;
};

struct LogEntry {
    uint64_t ms;
    char kind; // 'S' set, 'G' get, 'E' event sent, 'P' plug change
    bool ok;
    std::vector<uint8_t> bytes;
};

class VirtualMouse {
  public:
    static constexpr std::size_t kLogCapacity = 20000;

    explicit VirtualMouse(std::function<uint64_t()> clockMs);

    ReportResult Set(const uint8_t* data, std::size_t length);
    ReportResult Get(uint8_t* data, std::size_t length);
    CommandResult Execute(const std::string& line);

    bool plugged() const { return firmware_.plugged(); }
    Firmware& firmware() { return firmware_; }
    // The interfaces presented when the mouse runs as a HID device.
    HidInterfaces& hid() { return hid_; }
    const std::deque<LogEntry>& log() const { return log_; }
    std::string LogText() const;
    std::string StateLine() const;

    // True once after anything the flash holds has changed.
    bool TakeFlashChanged();

  private:
    std::vector<Notification> Emit(const Outcome& outcome);
    std::vector<Notification> PlugChange(bool plugged);
    void Log(char kind, bool ok, const uint8_t* data, std::size_t length);

    std::function<uint64_t()> clock_;
    Firmware firmware_;
    HidInterfaces hid_;
    std::deque<LogEntry> log_;
    bool flashChanged_ = false;
};

// "12", "0x0C", "0xC000" -> value; nothing for anything else or above `max`.
std::optional<uint32_t> ParseNumber(const std::string& text, uint32_t max);

} // namespace gm::emu
