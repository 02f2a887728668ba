// The bitmap file check: what it accepts lies wholly inside the file, and
// a file cut anywhere or lying about its size is refused.
#include "skin/bmp_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace gm::skin {
namespace {

void Put16(std::vector<uint8_t>& b, std::size_t at, uint16_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = uint8_t(v >> (8 * i));
}

// A whole file: headers, `extra` bytes of masks or palette, then the rows.
std::vector<uint8_t> File(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0,
                          uint32_t coloursUsed = 0, std::size_t extra = 0) {
    const std::size_t rows = std::size_t(height < 0 ? -height : height);
    const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
    std::vector<uint8_t> b(14 + 40 + extra + stride * rows, 0x5A);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, uint32_t(b.size()));
    Put32(b, 10, uint32_t(14 + 40 + extra));
    Put32(b, 14, 40);
    Put32(b, 18, uint32_t(width));
    Put32(b, 22, uint32_t(height));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 30, compression);
    Put32(b, 46, coloursUsed);
    return b;
}

std::optional<BmpLayout> Read(const std::vector<uint8_t>& b) {
    return ReadBmpLayout(b.data(), b.size());
}

TEST(BmpLayout, FindsEveryPartOfTheCommonKinds) {
    auto l = Read(File(3, 2, 24));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->infoSize, 40u);
    EXPECT_EQ(l->bitsOffset, 54u);
    EXPECT_EQ(l->bitsSize, 24u) << "3 pixels of 3 bytes padded to 12, two rows";

    l = Read(File(5, -4, 32));
    ASSERT_TRUE(l) << "top-down rows";
    EXPECT_EQ(l->height, -4);
    EXPECT_EQ(l->bitsSize, 80u);

    l = Read(File(9, 1, 8, 0, 0, 1024));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->infoSize, 40u + 1024u) << "no count means a full palette";
    EXPECT_EQ(l->bitsSize, 12u);

    l = Read(File(2, 2, 4, 0, 3, 12));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->infoSize, 52u) << "three colours used";

    l = Read(File(2, 2, 16, 3, 0, 12));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->infoSize, 52u) << "three masks after a plain header";

    auto zeroOffset = File(3, 2, 24);
    Put32(zeroOffset, 10, 0);
    l = Read(zeroOffset);
    ASSERT_TRUE(l) << "no offset given: the rows follow the header";
    EXPECT_EQ(l->bitsOffset, 54u);
}

TEST(BmpLayout, AFileCutAnywhereIsRefused) {
    for (const auto& whole :
         {File(7, 5, 24), File(4, 3, 8, 0, 0, 1024), File(3, 3, 32, 3, 0, 12)}) {
        ASSERT_TRUE(Read(whole));
        for (std::size_t cut = 0; cut < whole.size(); ++cut)
            EXPECT_FALSE(ReadBmpLayout(whole.data(), cut)) << "cut to " << cut << " bytes";
    }
}

TEST(BmpLayout, HeadersThatClaimTooMuchOrWhatIsNotSupportedAreRefused) {
    auto taller = File(3, 2, 24);
    Put32(taller, 22, 3);
    EXPECT_FALSE(Read(taller)) << "one row more than the file holds";

    auto wide = File(3, 2, 24);
    Put32(wide, 18, 0x7FFFFFFF);
    EXPECT_FALSE(Read(wide)) << "a width whose rows would overflow";
    Put32(wide, 18, 0);
    EXPECT_FALSE(Read(wide));
    auto flat = File(3, 2, 24);
    Put32(flat, 22, 0);
    EXPECT_FALSE(Read(flat));
    auto lowest = File(3, 2, 24);
    Put32(lowest, 22, 0x80000000u);
    EXPECT_FALSE(Read(lowest)) << "a height that cannot be negated";

    auto inside = File(3, 2, 24);
    Put32(inside, 10, 20);
    EXPECT_FALSE(Read(inside)) << "rows said to start inside the header";
    auto beyond = File(3, 2, 24);
    Put32(beyond, 10, uint32_t(beyond.size() + 1));
    EXPECT_FALSE(Read(beyond)) << "rows said to start past the end";

    EXPECT_FALSE(Read(File(3, 2, 2))) << "two bits a pixel";
    EXPECT_FALSE(Read(File(3, 2, 8, 1, 0, 1024))) << "run-length encoded";
    EXPECT_FALSE(Read(File(3, 2, 24, 3))) << "bit fields of a 24-bit bitmap";
    EXPECT_FALSE(Read(File(2, 2, 4, 0, 17, 68))) << "more colours than four bits hold";
    auto planes = File(3, 2, 24);
    Put16(planes, 26, 2);
    EXPECT_FALSE(Read(planes));
    auto core = File(3, 2, 24);
    Put32(core, 14, 12);
    EXPECT_FALSE(Read(core)) << "an OS/2 header";
    auto notBm = File(3, 2, 24);
    notBm[1] = 'A';
    EXPECT_FALSE(Read(notBm));
    EXPECT_FALSE(ReadBmpLayout(nullptr, 100));
}

} // namespace
} // namespace gm::skin
