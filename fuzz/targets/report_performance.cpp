// Report 6: the performance settings of one profile.
#include "fuzz/targets/feature_reports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::CheckProfileReport(data, size, mon::DecodePerformance, mon::EncodePerformance);
    return 0;
}
