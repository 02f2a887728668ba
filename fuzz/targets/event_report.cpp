// The mouse's event input report, as either transport receives it, and the
// event words the monitor's window then takes apart.
#include "fuzz/fuzz.h"
#include "hid/event_report.h"
#include "monitor/event_intake.h"

namespace {

bool In(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

// Every accepted event carries a number of its kind's range.
void CheckIntake(uint32_t wParam, uint32_t lParam, const std::vector<uint8_t>& old) {
    using namespace gm;
    using mon::EventKind;
    const mon::DeviceEvent e = mon::DecodeDeviceEvent(wParam, lParam);
    switch (e.kind) {
    case EventKind::Ignored:
    case EventKind::OpenOption:
    case EventKind::Sensitivity:
        break;
    case EventKind::Tilt:
        GM_FUZZ_CHECK(e.direction == -1 || e.direction == 1, "a tilt without a direction");
        break;
    case EventKind::DeviceProfile:
        GM_FUZZ_CHECK(In(e.number, 0, kProfileCount - 1), "a profile out of range");
        break;
    case EventKind::ButtonNotice:
    case EventKind::Button:
    case EventKind::RunProgram:
        GM_FUZZ_CHECK(In(e.number, 1, kButtonCount), "a button out of range");
        break;
    case EventKind::Plug:
        GM_FUZZ_CHECK(e.number == 1 || e.number == 2, "a plug value out of range");
        break;
    case EventKind::Stage:
        GM_FUZZ_CHECK(In(e.number, 1, 10), "a stage out of range");
        break;
    case EventKind::Polling:
        GM_FUZZ_CHECK(In(e.number, 1, 4), "a polling rate out of range");
        break;
    case EventKind::Media:
        GM_FUZZ_CHECK(In(e.number, fn::MediaFirst, fn::MediaLast), "a media function out of range");
        break;
    }
    fuzz::Record profile(kProfileSize);
    profile.Fill(old);
    const fuzz::Record before(profile);
    ProfileView p(profile.data());
    if (!mon::ApplyDeviceValue(e, p)) {
        GM_FUZZ_CHECK_SAME(profile, before, "an event that changed nothing changed the profile");
        return;
    }
    // Only the stage, the sensitivities and the polling rate change, each
    // to a value of its range.
    const ProfileView was(const_cast<uint8_t*>(before.data()));
    const struct {
        I32Field field;
        int lo, hi;
    } allowed[] = {{prof::CpiStep, 0, kStageCount - 1},
                   {prof::Sensitivity_X, 1, 20},
                   {prof::Sensitivity_Y, 1, 20},
                   {prof::PollingRate, 0, 3}};
    fuzz::Record rest(profile);
    for (const auto& a : allowed) {
        if (p.Get(a.field) != was.Get(a.field))
            GM_FUZZ_CHECK(In(p.Get(a.field), a.lo, a.hi), "a device value out of range was set");
        ProfileView(rest.data()).Set(a.field, was.Get(a.field));
    }
    GM_FUZZ_CHECK_SAME(rest, before, "a device value changed another field");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::Input in(data, size);
    const uint32_t wParam = in.U32(), lParam = in.U32();
    const std::vector<uint8_t> old = in.Piece();
    CheckIntake(wParam, lParam, old);

    const std::vector<uint8_t> report = in.Rest();
    if (const auto e = hid::DecodeEventReport(report.data(), report.size())) {
        GM_FUZZ_CHECK(report.size() >= hid::kEventReportLength && report[0] == hid::kEventReportId,
                      "an event from another report");
        const auto again = hid::EncodeEventReport(*e);
        GM_FUZZ_CHECK(std::equal(again.begin(), again.end(), report.begin()),
                      "an event does not encode as the report it came from");
        CheckIntake(e->cls, e->value, old);
    }
    return 0;
}
