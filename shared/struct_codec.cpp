#include "shared/struct_codec.h"

#include <algorithm>
#include <array>
#include <vector>

namespace gm {
namespace {

// The value of each character as a hex digit, or 0xFF. A table keeps the
// per-character work of long values (a profile holds hundreds) to one load.
constexpr std::array<uint8_t, 256> kHexValue = [] {
    std::array<uint8_t, 256> t{};
    t.fill(0xFF);
    for (int c = '0'; c <= '9'; ++c)
        t[c] = uint8_t(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        t[c] = t[c + ('a' - 'A')] = uint8_t(c - 'A' + 10);
    return t;
}();

// Reads the two digits at `p`; the result is above 0xFF when either is not
// a hex digit.
unsigned ReadByte(const char* p) {
    const unsigned hi = kHexValue[static_cast<uint8_t>(p[0])];
    const unsigned lo = kHexValue[static_cast<uint8_t>(p[1])];
    return hi << 4 | lo | (lo & 0xF0u) << 8;
}

} // namespace

std::string EncodeStruct(const void* data, std::size_t size) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto* p = static_cast<const uint8_t*>(data);
    std::string out(2 * size + 2, '0');
    char* w = out.data();
    uint8_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        *w++ = kHex[p[i] >> 4];
        *w++ = kHex[p[i] & 0xF];
        sum = uint8_t(sum + p[i]);
    }
    w[0] = kHex[sum >> 4];
    w[1] = kHex[sum & 0xF];
    return out;
}

bool DecodeStruct(std::string_view text, void* out, std::size_t size) {
    if (text.size() != 2 * size + 2)
        return false;
    std::vector<uint8_t> bytes(size);
    const char* p = text.data();
    unsigned bad = 0;
    uint8_t sum = 0;
    for (std::size_t i = 0; i < size; ++i, p += 2) {
        const unsigned b = ReadByte(p);
        bad |= b;
        bytes[i] = uint8_t(b);
        sum = uint8_t(sum + b);
    }
    const unsigned stored = ReadByte(p);
    if ((bad | stored) > 0xFF || stored != sum)
        return false;
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(out));
    return true;
}

} // namespace gm
