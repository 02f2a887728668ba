#include "shared/struct_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>

namespace gm {
namespace {

TEST(StructCodec, EncodesUpperCaseHexAndByteSum) {
    const uint8_t bytes[] = {0x00, 0xAB, 0x7F, 0xFF};
    // Sum 0x229 keeps its low byte, 0x29.
    EXPECT_EQ(EncodeStruct(bytes, sizeof bytes), "00AB7FFF29");
    EXPECT_EQ(EncodeStruct(bytes, 0), "00");
}

TEST(StructCodec, RejectsWrongLengthBadDigitsAndChecksum) {
    std::array<uint8_t, 4> out{1, 2, 3, 4};
    const std::array<uint8_t, 4> before = out;
    EXPECT_FALSE(DecodeStruct("00AB7FFF2", out.data(), 4));   // one digit short
    EXPECT_FALSE(DecodeStruct("00AB7FFF290", out.data(), 4)); // one digit long
    EXPECT_FALSE(DecodeStruct("00AB7FFF28", out.data(), 4));  // checksum off by one
    EXPECT_FALSE(DecodeStruct("0GAB7FFF29", out.data(), 4));  // not hex
    EXPECT_FALSE(DecodeStruct("", out.data(), 4));
    EXPECT_EQ(out, before) << "a rejected value must not touch the output";
    EXPECT_TRUE(DecodeStruct("00ab7fff29", out.data(), 4)) << "lower-case digits are accepted";
    EXPECT_EQ(out, (std::array<uint8_t, 4>{0x00, 0xAB, 0x7F, 0xFF}));
}

TEST(StructCodec, RoundTripsRandomRecordsAndDetectsAnySingleDigitChange) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> in(1 + rng() % 500);
        for (auto& b : in)
            b = uint8_t(rng());
        const std::string text = EncodeStruct(in.data(), in.size());
        std::vector<uint8_t> out(in.size());
        ASSERT_TRUE(DecodeStruct(text, out.data(), out.size()));
        ASSERT_EQ(out, in);

        // Changing one data digit changes the sum by a non-multiple of 256.
        std::string damaged = text;
        const std::size_t pos = rng() % (damaged.size() - 2);
        damaged[pos] = damaged[pos] == '0' ? '1' : '0';
        EXPECT_FALSE(DecodeStruct(damaged, out.data(), out.size()));
    }
}

} // namespace
} // namespace gm
