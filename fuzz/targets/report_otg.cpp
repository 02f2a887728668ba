// Report 8: the OTG value of the current profile.
#include "fuzz/targets/feature_reports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::CheckProfileReport(data, size, mon::DecodeOtg,
                             [](const ProfileView& p, int) { return mon::EncodeOtg(p); });
    return 0;
}
