// Reports 5 (the active profile) and 10 (firmware version and mouse type):
// answers only for a report of their id and length, and the profile only
// in range.
#include "fuzz/fuzz.h"
#include "monitor/device_reports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    const std::vector<uint8_t> report(data, data + size);
    if (const auto p = mon::DecodeCurrentProfile(report.data(), report.size())) {
        GM_FUZZ_CHECK(report.size() >= mon::kProfileLength && report[0] == mon::kProfileId,
                      "a profile from another report");
        GM_FUZZ_CHECK(*p >= 0 && *p < kProfileCount && *p == report[2], "a profile out of range");
    }
    if (mon::DecodeVersion(report.data(), report.size()))
        GM_FUZZ_CHECK(report.size() >= mon::kVersionLength && report[0] == mon::kVersionId,
                      "a version from another report");
    return 0;
}
