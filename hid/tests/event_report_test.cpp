#include "hid/event_report.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace gm::hid {
namespace {

TEST(EventReport, DecodesLittleEndianClassAndValue) {
    const uint8_t report[] = {2, 0x00, 0xC0, 0x05, 0x0A};
    auto e = DecodeEventReport(report, sizeof report);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->cls, 0xC000);
    EXPECT_EQ(e->value, 0x0A05);
}

TEST(EventReport, RejectsShortForeignAndNullReportsButAcceptsPadding) {
    const uint8_t shortReport[] = {2, 0x00, 0x30, 0x01};
    EXPECT_FALSE(DecodeEventReport(shortReport, sizeof shortReport));
    const uint8_t otherId[] = {1, 0x00, 0x30, 0x01, 0x00};
    EXPECT_FALSE(DecodeEventReport(otherId, sizeof otherId));
    EXPECT_FALSE(DecodeEventReport(nullptr, 5));
    // Input reports come padded to the interface's declared length.
    std::vector<uint8_t> padded = {2, 0x00, 0x30, 0x03, 0x00, 0xEE, 0xEE, 0xEE};
    auto e = DecodeEventReport(padded.data(), padded.size());
    ASSERT_TRUE(e);
    EXPECT_EQ(*e, (DeviceEvent{0x3000, 3}));
}

TEST(EventReport, EncodeDecodeRoundTripsEveryWord) {
    std::mt19937 rng(7);
    for (int i = 0; i < 1000; ++i) {
        const DeviceEvent e{uint16_t(rng()), uint16_t(rng())};
        const auto bytes = EncodeEventReport(e);
        EXPECT_EQ(DecodeEventReport(bytes.data(), bytes.size()), e);
    }
}

} // namespace
} // namespace gm::hid
