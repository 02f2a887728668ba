#include "skin/bmp_layout.h"

namespace gm::skin {
namespace {

constexpr std::size_t kFileHeader = 14;
constexpr uint32_t kRgb = 0, kBitFields = 3;
// Larger than any picture a skin holds; keeps every product below in range.
constexpr int64_t kMaxSide = 1 << 15;

uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

std::optional<BmpLayout> ReadBmpLayout(const uint8_t* data, std::size_t length) {
    if (!data || length < kFileHeader + 40 || data[0] != 'B' || data[1] != 'M')
        return std::nullopt;
    const uint8_t* info = data + kFileHeader;
    const uint32_t headerSize = U32(info);
    // BITMAPINFOHEADER, its two unofficial extensions, V4 and V5.
    if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        return std::nullopt;
    if (kFileHeader + headerSize > length)
        return std::nullopt;
    BmpLayout l;
    l.width = int32_t(U32(info + 4));
    l.height = int32_t(U32(info + 8));
    const uint16_t planes = U16(info + 12);
    l.bitCount = U16(info + 14);
    const uint32_t compression = U32(info + 16);
    const uint32_t coloursUsed = U32(info + 32);
    const int64_t rows = l.height < 0 ? -int64_t(l.height) : int64_t(l.height);
    if (l.width <= 0 || l.width > kMaxSide || rows == 0 || rows > kMaxSide || planes != 1)
        return std::nullopt;
    switch (l.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (compression != kRgb)
            return std::nullopt;
        break;
    case 16:
    case 32:
        if (compression != kRgb && compression != kBitFields)
            return std::nullopt;
        break;
    default:
        return std::nullopt;
    }
    // Three colour masks follow a plain info header of a bit-field bitmap;
    // the larger headers hold them.
    const std::size_t masks = compression == kBitFields && headerSize == 40 ? 12 : 0;
    std::size_t palette = 0;
    if (l.bitCount <= 8) {
        const uint32_t most = 1u << l.bitCount;
        if (coloursUsed > most)
            return std::nullopt;
        palette = coloursUsed ? coloursUsed : most;
    } else if (coloursUsed > 256) {
        return std::nullopt;
    } else {
        palette = coloursUsed; // an optional palette, kept for the platform
    }
    l.infoSize = headerSize + masks + palette * 4;
    const uint32_t offBits = U32(data + 10);
    l.bitsOffset = offBits ? offBits : kFileHeader + l.infoSize;
    if (l.bitsOffset < kFileHeader + l.infoSize)
        return std::nullopt;
    const std::size_t stride = (std::size_t(l.width) * l.bitCount + 31) / 32 * 4;
    l.bitsSize = stride * std::size_t(rows);
    if (l.bitsOffset > length || l.bitsSize > length - l.bitsOffset)
        return std::nullopt;
    return l;
}

} // namespace gm::skin
