#include "skin/mask_runs.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

namespace gm::skin {
namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

// A bottom-up 32-bit image with padded rows, painted from the top row down.
struct TestMask {
    TestMask(int32_t w, int32_t h, std::size_t pad = 8)
        : width(w), height(h), stride(std::size_t(w) * 4 + pad),
          bytes(stride * std::size_t(h), 0xFF) {}
    void Set(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
        uint8_t* p = &bytes[stride * std::size_t(height - 1 - y) + std::size_t(x) * 4];
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    MaskImage View() const { return {bytes, width, height, stride, true}; }
    int32_t width, height;
    std::size_t stride;
    std::vector<uint8_t> bytes;
};

std::vector<RunBatch> Scan(const TestMask& m, uint32_t key = kWhite, int tolerance = 0) {
    std::vector<RunBatch> batches;
    EXPECT_TRUE(
        ScanMaskRuns(m.View(), key, tolerance, [&](const RunBatch& b) { batches.push_back(b); }));
    return batches;
}

std::set<std::pair<int, int>> Pixels(const std::vector<RunBatch>& batches) {
    std::set<std::pair<int, int>> px;
    for (const auto& b : batches)
        for (const auto& r : b.rects)
            for (int x = r.left; x < r.right; ++x)
                px.insert({x, r.top});
    return px;
}

TEST(MaskRuns, OnlyExactWhiteIsOutside) {
    TestMask m(5, 3);
    m.Set(1, 0, 0, 0, 0);
    m.Set(2, 0, 10, 20, 30);
    m.Set(4, 0, 0, 0, 0);
    m.Set(0, 2, 254, 255, 255); // off-white is inside
    m.Set(3, 2, 255, 255, 254);
    const auto batches = Scan(m);
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].rects,
              (std::vector<RunRect>{{1, 0, 3, 1}, {4, 0, 5, 1}, {0, 2, 1, 3}, {3, 2, 4, 3}}));
    EXPECT_EQ(batches[0].bounds, (RunRect{0, 0, 5, 3}));
}

TEST(MaskRuns, TopDownImagesAndToleranceRanges) {
    TestMask m(3, 2, 0);
    m.Set(0, 0, 250, 250, 250);
    MaskImage topDown = m.View();
    topDown.bottomUp = false; // the same bytes read the other way up
    std::vector<RunRect> got;
    ASSERT_TRUE(ScanMaskRuns(topDown, kWhite, 0, [&](const RunBatch& b) { got = b.rects; }));
    EXPECT_EQ(got, (std::vector<RunRect>{{0, 1, 1, 2}}));

    // Key 250 grey with tolerance 5 makes 250..255 transparent, 249 not.
    EXPECT_TRUE(IsTransparent(250, 255, 252, 0xFAFAFA, 5));
    EXPECT_FALSE(IsTransparent(249, 255, 252, 0xFAFAFA, 5));
    EXPECT_TRUE(IsTransparent(255, 255, 255, kWhite, 40)) << "the range stops at 255";
    EXPECT_TRUE(Pixels(Scan(m, 0xFAFAFA, 5)).empty());
}

TEST(MaskRuns, AllWhiteGivesNothingAndShortBuffersAreRefused) {
    EXPECT_TRUE(Scan(TestMask(16, 16)).empty());

    TestMask m(4, 4);
    int calls = 0;
    MaskImage cut = m.View();
    cut.pixels = cut.pixels.first(m.stride * 3 + 15); // last row one byte short
    EXPECT_FALSE(ScanMaskRuns(cut, kWhite, 0, [&](const RunBatch&) { ++calls; }));
    MaskImage narrow = m.View();
    narrow.stride = 12; // shorter than a row
    EXPECT_FALSE(ScanMaskRuns(narrow, kWhite, 0, [&](const RunBatch&) { ++calls; }));
    EXPECT_EQ(calls, 0);

    // The last row may end without its padding.
    MaskImage tight = m.View();
    tight.pixels = tight.pixels.first(m.stride * 3 + 16);
    EXPECT_TRUE(ScanMaskRuns(tight, kWhite, 0, [&](const RunBatch&) { ++calls; }));
}

TEST(MaskRuns, ManyRunsComeInBatchesWithTheSameOutline) {
    // A checkerboard has one run per black pixel: 100 x 60 / 2 = 3000 runs.
    TestMask board(100, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            if ((x + y) % 2 == 0)
                board.Set(x, y, 0, 0, 0);
    const auto batches = Scan(board);
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].rects.size(), kRunBatchSize);
    EXPECT_EQ(batches[1].rects.size(), 1000u);

    std::set<std::pair<int, int>> expected;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            if ((x + y) % 2 == 0)
                expected.insert({x, y});
    EXPECT_EQ(Pixels(batches), expected);
    for (const auto& b : batches)
        for (const auto& r : b.rects) {
            EXPECT_GE(r.left, b.bounds.left);
            EXPECT_LE(r.right, b.bounds.right);
            EXPECT_GE(r.top, b.bounds.top);
            EXPECT_LE(r.bottom, b.bounds.bottom);
        }

    // Random masks: the pixel set never depends on the batch size.
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        TestMask m(1 + int(rng() % 70), 1 + int(rng() % 40));
        for (int y = 0; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x)
                if (rng() % 3 == 0)
                    m.Set(x, y, uint8_t(rng()), 0, 0);
        std::vector<RunBatch> small;
        ASSERT_TRUE(ScanMaskRuns(
            m.View(), kWhite, 0, [&](const RunBatch& b) { small.push_back(b); }, 7));
        EXPECT_EQ(Pixels(small), Pixels(Scan(m)));
        for (const auto& b : small)
            EXPECT_LE(b.rects.size(), 7u);
    }
}

} // namespace
} // namespace gm::skin
