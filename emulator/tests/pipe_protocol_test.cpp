#include "emulator/pipe_protocol.h"

#include <gtest/gtest.h>

namespace gm::emu {
namespace {

TEST(PipeProtocol, RequestsRoundTrip) {
    const uint8_t report[] = {4, 2, 16};
    auto r = ParseRequest(EncodeSet(report, 3).data(), 4);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->op, Op::Set);
    EXPECT_EQ(r->report, (Bytes{4, 2, 16}));

    Bytes get = EncodeGet(9, 130);
    r = ParseRequest(get.data(), get.size());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->reportId, 9);
    EXPECT_EQ(r->length, 130u);

    Bytes cmd = EncodeCommand("press 4");
    r = ParseRequest(cmd.data(), cmd.size());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "press 4");
}

TEST(PipeProtocol, MalformedRequestsAreRejected) {
    EXPECT_FALSE(ParseRequest(nullptr, 0));
    const uint8_t emptySet[] = {uint8_t(Op::Set)};
    EXPECT_FALSE(ParseRequest(emptySet, 1));
    const uint8_t hugeGet[] = {uint8_t(Op::Get), 0xFF, 0xFF, 6};
    EXPECT_FALSE(ParseRequest(hugeGet, 4)) << "a length above the largest report";
    const uint8_t zeroGet[] = {uint8_t(Op::Get), 0, 0, 6};
    EXPECT_FALSE(ParseRequest(zeroGet, 4));
    const uint8_t helloWithJunk[] = {uint8_t(Op::Hello), 1};
    EXPECT_FALSE(ParseRequest(helloWithJunk, 2));
    const uint8_t unknown[] = {99};
    EXPECT_FALSE(ParseRequest(unknown, 1));
    const uint8_t answerAsRequest[] = {uint8_t(Op::Event), 0, 0x30, 1, 0};
    EXPECT_FALSE(ParseRequest(answerAsRequest, 5));
}

TEST(PipeProtocol, AnswersAndNotificationsRoundTrip) {
    Bytes b = EncodeEvent(0xF000, 0x011C);
    auto a = ParseAnswer(b.data(), b.size());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->op, Op::Event);
    EXPECT_EQ(a->cls, 0xF000);
    EXPECT_EQ(a->value, 0x011C);

    b = EncodePlug(false);
    a = ParseAnswer(b.data(), b.size());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->op, Op::Plug);
    EXPECT_FALSE(a->ok);

    const uint8_t report[] = {10, 8, 123, 0, 1, 0, 0, 0};
    b = EncodeGetAnswer(true, report, sizeof report);
    a = ParseAnswer(b.data(), b.size());
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->ok);
    EXPECT_EQ(a->report, Bytes(report, report + 8));

    b = EncodeGetAnswer(false, report, sizeof report);
    a = ParseAnswer(b.data(), b.size());
    ASSERT_TRUE(a);
    EXPECT_FALSE(a->ok);
    EXPECT_TRUE(a->report.empty()) << "a refused get carries no bytes";

    const uint8_t shortEvent[] = {uint8_t(Op::Event), 0, 0x30};
    EXPECT_FALSE(ParseAnswer(shortEvent, 3));
}

} // namespace
} // namespace gm::emu
