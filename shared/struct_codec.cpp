#include "shared/struct_codec.h"

#include <algorithm>
#include <vector>

namespace gm {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool ReadByte(std::string_view text, std::size_t pos, uint8_t& out) {
    const int hi = HexValue(text[pos]);
    const int lo = HexValue(text[pos + 1]);
    if (hi < 0 || lo < 0)
        return false;
    out = uint8_t(hi << 4 | lo);
    return true;
}

} // namespace

std::string EncodeStruct(const void* data, std::size_t size) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto* p = static_cast<const uint8_t*>(data);
    std::string out;
    out.reserve(2 * size + 2);
    uint8_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        out += kHex[p[i] >> 4];
        out += kHex[p[i] & 0xF];
        sum = uint8_t(sum + p[i]);
    }
    out += kHex[sum >> 4];
    out += kHex[sum & 0xF];
    return out;
}

bool DecodeStruct(std::string_view text, void* out, std::size_t size) {
    if (text.size() != 2 * size + 2)
        return false;
    std::vector<uint8_t> bytes(size);
    uint8_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (!ReadByte(text, 2 * i, bytes[i]))
            return false;
        sum = uint8_t(sum + bytes[i]);
    }
    uint8_t stored;
    if (!ReadByte(text, 2 * size, stored) || stored != sum)
        return false;
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(out));
    return true;
}

} // namespace gm
