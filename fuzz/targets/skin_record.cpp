// A control slot of a skin description file: "name,x,y,width,height,text".
#include "fuzz/fuzz.h"
#include "skin/control_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    // The skin reader hands over a string, which ends at its first NUL.
    const std::string text(reinterpret_cast<const char*>(data),
                           strnlen(reinterpret_cast<const char*>(data), size));
    const skin::ControlRecord r = skin::ParseControlRecord(text);
    GM_FUZZ_CHECK(r.name.size() <= skin::ControlRecord::kNameMax, "a name longer than its field");
    GM_FUZZ_CHECK(r.text.size() <= skin::ControlRecord::kTextMax, "a text longer than its field");
    GM_FUZZ_CHECK(r.name.find('\0') == std::string::npos && r.text.find('\0') == std::string::npos,
                  "a field holds a NUL");
    // Sizes of any slot are computed without overflow (UBSan checks).
    (void)r.Width();
    (void)r.Height();
    (void)r.Empty();
    return 0;
}
