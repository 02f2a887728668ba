// Report 9: one button's macro, its events and long pauses as items.
#include "fuzz/fuzz.h"
#include "monitor/device_reports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::Input in(data, size);
    const int profile = in.Byte() % kProfileCount;
    const int button = in.Byte() % kButtonCount;
    fuzz::Record record(kButtonSize);
    record.Fill(in.Piece());
    const std::vector<uint8_t> report = in.Rest();

    const fuzz::Record before(record);
    if (!mon::DecodeMacro(report.data(), report.size(), ButtonView(record.data()), profile,
                          button)) {
        GM_FUZZ_CHECK_SAME(record, before, "a refused report changed the button");
        return 0;
    }
    ButtonView b(record.data());
    GM_FUZZ_CHECK(b.Get(btn::EventCount) <= kMaxEvents, "more events than a button holds");
    GM_FUZZ_CHECK(b.Get(btn::FunctionType) == fn::Macro, "a received macro is not a macro");
    GM_FUZZ_CHECK(!b.Get(btn::MacroName).empty(), "a received macro has no name");

    const mon::MacroReport sent = mon::EncodeMacro(b, profile, button);
    fuzz::Record readBack(record);
    GM_FUZZ_CHECK(
        mon::DecodeMacro(sent.data(), sent.size(), ButtonView(readBack.data()), profile, button),
        "the decoder refused the encoder's report");
    const mon::MacroReport again = mon::EncodeMacro(ButtonView(readBack.data()), profile, button);
    if (again != sent) {
        fuzz::Show("received", report);
        fuzz::Show("sent", sent);
        fuzz::Show("sent after reading that back", again);
    }
    GM_FUZZ_CHECK(again == sent, "a macro read back does not encode as itself");
    return 0;
}
