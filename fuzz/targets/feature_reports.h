#pragma once
// The invariants every decoder of a profile's feature report keeps:
// a refused report changes nothing; an accepted one writes inside the
// profile record only (it is exactly that long); and what the monitor then
// sends is read back as itself, so an apply followed by a read-back agrees
// with what was applied.

#include "fuzz/fuzz.h"
#include "monitor/device_reports.h"

namespace gm::fuzz {

template <class Decode, class Encode>
void CheckProfileReport(const uint8_t* data, std::size_t size, Decode decode, Encode encode) {
    Input in(data, size);
    const int index = in.Byte() % kProfileCount;
    Record profile(kProfileSize);
    profile.Fill(in.Piece());
    const std::vector<uint8_t> report = in.Rest();

    const Record before(profile);
    if (!decode(report.data(), report.size(), ProfileView(profile.data()))) {
        GM_FUZZ_CHECK_SAME(profile, before, "a refused report changed the profile");
        return;
    }
    const auto sent = encode(ProfileView(profile.data()), index);
    Record readBack(profile);
    GM_FUZZ_CHECK(decode(sent.data(), sent.size(), ProfileView(readBack.data())),
                  "the decoder refused the encoder's report");
    const auto again = encode(ProfileView(readBack.data()), index);
    GM_FUZZ_CHECK(again == sent, "a report read back does not encode as itself");
}

} // namespace gm::fuzz
