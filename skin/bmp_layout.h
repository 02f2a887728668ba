#pragma once
// Where the parts of a bitmap file lie, checked against the file's length
// before anything reads them. The platform's bitmap loaders trust the
// header: a file cut short or a header that claims more than the file holds
// sends them reading past the end of the data.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace gm::skin {

struct BmpLayout {
    std::size_t infoOffset = 14; // the info header, masks and palette: a BITMAPINFO
    std::size_t infoSize = 0;
    std::size_t bitsOffset = 0; // the pixel rows, each padded to 4 bytes
    std::size_t bitsSize = 0;
    int32_t width = 0;
    int32_t height = 0; // negative: the top row comes first
    uint16_t bitCount = 0;
};

// The layout of an uncompressed (or bit-field) bitmap of 1, 4, 8, 16, 24 or
// 32 bits a pixel with a Windows info header, every part inside the
// `length` bytes at `data`; nothing for anything else (another format, an
// OS/2 or run-length encoded bitmap, a cut or inconsistent file).
std::optional<BmpLayout> ReadBmpLayout(const uint8_t* data, std::size_t length);

} // namespace gm::skin
