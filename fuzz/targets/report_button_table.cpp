// Report 7: the function table of one profile's fifteen buttons.
#include "fuzz/targets/feature_reports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::CheckProfileReport(data, size, mon::DecodeButtonTable, mon::EncodeButtonTable);
    return 0;
}
