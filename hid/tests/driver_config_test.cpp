#include "hid/driver_config.h"

#include <gtest/gtest.h>

namespace gm::hid {
namespace {

TEST(DriverConfig, DefaultsToTheHidTransportThatMatchesNothing) {
    const DriverConfig c = ParseDriverConfig({});
    EXPECT_EQ(c.mode, TransportMode::Hid);
    EXPECT_EQ(c.pipe, kDefaultPipe);
    EXPECT_FALSE(IsOurInterface(c, {0, 0, 0xFF00})) << "unset ids must not match any device";
}

TEST(DriverConfig, ReadsModePipeAndIdsAndKeepsDefaultsForBadValues) {
    DriverConfigText t;
    t.mode = " Emulator ";
    t.pipe = "\\\\.\\pipe\\test_mouse";
    t.vendorId = "0x1a2B";
    t.productId = "4660";
    t.usagePage = "0xFF00";
    DriverConfig c = ParseDriverConfig(t);
    EXPECT_EQ(c.mode, TransportMode::Emulator);
    EXPECT_EQ(c.pipe, "\\\\.\\pipe\\test_mouse");
    EXPECT_EQ(c.vendorId, 0x1A2B);
    EXPECT_EQ(c.productId, 4660);
    EXPECT_TRUE(IsOurInterface(c, {0x1A2B, 4660, 0xFF00}));
    EXPECT_FALSE(IsOurInterface(c, {0x1A2B, 4660, 0x0001}))
        << "the mouse's plain pointer interface";
    EXPECT_FALSE(IsOurInterface(c, {0x1A2C, 4660, 0xFF00}));

    t.mode = "serial";
    t.pipe = "C:\\not-a-pipe";
    t.vendorId = "0x12345";
    t.productId = "70000";
    t.usagePage = "ff00";
    c = ParseDriverConfig(t);
    EXPECT_EQ(c.mode, TransportMode::Hid);
    EXPECT_EQ(c.pipe, kDefaultPipe);
    EXPECT_EQ(c.vendorId, 0);
    EXPECT_EQ(c.productId, 0);
    EXPECT_EQ(c.usagePage, 0xFF00) << "'ff00' without 0x is not a number";
}

TEST(DriverConfig, ParseIdEdges) {
    EXPECT_EQ(ParseId("0xFFFF"), 0xFFFF);
    EXPECT_EQ(ParseId("65535"), 65535);
    EXPECT_EQ(ParseId("65536"), std::nullopt);
    EXPECT_EQ(ParseId("0x"), std::nullopt);
    EXPECT_EQ(ParseId(""), std::nullopt);
    EXPECT_EQ(ParseId("-1"), std::nullopt);
    EXPECT_EQ(ParseId("0x1g"), std::nullopt);
}

TEST(DriverConfig, IdsFromInterfacePaths) {
    auto ids = IdsFromInterfacePath(
        "\\\\?\\hid#vid_1a2b&pid_fa60&mi_01&col02#7&2f1a&0&0001#{4d1e55b2-f16f-11cf}");
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->vendorId, 0x1A2B);
    EXPECT_EQ(ids->productId, 0xFA60);
    EXPECT_TRUE(IdsFromInterfacePath("\\\\?\\HID#VID_00AA&PID_00BB#x"));
    EXPECT_FALSE(IdsFromInterfacePath("\\\\?\\hid#vid_1a2b#x")) << "no product id";
    EXPECT_FALSE(IdsFromInterfacePath("\\\\?\\hid#vid_1a&pid_2")) << "cut short";
    EXPECT_FALSE(IdsFromInterfacePath("\\\\?\\hid#vid_zzzz&pid_0001#"));
}

} // namespace
} // namespace gm::hid
