#pragma once
// Turns a mask image into the one-pixel-high rectangles of its opaque runs,
// the raw material of a window outline.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace gm::skin {

// 32 bits per pixel, bytes blue, green, red, unused (the platform's DIB order).
struct MaskImage {
    std::span<const uint8_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    std::size_t stride = 0; // bytes per row
    bool bottomUp = true;   // first row in memory is the bottom row
};

struct RunRect {
    int32_t left, top, right, bottom;
    bool operator==(const RunRect&) const = default;
};

struct RunBatch {
    std::vector<RunRect> rects;
    RunRect bounds{0, 0, 0, 0}; // bounding box of `rects`
};

// A region call takes at most this many rectangles.
inline constexpr std::size_t kRunBatchSize = 2000;

// Colour as 0x00BBGGRR. A pixel is transparent when each channel lies in
// [key, min(255, key + tolerance)].
bool IsTransparent(uint8_t r, uint8_t g, uint8_t b, uint32_t key, int tolerance);

// Scans rows top to bottom, runs left to right, and hands every full batch
// (and the last, partial one) to `sink`. Returns false, handing nothing, when
// the buffer is smaller than its stated size.
bool ScanMaskRuns(const MaskImage& image, uint32_t key, int tolerance,
                  const std::function<void(const RunBatch&)>& sink,
                  std::size_t batchSize = kRunBatchSize);

} // namespace gm::skin
