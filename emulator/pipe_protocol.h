#pragma once
// Messages between the mouse access library (or any client) and the virtual
// mouse over its named pipe. Every message is one pipe message (message-mode
// pipe); the first byte says what it is.
//
//   request                          answer
//   [Hello]                          [Hello, plugged 0/1]
//   [Set, report bytes...]           [Set, ok 0/1]
//   [Get, length lo, hi, report id]  [Get, ok 0/1, report bytes... (length)]
//   [Command, text...]               [Command, ok 0/1, text...]
//   [Subscribe]                      then, until the pipe closes, any number of
//                                    [Event, class lo, hi, value lo, hi] and
//                                    [Plug, 0/1]; the first is always a Plug.
//   [Interfaces]                     [Interfaces, 1, the HID interface list
//                                    (emulator/scripted_hid.h)]
//
// A silent (fault-injected) mouse sends no answer at all.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gm::emu {

enum class Op : uint8_t {
    Hello = 1,
    Set = 2,
    Get = 3,
    Command = 4,
    Subscribe = 5,
    Interfaces = 6,
    Event = 16,
    Plug = 17
};

inline constexpr std::size_t kMaxMessage = 4096;    // requests
inline constexpr std::size_t kMaxAnswer = 16 << 20; // answers (the log can be long)
inline constexpr std::size_t kMaxReport = 1024;

using Bytes = std::vector<uint8_t>;

Bytes EncodeHello();
Bytes EncodeSet(const uint8_t* report, std::size_t length);
Bytes EncodeGet(uint8_t reportId, std::size_t length);
Bytes EncodeCommand(const std::string& text);
Bytes EncodeSubscribe();
Bytes EncodeInterfaces();

Bytes EncodeHelloAnswer(bool plugged);
Bytes EncodeSetAnswer(bool ok);
Bytes EncodeGetAnswer(bool ok, const uint8_t* report, std::size_t length);
Bytes EncodeCommandAnswer(bool ok, const std::string& text);
Bytes EncodeEvent(uint16_t cls, uint16_t value);
Bytes EncodePlug(bool plugged);
Bytes EncodeInterfacesAnswer(const Bytes& list);

// A request as the server sees it; nothing for a malformed message.
struct Request {
    Op op = Op::Hello;
    Bytes report;           // Set: the report; Get: empty
    uint8_t reportId = 0;   // Get
    std::size_t length = 0; // Get: bytes asked for (at most kMaxReport)
    std::string text;       // Command
};
std::optional<Request> ParseRequest(const uint8_t* data, std::size_t length);

// An answer or notification as the client sees it.
struct Answer {
    Op op = Op::Hello;
    bool ok = false;    // Set, Get, Command; Hello and Plug: plugged
    Bytes report;       // Get; Interfaces: the encoded list
    std::string text;   // Command
    uint16_t cls = 0;   // Event
    uint16_t value = 0; // Event
};
std::optional<Answer> ParseAnswer(const uint8_t* data, std::size_t length);

} // namespace gm::emu
