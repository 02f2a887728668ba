// The virtual mouse as a client can reach it: pipe messages of any shape,
// and through them feature reports and lines of its command language, in
// any order, plus a flash image of any content and the answers a client
// takes apart.
#include "emulator/pipe_protocol.h"
#include "emulator/scripted_hid.h"
#include "emulator/virtual_mouse.h"
#include "fuzz/fuzz.h"

#include <algorithm>

namespace {

using namespace gm;
using namespace gm::emu;

void CheckAnswer(const std::vector<uint8_t>& message) {
    const auto a = ParseAnswer(message.data(), message.size());
    if (!a)
        return;
    Bytes again;
    switch (a->op) {
    case Op::Hello:
        again = EncodeHelloAnswer(a->ok);
        break;
    case Op::Set:
        again = EncodeSetAnswer(a->ok);
        break;
    case Op::Plug:
        again = EncodePlug(a->ok);
        break;
    case Op::Event:
        again = EncodeEvent(a->cls, a->value);
        GM_FUZZ_CHECK(again == message, "an event does not encode as itself");
        return;
    case Op::Get:
        if (!a->ok)
            return; // a refusal carries no report
        again = EncodeGetAnswer(true, a->report.data(), a->report.size());
        break;
    case Op::Command:
        again = EncodeCommandAnswer(a->ok, a->text);
        break;
    case Op::Interfaces:
        if (!a->ok)
            return;
        again = EncodeInterfacesAnswer(a->report);
        break;
    default:
        GM_FUZZ_CHECK(false, "an answer of no known kind was taken");
    }
    // The same length and, past the flag byte (any nonzero value is "ok"),
    // the same bytes.
    GM_FUZZ_CHECK(again.size() == message.size() &&
                      std::equal(again.begin() + 2, again.end(), message.begin() + 2),
                  "an answer does not encode as itself");
}

// The messages on a HID interface's pipe and the interface list: what is
// taken apart encodes as itself.
void CheckHidMessages(const std::vector<uint8_t>& message) {
    if (const auto r = ParseHidRequest(message.data(), message.size())) {
        const std::vector<uint8_t> again =
            r->set ? EncodeHidSet(r->seq, r->report.data(), r->report.size())
                   : EncodeHidGet(r->seq, r->reportId, r->length);
        GM_FUZZ_CHECK(again == message, "a HID request does not encode as itself");
        GM_FUZZ_CHECK(r->set || (r->length >= 1 && r->length <= kMaxHidReport),
                      "a get of a length out of range was taken");
    }
    if (const auto a = ParseHidAnswer(message.data(), message.size())) {
        std::vector<uint8_t> again =
            a->set ? EncodeHidSetAnswer(a->seq, a->ok)
                   : EncodeHidGetAnswer(a->seq, a->ok, a->report.data(), a->report.size());
        again[5] = message[5]; // any nonzero flag is "ok"
        GM_FUZZ_CHECK(again == message, "a HID answer does not encode as itself");
    }
    if (const auto list = ParseHidList(message.data(), message.size())) {
        GM_FUZZ_CHECK(list->size() <= kMaxHidInterfaces, "too many interfaces taken");
        std::vector<uint8_t> again = EncodeHidList(*list);
        GM_FUZZ_CHECK(again.size() == message.size(), "a list does not encode as itself");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    uint64_t now = 0;
    VirtualMouse mouse([&] { return now += 7; });
    if (in.Byte() & 1) {
        const std::vector<uint8_t> image = in.Bytes(in.U32() % 20000);
        const std::vector<uint8_t> before = mouse.firmware().SaveFlash();
        if (!mouse.firmware().LoadFlash(image))
            GM_FUZZ_CHECK(mouse.firmware().SaveFlash() == before,
                          "a refused image changed the flash");
    }
    for (int n = 0; n < 64 && in.left() > 0; ++n) {
        const std::vector<uint8_t> message = in.Piece();
        CheckAnswer(message);
        CheckHidMessages(message);
        const auto request = ParseRequest(message.data(), message.size());
        if (!request)
            continue;
        switch (request->op) {
        case Op::Set: {
            const ReportResult r = mouse.Set(request->report.data(), request->report.size());
            GM_FUZZ_CHECK(r.delayMs <= 10000, "an answer delayed beyond the limit");
            break;
        }
        case Op::Get: {
            std::vector<uint8_t> report(request->length, 0xEE);
            report[0] = request->reportId;
            const std::vector<uint8_t> before = report;
            const ReportResult r = mouse.Get(report.data(), report.size());
            if (r.reply != Reply::Ok)
                GM_FUZZ_CHECK(report == before, "a refused get wrote into the report");
            break;
        }
        case Op::Command: {
            // "log" lists every exchange so far; keep the runs quick.
            if (request->text.rfind("log", 0) == 0)
                break;
            const CommandResult r = mouse.Execute(request->text);
            (void)r;
            break;
        }
        default:
            break;
        }
        // Whatever happened, the state line and the flash summary can be
        // shown, and the mouse's own interface is there, listed last.
        (void)mouse.StateLine();
        const auto& table = mouse.hid().list();
        GM_FUZZ_CHECK(!table.empty() && table.size() <= kMaxHidInterfaces && table.back().mouse,
                      "the interface table lost its mouse or its bound");
    }
    (void)mouse.firmware().Dump();
    return 0;
}
