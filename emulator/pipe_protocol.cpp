#include "emulator/pipe_protocol.h"

namespace gm::emu {
namespace {

Bytes With(Op op, std::initializer_list<uint8_t> rest = {}) {
    Bytes b{uint8_t(op)};
    b.insert(b.end(), rest);
    return b;
}

} // namespace

Bytes EncodeHello() {
    return With(Op::Hello);
}
Bytes EncodeSubscribe() {
    return With(Op::Subscribe);
}
Bytes EncodeInterfaces() {
    return With(Op::Interfaces);
}

Bytes EncodeInterfacesAnswer(const Bytes& list) {
    Bytes b = With(Op::Interfaces, {1});
    b.insert(b.end(), list.begin(), list.end());
    return b;
}

Bytes EncodeSet(const uint8_t* report, std::size_t length) {
    Bytes b = With(Op::Set);
    b.insert(b.end(), report, report + length);
    return b;
}

Bytes EncodeGet(uint8_t reportId, std::size_t length) {
    return With(Op::Get, {uint8_t(length & 0xFF), uint8_t(length >> 8), reportId});
}

Bytes EncodeCommand(const std::string& text) {
    Bytes b = With(Op::Command);
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

Bytes EncodeHelloAnswer(bool plugged) {
    return With(Op::Hello, {uint8_t(plugged)});
}
Bytes EncodeSetAnswer(bool ok) {
    return With(Op::Set, {uint8_t(ok)});
}

Bytes EncodeGetAnswer(bool ok, const uint8_t* report, std::size_t length) {
    Bytes b = With(Op::Get, {uint8_t(ok)});
    if (ok)
        b.insert(b.end(), report, report + length);
    return b;
}

Bytes EncodeCommandAnswer(bool ok, const std::string& text) {
    Bytes b = With(Op::Command, {uint8_t(ok)});
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

Bytes EncodeEvent(uint16_t cls, uint16_t value) {
    return With(Op::Event, {uint8_t(cls), uint8_t(cls >> 8), uint8_t(value), uint8_t(value >> 8)});
}

Bytes EncodePlug(bool plugged) {
    return With(Op::Plug, {uint8_t(plugged)});
}

std::optional<Request> ParseRequest(const uint8_t* data, std::size_t length) {
    if (data == nullptr || length == 0 || length > kMaxMessage)
        return std::nullopt;
    Request r;
    r.op = Op(data[0]);
    switch (r.op) {
    case Op::Hello:
    case Op::Subscribe:
    case Op::Interfaces:
        return length == 1 ? std::optional(r) : std::nullopt;
    case Op::Set:
        if (length < 2 || length - 1 > kMaxReport)
            return std::nullopt;
        r.report.assign(data + 1, data + length);
        return r;
    case Op::Get:
        if (length != 4)
            return std::nullopt;
        r.length = std::size_t(data[1] | data[2] << 8);
        r.reportId = data[3];
        if (r.length == 0 || r.length > kMaxReport)
            return std::nullopt;
        return r;
    case Op::Command:
        r.text.assign(reinterpret_cast<const char*>(data + 1), length - 1);
        return r;
    default:
        return std::nullopt;
    }
}

std::optional<Answer> ParseAnswer(const uint8_t* data, std::size_t length) {
    if (data == nullptr || length < 2 || length > kMaxAnswer)
        return std::nullopt;
    Answer a;
    a.op = Op(data[0]);
    a.ok = data[1] != 0;
    switch (a.op) {
    case Op::Hello:
    case Op::Set:
    case Op::Plug:
        return length == 2 ? std::optional(a) : std::nullopt;
    case Op::Get:
    case Op::Interfaces:
        if (a.ok)
            a.report.assign(data + 2, data + length);
        return a;
    case Op::Command:
        a.text.assign(reinterpret_cast<const char*>(data + 2), length - 2);
        return a;
    case Op::Event:
        if (length != 5)
            return std::nullopt;
        a.ok = true;
        a.cls = uint16_t(data[1] | data[2] << 8);
        a.value = uint16_t(data[3] | data[4] << 8);
        return a;
    default:
        return std::nullopt;
    }
}

} // namespace gm::emu
