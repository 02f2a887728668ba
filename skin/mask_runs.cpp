#include "skin/mask_runs.h"

#include <algorithm>

namespace gm::skin {

bool IsTransparent(uint8_t r, uint8_t g, uint8_t b, uint32_t key, int tolerance) {
    const int t = std::max(tolerance, 0);
    auto inRange = [t](int channel, int k) {
        return channel >= k && channel <= std::min(255, k + t);
    };
    return inRange(r, int(key & 0xFF)) && inRange(g, int((key >> 8) & 0xFF)) &&
           inRange(b, int((key >> 16) & 0xFF));
}

bool ScanMaskRuns(const MaskImage& image, uint32_t key, int tolerance,
                  const std::function<void(const RunBatch&)>& sink, std::size_t batchSize) {
    if (image.width <= 0 || image.height <= 0)
        return true;
    const std::size_t rowBytes = std::size_t(image.width) * 4;
    if (image.stride < rowBytes)
        return false;
    if (image.pixels.size() < image.stride * std::size_t(image.height - 1) + rowBytes)
        return false;
    if (batchSize == 0)
        batchSize = kRunBatchSize;

    RunBatch batch;
    batch.rects.reserve(100);
    auto flush = [&] {
        if (batch.rects.empty())
            return;
        sink(batch);
        batch.rects.clear();
    };
    auto add = [&](RunRect r) {
        if (batch.rects.empty()) {
            batch.bounds = r;
        } else {
            batch.bounds.left = std::min(batch.bounds.left, r.left);
            batch.bounds.top = std::min(batch.bounds.top, r.top);
            batch.bounds.right = std::max(batch.bounds.right, r.right);
            batch.bounds.bottom = std::max(batch.bounds.bottom, r.bottom);
        }
        // Room grows a hundred rectangles at a time.
        if (batch.rects.size() == batch.rects.capacity())
            batch.rects.reserve(batch.rects.capacity() + 100);
        batch.rects.push_back(r);
        if (batch.rects.size() >= batchSize)
            flush();
    };

    for (int32_t y = 0; y < image.height; ++y) {
        const int32_t memRow = image.bottomUp ? image.height - 1 - y : y;
        const uint8_t* row = image.pixels.data() + image.stride * std::size_t(memRow);
        int32_t x = 0;
        while (x < image.width) {
            auto opaque = [&](int32_t px) {
                const uint8_t* p = row + std::size_t(px) * 4;
                return !IsTransparent(p[2], p[1], p[0], key, tolerance);
            };
            while (x < image.width && !opaque(x))
                ++x;
            if (x == image.width)
                break;
            const int32_t x0 = x;
            while (x < image.width && opaque(x))
                ++x;
            add({x0, y, x, y + 1});
        }
    }
    flush();
    return true;
}

} // namespace gm::skin
