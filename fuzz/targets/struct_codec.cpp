// The hex-and-checksum encoding of struct values in INI files.
#include "fuzz/fuzz.h"
#include "shared/struct_codec.h"

#include <cctype>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::Input in(data, size);
    const std::size_t length = in.Byte() | std::size_t(in.Byte() & 1) << 8; // 0-511
    fuzz::Record out(length);
    out.Fill(in.Piece());
    const std::string text = in.RestText();

    const fuzz::Record before(out);
    if (!DecodeStruct(text, out.data(), out.size())) {
        GM_FUZZ_CHECK_SAME(out, before, "a refused value changed the record");
        return 0;
    }
    GM_FUZZ_CHECK(text.size() == 2 * length + 2, "a value of another length was taken");
    std::string upper = text;
    for (char& c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    GM_FUZZ_CHECK(EncodeStruct(out.data(), out.size()) == upper,
                  "a value does not encode as the text it came from");
    return 0;
}
