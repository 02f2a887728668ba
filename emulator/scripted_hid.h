#pragma once
// The HID interfaces the virtual mouse presents when it runs as a HID device
// (`MouseEmulator.exe serve --hid`): its own configuration interface and the
// decoys a test adds beside it (another vendor's device, another collection
// of the same mouse, a keyboard). Pure code: the table and its commands, the
// messages on each interface's pipe, and the interface list that the test
// builds of hid.dll and setupapi.dll read from the virtual mouse.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gm::emu {

struct HidInterface {
    uint16_t id = 0;         // stable: part of the interface's path
    uint16_t generation = 0; // counts publications: a path names one of them
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0x0100;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t featureLength = 0; // bytes of a feature report, id included
    uint16_t inputLength = 0;   // bytes of an input report, id included
    bool mouse = false;         // speaks the firmware; a decoy refuses every report
    bool present = true;        // listed by the system (the mouse: while plugged)
    // Kept by the server: handles opened on it, feature reports sent to it.
    uint32_t opens = 0;
    uint32_t reports = 0;
    bool operator==(const HidInterface&) const = default;
};

inline constexpr std::size_t kMaxHidInterfaces = 8;
inline constexpr uint16_t kMaxHidReport = 1024;

// One input report the server sends on an interface's pipes.
struct HidInput {
    uint16_t interfaceId = 0;
    std::vector<uint8_t> bytes;
    bool operator==(const HidInput&) const = default;
};

class HidInterfaces {
  public:
    HidInterfaces(); // the mouse alone: 0x1A2B/0x3C4D, page 0xFF00, 130/8 bytes

    // In enumeration order: decoys are listed before the mouse, so a host
    // that takes the first match of its ids is caught.
    const std::vector<HidInterface>& list() const { return list_; }
    HidInterface* Find(uint16_t id);
    HidInterface& mouse();
    void SetMouseIds(uint16_t vendorId, uint16_t productId, uint16_t usagePage);

    struct Result {
        bool ok = true;
        std::string text;
        std::vector<HidInput> inputs;
    };
    // `words` without the leading "hid":
    //   (nothing)                               the list, with counters
    //   mouse VID PID PAGE [FEATURE INPUT]      the mouse's own interface
    //   add VID PID PAGE USAGE [FEATURE INPUT]  a decoy; answers its id
    //   remove ID                               a decoy leaves the system
    //   input ID BYTE...                        an input report from any interface
    Result Execute(const std::vector<std::string>& words);
    std::string Text() const;

  private:
    std::vector<HidInterface> list_;
    uint16_t nextId_ = 1;
};

// The device path of an interface: a pipe beside the virtual mouse's own, in
// the form Windows gives HID interface paths, so the ids can be read from it.
// Each publication has a path of its own, so a path always names the same
// lengths and usages.
std::string HidInterfacePath(const std::string& controlPipe, const HidInterface& i);

// An input report as it reaches the host: `bytes` padded with zeros to the
// interface's input length (a longer one is cut there).
std::vector<uint8_t> HidInputReport(const HidInterface& i, const std::vector<uint8_t>& bytes);

// Messages on an interface's pipe (message mode). The host side of hid.dll
// numbers its requests, so an answer that comes after its request was given
// up is never taken for the answer to a later one.
//
//   [0xF1, seq x4 (LE), report...]        set feature -> [0xF1, seq x4, ok]
//   [0xF2, seq x4, length lo, hi, id]     get feature -> [0xF2, seq x4, ok, report...]
//
// Every other message on the pipe, server to host, is one input report.
inline constexpr uint8_t kHidSetOp = 0xF1;
inline constexpr uint8_t kHidGetOp = 0xF2;

struct HidRequest {
    bool set = false;
    uint32_t seq = 0;
    std::vector<uint8_t> report; // set: the report
    uint8_t reportId = 0;        // get
    std::size_t length = 0;      // get: 1-kMaxHidReport
};
struct HidAnswer {
    bool set = false;
    uint32_t seq = 0;
    bool ok = false;
    std::vector<uint8_t> report; // get: what the device sent (may be short)
};

std::vector<uint8_t> EncodeHidSet(uint32_t seq, const uint8_t* report, std::size_t length);
std::vector<uint8_t> EncodeHidGet(uint32_t seq, uint8_t reportId, std::size_t length);
std::vector<uint8_t> EncodeHidSetAnswer(uint32_t seq, bool ok);
std::vector<uint8_t> EncodeHidGetAnswer(uint32_t seq, bool ok, const uint8_t* report,
                                        std::size_t length);
std::optional<HidRequest> ParseHidRequest(const uint8_t* data, std::size_t length);
std::optional<HidAnswer> ParseHidAnswer(const uint8_t* data, std::size_t length);

// The interface list on the virtual mouse's own pipe:
//   [Interfaces] -> [Interfaces, 1, count, per interface 20 bytes:
//                    id, generation, vid, pid, version, page, usage, feature,
//                    input (LE words), present, mouse]
std::vector<uint8_t> EncodeHidList(const std::vector<HidInterface>& list);
std::optional<std::vector<HidInterface>> ParseHidList(const uint8_t* data, std::size_t length);

} // namespace gm::emu
