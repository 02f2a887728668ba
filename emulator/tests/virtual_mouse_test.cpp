#include "emulator/virtual_mouse.h"

#include <gtest/gtest.h>

namespace gm::emu {
namespace {

class VirtualMouseTest : public ::testing::Test {
  protected:
    uint64_t now = 1000;
    VirtualMouse mouse{[this] { return now; }};
};

TEST_F(VirtualMouseTest, CommandsDriveButtonsProfilesAndRawEvents) {
    // Button 7 cycles the profile by default: the mouse reports the switch.
    CommandResult r = mouse.Execute("click 7");
    ASSERT_TRUE(r.ok) << r.text;
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_EQ(r.notes[0], (Notification{Notification::DeviceEvent, 0x3000, 2, true}));

    r = mouse.Execute("profile 5");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.notes.at(0).value, 5);
    EXPECT_EQ(mouse.firmware().flash().activeProfile, 4);

    r = mouse.Execute("event 0xC000 0x0A05");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.notes.at(0), (Notification{Notification::DeviceEvent, 0xC000, 0x0A05, true}));
    r = mouse.Execute("event 0x7777 65535");
    EXPECT_TRUE(r.ok) << "raw events may be out of any accepted range";

    for (const char* bad :
         {"press 0", "press 16", "press", "profile 6", "event 0x10000 1", "event 1", "busy x",
          "silent maybe", "slow", "slow 10001", "slow -1", "frobnicate", ""}) {
        EXPECT_FALSE(mouse.Execute(bad).ok) << bad;
    }
}

TEST_F(VirtualMouseTest, UnplugSilencesButtonsAndReportsAndIsAnnounced) {
    CommandResult r = mouse.Execute("unplug");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.notes.at(0), (Notification{Notification::Plug, 0, 0, false}));
    EXPECT_FALSE(mouse.Execute("press 1").ok);
    uint8_t status[3] = {4, 0, 0};
    EXPECT_EQ(mouse.Get(status, 3).reply, Reply::Refused);
    EXPECT_TRUE(mouse.Execute("unplug").notes.empty()) << "no second announcement";
    r = mouse.Execute("plug");
    EXPECT_EQ(r.notes.at(0), (Notification{Notification::Plug, 0, 0, true}));
    EXPECT_EQ(mouse.Get(status, 3).reply, Reply::Ok);
}

TEST_F(VirtualMouseTest, FaultsShapeTheAnswers) {
    uint8_t select[3] = {4, 0, 16};
    uint8_t status[3] = {4, 0, 0};
    ASSERT_TRUE(mouse.Execute("busy 2").ok);
    ASSERT_EQ(mouse.Set(select, 3).reply, Reply::Ok);
    for (uint8_t expected : {3, 3, 1}) {
        ASSERT_EQ(mouse.Get(status, 3).reply, Reply::Ok);
        EXPECT_EQ(status[1], expected);
    }

    ASSERT_TRUE(mouse.Execute("silent on").ok);
    EXPECT_EQ(mouse.Set(select, 3).reply, Reply::Silent);
    EXPECT_EQ(mouse.Get(status, 3).reply, Reply::Silent);
    ASSERT_TRUE(mouse.Execute("silent off").ok);

    ASSERT_TRUE(mouse.Execute("slow 250").ok);
    EXPECT_EQ(mouse.Set(select, 3).delayMs, 250u);
    EXPECT_EQ(mouse.Get(status, 3).delayMs, 250u);
    ASSERT_TRUE(mouse.Execute("clearfaults").ok);
    EXPECT_EQ(mouse.Get(status, 3).delayMs, 0u);

    ASSERT_TRUE(mouse.Execute("unplugafter 2").ok);
    EXPECT_EQ(mouse.Set(select, 3).reply, Reply::Ok);
    ReportResult r = mouse.Get(status, 3);
    EXPECT_EQ(r.reply, Reply::Refused) << "the mouse is pulled in the middle of the transfer";
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_EQ(r.notes[0].kind, Notification::Plug);
    EXPECT_FALSE(mouse.plugged());
}

TEST_F(VirtualMouseTest, LogKeepsEveryExchangeInOrderWithTime) {
    uint8_t select[3] = {4, 1, 32};
    uint8_t status[3] = {4, 0, 0};
    ASSERT_EQ(mouse.Set(select, 3).reply, Reply::Ok);
    now = 1250;
    ASSERT_EQ(mouse.Get(status, 3).reply, Reply::Ok);
    mouse.Execute("click 14");
    const auto& log = mouse.log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, 'S');
    EXPECT_EQ(log[0].ms, 1000u);
    EXPECT_EQ(log[0].bytes, (std::vector<uint8_t>{4, 1, 32}));
    EXPECT_EQ(log[1].kind, 'G');
    EXPECT_EQ(log[1].ms, 1250u);
    EXPECT_EQ(log[1].bytes[1], 1);
    EXPECT_EQ(log[2].kind, 'E');
    const std::string text = mouse.LogText();
    EXPECT_NE(text.find("     1.000 set   ok   04 01 20"), std::string::npos) << text;
    EXPECT_NE(text.find("     1.250 get   ok   04 01"), std::string::npos) << text;
}

TEST_F(VirtualMouseTest, LogIsBounded) {
    uint8_t status[3] = {4, 0, 0};
    for (std::size_t i = 0; i < VirtualMouse::kLogCapacity + 10; ++i)
        mouse.Get(status, 3);
    EXPECT_EQ(mouse.log().size(), VirtualMouse::kLogCapacity);
}

TEST(ParseNumber, DecimalAndHexWithinBounds) {
    EXPECT_EQ(ParseNumber("15", 15), 15u);
    EXPECT_EQ(ParseNumber("16", 15), std::nullopt);
    EXPECT_EQ(ParseNumber("0xC000", 0xFFFF), 0xC000u);
    EXPECT_EQ(ParseNumber("0x", 0xFFFF), std::nullopt);
    EXPECT_EQ(ParseNumber("-1", 0xFFFF), std::nullopt);
    EXPECT_EQ(ParseNumber("99999999999", 0xFFFFFFFF), std::nullopt);
}

} // namespace
} // namespace gm::emu
