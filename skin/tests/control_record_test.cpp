#include "skin/control_record.h"

#include <gtest/gtest.h>

#include <string>

namespace gm::skin {
namespace {

void ExpectRect(const ControlRecord& r, int32_t l, int32_t t, int32_t rt, int32_t b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rt);
    EXPECT_EQ(r.bottom, b);
}

TEST(ControlRecord, ParsesNameRectangleAndEmptyText) {
    const auto r = ParseControlRecord("browser1,281,172,30,20,");
    EXPECT_EQ(r.name, "browser1");
    ExpectRect(r, 281, 172, 311, 192);
    EXPECT_EQ(r.text, "");

    const auto spaced = ParseControlRecord("Light Switch ON,57,106,16,16,");
    EXPECT_EQ(spaced.name, "Light Switch ON");
    ExpectRect(spaced, 57, 106, 73, 122);
}

TEST(ControlRecord, TextIsWhatFollowsTheLastCommaTrimmed) {
    EXPECT_EQ(ParseControlRecord("ok,1,2,3,4,  Apply changes \t").text, "Apply changes");
    // A text holding commas keeps only its last piece.
    const auto r = ParseControlRecord("ok,1,2,3,4,first, second ,  third  ");
    EXPECT_EQ(r.text, "third");
    ExpectRect(r, 1, 2, 4, 6);
}

TEST(ControlRecord, MissingNumbersReadAsZero) {
    const auto r = ParseControlRecord("slot,10,20");
    EXPECT_EQ(r.name, "slot");
    ExpectRect(r, 10, 20, 10, 20);
    EXPECT_TRUE(r.Empty());
    EXPECT_EQ(r.text, "") << "the last comma precedes a number, not a text";

    // Reading stops at the first field that is not a number.
    ExpectRect(ParseControlRecord("slot,5,x,7,8,"), 5, 0, 5, 0);
    ExpectRect(ParseControlRecord("slot, 5, 6, 7, 8,"), 5, 6, 12, 14);
    ExpectRect(ParseControlRecord("slot,-5,6,7,8,"), -5, 6, 2, 14);

    const auto empty = ParseControlRecord("");
    EXPECT_EQ(empty.name, "");
    ExpectRect(empty, 0, 0, 0, 0);
    EXPECT_EQ(ParseControlRecord("lonely name").name, "lonely name");
}

TEST(ControlRecord, CutsLongFieldsAndSaturatesHugeNumbers) {
    const std::string longName(60, 'n');
    const std::string longText(500, 't');
    const auto r = ParseControlRecord(longName + ",1,2,3,4," + longText);
    EXPECT_EQ(r.name, std::string(39, 'n'));
    EXPECT_EQ(r.text, std::string(403, 't'));

    const auto big = ParseControlRecord("big,2147483647,0,2147483647,99999999999999999999,");
    EXPECT_EQ(big.left, 2147483647);
    EXPECT_EQ(big.right, 2147483647) << "x + width must not wrap to a negative edge";
    EXPECT_EQ(big.bottom, 2147483647);

    // Edges at opposite ends of the range: the size saturates too, and a
    // slot that ends before it starts is empty.
    const auto wide = ParseControlRecord("wide,-99999999999,-99999999999,99999999999999,"
                                         "99999999999999,");
    EXPECT_EQ(wide.Width(), 2147483647);
    EXPECT_EQ(wide.Height(), 2147483647);
    EXPECT_FALSE(wide.Empty());
    const auto backwards = ParseControlRecord("back,8888882,5,-99999999999,-99999999999,");
    EXPECT_EQ(backwards.Width(), -2147483647 - 1);
    EXPECT_TRUE(backwards.Empty());
}

} // namespace
} // namespace gm::skin
