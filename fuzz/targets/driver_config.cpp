// hiddriver.ini, and the interface paths the HID transport enumerates.
#include "fuzz/fuzz.h"
#include "fuzz/ini_text.h"
#include "hid/driver_config.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::Input in(data, size);
    const std::vector<uint8_t> path = in.Piece();
    fuzz::IniText file(in.RestText());
    hid::DriverConfigText text{
        file.ReadText("Transport", "Mode"), file.ReadText("Transport", "Pipe"),
        file.ReadText("Device", "VendorId"), file.ReadText("Device", "ProductId"),
        file.ReadText("Device", "UsagePage")};
    const hid::DriverConfig c = hid::ParseDriverConfig(text);
    GM_FUZZ_CHECK(c.pipe.rfind("\\\\.\\pipe\\", 0) == 0, "a pipe name outside the pipe folder");
    // An id is read back from either of its spellings.
    for (const std::string* id : {&text.vendorId, &text.productId, &text.usagePage}) {
        const auto v = hid::ParseId(*id);
        if (!v)
            continue;
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%04X", *v);
        GM_FUZZ_CHECK(hid::ParseId(hex) == v && hid::ParseId(std::to_string(*v)) == v,
                      "an id does not read back as itself");
    }
    const std::string p(path.begin(), path.end());
    if (const auto ids = hid::IdsFromInterfacePath(p)) {
        // A vendor id of 0 matches nothing, whatever the path.
        hid::DriverConfig none;
        GM_FUZZ_CHECK(!hid::IsOurInterface(none, {ids->vendorId, ids->productId, 0xFF00}),
                      "an unset configuration matched an interface");
    }
    return 0;
}
