#include "emulator/scripted_hid.h"

#include <algorithm>
#include <cstdio>

namespace gm::emu {
namespace {

// "0x1A2B" or decimal; nothing above `max`.
std::optional<uint32_t> Number(const std::string& text, uint32_t max) {
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    uint64_t v = 0;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    for (std::size_t i = hex ? 2 : 0; i < text.size(); ++i) {
        const char c = text[i];
        int d = c >= '0' && c <= '9'          ? c - '0'
                : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                              : -1;
        if (d < 0)
            return std::nullopt;
        v = v * (hex ? 16 : 10) + uint64_t(d);
    }
    if (v > max)
        return std::nullopt;
    return uint32_t(v);
}

void PutWord(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void PutSeq(std::vector<uint8_t>& b, uint32_t seq) {
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(seq >> (8 * i)));
}
uint32_t Seq(const uint8_t* d) {
    return uint32_t(d[0]) | uint32_t(d[1]) << 8 | uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24;
}
uint16_t Word(const uint8_t* d) {
    return uint16_t(d[0] | d[1] << 8);
}

constexpr std::size_t kListEntry = 20;

HidInterfaces::Result Fail(const std::string& text) {
    return {false, text, {}};
}

} // namespace

HidInterfaces::HidInterfaces() {
    HidInterface m;
    m.id = 0;
    m.vendorId = 0x1A2B;
    m.productId = 0x3C4D;
    m.usagePage = 0xFF00;
    m.usage = 0x0001;
    m.featureLength = 130; // the longest feature report, the macro
    m.inputLength = 8;
    m.mouse = true;
    list_.push_back(m);
}

HidInterface* HidInterfaces::Find(uint16_t id) {
    auto it = std::find_if(list_.begin(), list_.end(), [&](auto& i) { return i.id == id; });
    return it == list_.end() ? nullptr : &*it;
}

HidInterface& HidInterfaces::mouse() {
    return *std::find_if(list_.begin(), list_.end(), [](auto& i) { return i.mouse; });
}

void HidInterfaces::SetMouseIds(uint16_t vendorId, uint16_t productId, uint16_t usagePage) {
    HidInterface& m = mouse();
    m.vendorId = vendorId;
    m.productId = productId;
    m.usagePage = usagePage;
}

std::string HidInterfaces::Text() const {
    std::string out;
    char line[200];
    for (const HidInterface& i : list_) {
        std::snprintf(line, sizeof line,
                      "%u %s vid 0x%04X pid 0x%04X page 0x%04X usage 0x%04X feature %u input %u "
                      "%s opened %u reports %u\n",
                      unsigned(i.id), i.mouse ? "mouse" : "decoy", unsigned(i.vendorId),
                      unsigned(i.productId), unsigned(i.usagePage), unsigned(i.usage),
                      unsigned(i.featureLength), unsigned(i.inputLength),
                      i.present ? "present" : "absent", unsigned(i.opens), unsigned(i.reports));
        out += line;
    }
    return out;
}

HidInterfaces::Result HidInterfaces::Execute(const std::vector<std::string>& w) {
    if (w.empty())
        return {true, Text(), {}};
    auto arg = [&](std::size_t i, uint32_t max) -> std::optional<uint32_t> {
        return i < w.size() ? Number(w[i], max) : std::nullopt;
    };
    // Optional feature and input lengths at `at`; both or neither.
    auto lengths = [&](std::size_t at, HidInterface& i) {
        if (w.size() == at)
            return true;
        const auto f = arg(at, kMaxHidReport);
        const auto n = arg(at + 1, kMaxHidReport);
        if (w.size() != at + 2 || !f || !n || *f < 2 || *n < 2)
            return false;
        i.featureLength = uint16_t(*f);
        i.inputLength = uint16_t(*n);
        return true;
    };
    const std::string& cmd = w[0];
    if (cmd == "mouse") {
        const auto v = arg(1, 0xFFFF), p = arg(2, 0xFFFF), page = arg(3, 0xFFFF);
        HidInterface m = mouse();
        if (!v || !p || !page || !lengths(4, m))
            return Fail("hid mouse VID PID PAGE [FEATURE INPUT] (lengths 2-1024)");
        m.vendorId = uint16_t(*v);
        m.productId = uint16_t(*p);
        m.usagePage = uint16_t(*page);
        mouse() = m;
        return {true, Text(), {}};
    }
    if (cmd == "add") {
        const auto v = arg(1, 0xFFFF), p = arg(2, 0xFFFF), page = arg(3, 0xFFFF),
                   usage = arg(4, 0xFFFF);
        HidInterface d;
        d.featureLength = 64;
        d.inputLength = 8;
        if (!v || !p || !page || !usage || !lengths(5, d))
            return Fail("hid add VID PID PAGE USAGE [FEATURE INPUT] (lengths 2-1024)");
        if (list_.size() >= kMaxHidInterfaces)
            return Fail("at most " + std::to_string(kMaxHidInterfaces) + " interfaces");
        d.id = nextId_++;
        d.vendorId = uint16_t(*v);
        d.productId = uint16_t(*p);
        d.usagePage = uint16_t(*page);
        d.usage = uint16_t(*usage);
        list_.insert(list_.end() - 1, d); // before the mouse, which stays last
        return {true, "interface " + std::to_string(d.id), {}};
    }
    if (cmd == "remove") {
        const auto id = arg(1, 0xFFFF);
        HidInterface* d = id && w.size() == 2 ? Find(uint16_t(*id)) : nullptr;
        if (!d || d->mouse)
            return Fail("hid remove ID (a decoy; the mouse is unplugged instead)");
        list_.erase(list_.begin() + (d - list_.data()));
        return {true, "interface " + w[1] + " removed", {}};
    }
    if (cmd == "input") {
        const auto id = arg(1, 0xFFFF);
        HidInterface* i = id ? Find(uint16_t(*id)) : nullptr;
        if (!i || w.size() < 3 || w.size() - 2 > i->inputLength)
            return Fail("hid input ID BYTE... (at most the interface's input length)");
        HidInput in{i->id, {}};
        for (std::size_t k = 2; k < w.size(); ++k) {
            const auto b = arg(k, 0xFF);
            if (!b)
                return Fail("bytes are 0-255");
            in.bytes.push_back(uint8_t(*b));
        }
        return {true, "sent", {in}};
    }
    return Fail("hid [mouse ... | add ... | remove ID | input ID BYTE...]");
}

std::string HidInterfacePath(const std::string& controlPipe, const HidInterface& i) {
    char tail[128];
    std::snprintf(tail, sizeof tail,
                  "#hid#vid_%04x&pid_%04x&col%02u#%u&%u#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                  unsigned(i.vendorId), unsigned(i.productId), unsigned(i.id % 100) + 1,
                  unsigned(i.id), unsigned(i.generation));
    return controlPipe + tail;
}

std::vector<uint8_t> HidInputReport(const HidInterface& i, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> r(bytes.begin(),
                           bytes.begin() + std::min<std::size_t>(bytes.size(), i.inputLength));
    r.resize(i.inputLength, 0);
    return r;
}

std::vector<uint8_t> EncodeHidSet(uint32_t seq, const uint8_t* report, std::size_t length) {
    std::vector<uint8_t> b{kHidSetOp};
    PutSeq(b, seq);
    b.insert(b.end(), report, report + length);
    return b;
}

std::vector<uint8_t> EncodeHidGet(uint32_t seq, uint8_t reportId, std::size_t length) {
    std::vector<uint8_t> b{kHidGetOp};
    PutSeq(b, seq);
    PutWord(b, uint32_t(length));
    b.push_back(reportId);
    return b;
}

std::vector<uint8_t> EncodeHidSetAnswer(uint32_t seq, bool ok) {
    std::vector<uint8_t> b{kHidSetOp};
    PutSeq(b, seq);
    b.push_back(ok ? 1 : 0);
    return b;
}

std::vector<uint8_t> EncodeHidGetAnswer(uint32_t seq, bool ok, const uint8_t* report,
                                        std::size_t length) {
    std::vector<uint8_t> b{kHidGetOp};
    PutSeq(b, seq);
    b.push_back(ok ? 1 : 0);
    if (ok)
        b.insert(b.end(), report, report + length);
    return b;
}

std::optional<HidRequest> ParseHidRequest(const uint8_t* data, std::size_t length) {
    if (data == nullptr || length < 5)
        return std::nullopt;
    HidRequest r;
    r.seq = Seq(data + 1);
    if (data[0] == kHidSetOp) {
        if (length < 6 || length - 5 > kMaxHidReport)
            return std::nullopt;
        r.set = true;
        r.report.assign(data + 5, data + length);
        return r;
    }
    if (data[0] == kHidGetOp && length == 8) {
        r.length = Word(data + 5);
        r.reportId = data[7];
        if (r.length == 0 || r.length > kMaxHidReport)
            return std::nullopt;
        return r;
    }
    return std::nullopt;
}

std::optional<HidAnswer> ParseHidAnswer(const uint8_t* data, std::size_t length) {
    if (data == nullptr || length < 6 || (data[0] != kHidSetOp && data[0] != kHidGetOp))
        return std::nullopt;
    HidAnswer a;
    a.set = data[0] == kHidSetOp;
    a.seq = Seq(data + 1);
    a.ok = data[5] != 0;
    if (a.set)
        return length == 6 ? std::optional(a) : std::nullopt;
    if (length - 6 > kMaxHidReport || (!a.ok && length != 6))
        return std::nullopt;
    a.report.assign(data + 6, data + length);
    return a;
}

std::vector<uint8_t> EncodeHidList(const std::vector<HidInterface>& list) {
    std::vector<uint8_t> b{uint8_t(list.size())};
    for (const HidInterface& i : list) {
        for (uint16_t v : {i.id, i.generation, i.vendorId, i.productId, i.version, i.usagePage,
                           i.usage, i.featureLength, i.inputLength})
            PutWord(b, v);
        b.push_back(i.present ? 1 : 0);
        b.push_back(i.mouse ? 1 : 0);
    }
    return b;
}

std::optional<std::vector<HidInterface>> ParseHidList(const uint8_t* data, std::size_t length) {
    if (data == nullptr || length == 0 || data[0] > kMaxHidInterfaces ||
        length != 1 + std::size_t(data[0]) * kListEntry)
        return std::nullopt;
    std::vector<HidInterface> list(data[0]);
    const uint8_t* p = data + 1;
    for (HidInterface& i : list) {
        i.id = Word(p);
        i.generation = Word(p + 2);
        i.vendorId = Word(p + 4);
        i.productId = Word(p + 6);
        i.version = Word(p + 8);
        i.usagePage = Word(p + 10);
        i.usage = Word(p + 12);
        i.featureLength = Word(p + 14);
        i.inputLength = Word(p + 16);
        i.present = p[18] != 0;
        i.mouse = p[19] != 0;
        if (i.featureLength > kMaxHidReport || i.inputLength > kMaxHidReport)
            return std::nullopt;
        p += kListEntry;
    }
    return list;
}

} // namespace gm::emu
