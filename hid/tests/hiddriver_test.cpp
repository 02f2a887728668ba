// hiddriver.dll through its six entries, against a running virtual mouse.
#include "emulator/tests/emulator_process.h"
#include "hid/tests/driver_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace gm {
namespace {

using test::Driver;
using test::ExportNames;
using test::kEventMsg;
using test::kPlugMsg;
using test::Recorder;
using test::ThreadCount;

class HidDriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(mouse.Start());
        ASSERT_TRUE(driver.bound());
    }
    test::EmulatorProcess mouse;
    Driver driver{mouse.folder().path()};
};

TEST_F(HidDriverTest, ExportsExactlyTheSixEntries) {
    EXPECT_EQ(ExportNames(driver.module),
              (std::set<std::string>{"Close_DevMonitor", "Close_FeatureDevice", "GetFeature",
                                     "Open_DevMonitor", "Open_FeatureDevice", "SetFeature"}));
}

TEST_F(HidDriverTest, EveryReportRoundTripsWithItsAcknowledgement) {
    ASSERT_NE(driver.openDevice(), 0);

    unsigned char r5[3] = {5, 3, 2};
    ASSERT_NE(driver.set(r5, 3), 0);
    EXPECT_EQ(driver.Status(), 1);
    unsigned char g5[3] = {5, 0, 0};
    ASSERT_NE(driver.get(g5, 3), 0);
    EXPECT_EQ(g5[2], 2);

    unsigned char r6[37] = {6, 37, 3, 12, 13, 0x07, 2, 4, 6, 8, 12, 99, 99, 99, 99, 99, 2};
    ASSERT_NE(driver.set(r6, 37), 0);
    EXPECT_EQ(driver.Status(), 1);
    unsigned char select[3] = {4, 3, 16};
    ASSERT_NE(driver.set(select, 3), 0);
    unsigned char g6[37] = {6};
    ASSERT_NE(driver.get(g6, 37), 0);
    EXPECT_EQ(g6[3], 12);
    EXPECT_EQ(g6[4], 13);
    EXPECT_EQ(g6[16], 2);
    EXPECT_EQ(g6[11], 2) << "bytes 11-15 are not taken from the host";

    unsigned char r7[50] = {7, 50, 1};
    r7[3 + 3 * 4] = 16;
    r7[3 + 3 * 4 + 2] = 3;
    ASSERT_NE(driver.set(r7, 50), 0);
    unsigned char select7[3] = {4, 1, 32};
    ASSERT_NE(driver.set(select7, 3), 0);
    unsigned char g7[50] = {7};
    ASSERT_NE(driver.get(g7, 50), 0);
    EXPECT_EQ(std::memcmp(g7, r7, 50), 0);

    unsigned char r8[6] = {8, 6, 42, 1, 0, 0};
    ASSERT_NE(driver.set(r8, 6), 0);
    unsigned char g8[6] = {8};
    ASSERT_NE(driver.get(g8, 6), 0);
    EXPECT_EQ(g8[2], 42);

    unsigned char r9[130] = {9, 130, 4, 11, 2, 'j', 'u', 'm', 'p'};
    r9[29] = 2;
    r9[30] = 6;
    r9[31] = 0x2C;
    r9[32] = 0x80 | 100;
    r9[33] = 0x2C;
    ASSERT_NE(driver.set(r9, 130), 0);
    unsigned char select9[3] = {4, 4, 11};
    ASSERT_NE(driver.set(select9, 3), 0);
    EXPECT_EQ(driver.Status(), 1);
    unsigned char g9[130] = {9};
    ASSERT_NE(driver.get(g9, 130), 0);
    EXPECT_EQ(std::memcmp(g9, r9, 130), 0);

    unsigned char g10[8] = {10};
    ASSERT_NE(driver.get(g10, 8), 0);
    EXPECT_EQ(g10[2], 123);

    unsigned char r14[3] = {14, 3, 1};
    ASSERT_NE(driver.set(r14, 3), 0);
    EXPECT_EQ(driver.Status(), 1);

    // The virtual mouse kept its flash: a new process reads the same.
    mouse.Stop();
    ASSERT_TRUE(mouse.Start());
    unsigned char again[6] = {8};
    ASSERT_NE(driver.get(again, 6), 0) << "the library reconnects by itself";
    EXPECT_EQ(again[2], 42);
}

TEST_F(HidDriverTest, BusyFailedAndSilentAnswers) {
    ASSERT_NE(driver.openDevice(), 0);
    unsigned char select[3] = {4, 0, 16};
    ASSERT_TRUE(mouse.Command("busy 2").first);
    ASSERT_NE(driver.set(select, 3), 0);
    EXPECT_EQ(driver.Status(), 3);
    EXPECT_EQ(driver.Status(), 3);
    EXPECT_EQ(driver.Status(), 1);

    unsigned char bad[3] = {4, 7, 16}; // no profile 8
    EXPECT_EQ(driver.set(bad, 3), 0);
    EXPECT_NE(driver.Status(), 1);

    ASSERT_TRUE(mouse.Command("failset").first);
    EXPECT_EQ(driver.set(select, 3), 0);
    EXPECT_NE(driver.set(select, 3), 0) << "only one set fails";

    ASSERT_TRUE(mouse.Command("failget").first);
    unsigned char g10[8] = {10, 0x55, 0x55};
    EXPECT_EQ(driver.get(g10, 8), 0);
    EXPECT_EQ(g10[1], 0x55) << "a failed get leaves the buffer alone";

    ASSERT_TRUE(mouse.Command("silent on").first);
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(driver.set(select, 3), 0);
    EXPECT_EQ(driver.get(g10, 8), 0);
    EXPECT_LT(::GetTickCount() - start, 20000u)
        << "a mouse that stops answering never hangs the caller";
    ASSERT_TRUE(mouse.Command("silent off").first);
    EXPECT_NE(driver.set(select, 3), 0) << "and it works again once the mouse answers";
}

TEST_F(HidDriverTest, EventsArriveAsPostedMessagesInOrder) {
    Recorder window;
    ASSERT_NE(driver.openMonitor(window.hwnd, kEventMsg, kPlugMsg), 0);
    ASSERT_NE(driver.openDevice(), 0);
    window.Pump();
    EXPECT_TRUE(window.got.empty()) << "the mouse that is already there is not announced";

    ASSERT_TRUE(mouse.Command("click 7").first);             // profile cycle: 3000h, profile 2
    ASSERT_TRUE(mouse.Command("event 0xC000 0x0A05").first); // raw
    ASSERT_TRUE(mouse.Command("click 14").first);            // scroll left: tilt 1000h, 255
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 3; }));
    ASSERT_EQ(window.got.size(), 3u);
    EXPECT_EQ(window.got[0].msg, kEventMsg);
    EXPECT_EQ(window.got[0].wp, 0x3000u);
    EXPECT_EQ(window.got[0].lp, 2);
    EXPECT_EQ(window.got[1].wp, 0xC000u);
    EXPECT_EQ(window.got[1].lp, 0x0A05);
    EXPECT_EQ(window.got[2].wp, 0x1000u);
    EXPECT_EQ(window.got[2].lp, 255);
    EXPECT_FALSE(window.sentNotPosted);
}

TEST_F(HidDriverTest, UnplugPlugAndAVanishedMouseBecome1326) {
    Recorder window;
    ASSERT_NE(driver.openMonitor(window.hwnd, kEventMsg, kPlugMsg), 0);
    ASSERT_TRUE(mouse.Command("unplug").first);
    ASSERT_TRUE(window.WaitFor([&] { return !window.got.empty(); }));
    EXPECT_EQ(window.got[0].msg, kPlugMsg);
    EXPECT_EQ(window.got[0].wp, 0u);
    EXPECT_EQ(driver.openDevice(), 0) << "an unplugged mouse cannot be opened";
    ASSERT_TRUE(mouse.Command("press 1").first == false);

    ASSERT_TRUE(mouse.Command("plug").first);
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 2; }));
    EXPECT_EQ(window.got[1].msg, kPlugMsg);
    EXPECT_EQ(window.got[1].wp, 1u);
    EXPECT_NE(driver.openDevice(), 0);

    mouse.Stop(); // the virtual mouse goes away altogether
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 3; }));
    EXPECT_EQ(window.got[2].wp, 0u);
    ASSERT_TRUE(mouse.Start());
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 4; }));
    EXPECT_EQ(window.got[3].wp, 1u);
}

TEST_F(HidDriverTest, CommandLineTalksToTheRunningMouse) {
    auto [code, out] = mouse.RunCli("profile 3");
    EXPECT_EQ(code, 0);
    EXPECT_NE(out.find("profile 3"), std::string::npos) << out;
    std::tie(code, out) = mouse.RunCli("dump");
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(out.empty());
    std::tie(code, out) = mouse.RunCli("press 99");
    EXPECT_EQ(code, 1);
    std::tie(code, out) = mouse.RunCli("log");
    EXPECT_EQ(code, 0);
    mouse.Stop();
    std::tie(code, out) = mouse.RunCli("state");
    EXPECT_EQ(code, 2) << "no virtual mouse running";
}

// Clients that come one after another, several at once, always find an
// instance of the pipe: one that listens, or for a moment only busy ones to
// wait for. None may find the name gone while the virtual mouse runs, which
// is what a client that gives up at once on "no such pipe" would see.
TEST_F(HidDriverTest, ClientsOneAfterAnotherNeverFindThePipeGone) {
    std::atomic<int> failed{0};
    std::vector<std::thread> clients;
    for (int t = 0; t < 4; ++t)
        clients.emplace_back([&] {
            for (int i = 0; i < 40; ++i) {
                emu::EmulatorClient client(mouse.pipe(), 5000, 0);
                if (!client.Hello())
                    ++failed;
            }
        });
    for (auto& c : clients)
        c.join();
    EXPECT_EQ(failed.load(), 0) << "of 160 exchanges";
}

TEST(HidDriverWithoutMouse, RealTransportFailsCleanly) {
    test::EmulatorProcess folder("hid"); // never started: only its install folder is used
    Driver driver(folder.folder().path());
    ASSERT_TRUE(driver.bound());
    Recorder window;
    const int before = ThreadCount();
    EXPECT_EQ(driver.openDevice(), 0);
    ASSERT_NE(driver.openMonitor(window.hwnd, kEventMsg, kPlugMsg), 0);
    unsigned char r[3] = {4, 0, 0};
    EXPECT_EQ(driver.set(r, 3), 0);
    EXPECT_EQ(driver.get(r, 3), 0);
    window.WaitFor([] { return false; }, 1500);
    EXPECT_TRUE(window.got.empty()) << "nothing posted without a mouse";
    driver.closeMonitor();
    driver.closeDevice();
    EXPECT_EQ(ThreadCount(), before) << "no thread is left running";
}

} // namespace
} // namespace gm
