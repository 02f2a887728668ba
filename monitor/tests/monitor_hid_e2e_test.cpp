// The real Monitor.exe with Mode=hid: hiddriver.dll's HID transport reaches
// the virtual mouse as a HID device through the test builds of hid.dll and
// setupapi.dll beside the monitor (WINEDLLOVERRIDES=hid,setupapi=n,b).
#include "monitor/tests/monitor_fixture.h"
#include "shared/settings_block.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

namespace gm {
namespace {

class MonitorHidTest : public MonitorTest {
  protected:
    MonitorHidTest() : MonitorTest("hid") {}

    // Feature reports the mouse's HID interface received, by its own count.
    int HidReports() {
        std::istringstream in(mouse.Command("hid").second);
        for (std::string line; std::getline(in, line);)
            if (line.rfind("0 mouse", 0) == 0)
                return std::atoi(line.c_str() + line.find("reports ") + 8);
        return -1;
    }
    // Every set of the log, as its number of bytes.
    std::vector<std::size_t> SetLengths() {
        std::vector<std::size_t> out;
        for (const std::string& l : Exchanges())
            if (l.rfind("set", 0) == 0)
                out.push_back((l.size() - 6) / 3); // "set ok" then " XX" a byte
        return out;
    }
};

TEST_F(MonitorHidTest, StartsReadsBackAppliesSwitchesProfilesAndFollowsThePlug) {
    ASSERT_TRUE(mouse.Start());
    ASSERT_TRUE(mouse.Command("profile 2").first);
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ReadBackDone()) << "the read-back through the HID transport";
    EXPECT_EQ(Config("Setting", "Device"), "1");
    EXPECT_EQ(Config("Setting", "CurrentProfile"), "1");
    EXPECT_TRUE(TrayIconShown());
    EXPECT_GT(HidReports(), 20) << "every report went through the mouse's HID interface";
    ASSERT_TRUE(dialog.WaitFor([&] { return LastSet().rfind("set ok 0E 03 01", 0) == 0; }))
        << LastSet();
    for (std::size_t n : SetLengths())
        EXPECT_EQ(n, 130u) << "padded to the interface's feature report length";

    // An apply reaches the mouse's flash: a restarted virtual mouse has it.
    SharedBlock shared;
    SettingsBlock block;
    ASSERT_TRUE(OpenShared(shared, block));
    block.SetAllFlags(0);
    block.Profile(3).Set(prof::Sensitivity_X, 17);
    block.SetPerformanceChangeFlag(3, 1);
    ASSERT_TRUE(shared.CopyOut(block));
    ::PostMessageA(::FindWindowA(nullptr, kMonitorWindow), 1224, 0, 0);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1256) == 1; }));
    EXPECT_EQ(LastSet().substr(0, 18), "set ok 06 25 03 11");
    StopMonitor();
    mouse.Stop();
    ASSERT_TRUE(mouse.Start());
    EXPECT_NE(mouse.Command("dump").second.find("profile 4: sensitivity 17/"), std::string::npos)
        << mouse.Command("dump").second;

    // The mouse's own profile button, as an input report.
    dialog.got.clear();
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(ReadBackDone());
    ASSERT_TRUE(mouse.Command("profile 4").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1255) == 1; }));
    EXPECT_EQ(Config("Setting", "CurrentProfile"), "3");

    // Unplugged, it is gone within the polling period; back, it is read again.
    ASSERT_TRUE(mouse.Command("unplug").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(WM_CLOSE) == 1; }));
    EXPECT_EQ(Config("Setting", "Device"), "0");
    EXPECT_FALSE(TrayIconShown());
    ASSERT_TRUE(mouse.Command("plug").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1254) == 2; }))
        << "the arrival reads everything back";
    EXPECT_EQ(Config("Setting", "Device"), "1");
    EXPECT_TRUE(TrayIconShown());
    ASSERT_TRUE(mouse.Command("profile 5").first);
    ASSERT_TRUE(dialog.WaitFor([&] { return dialog.Count(1255) == 2; }))
        << "events flow again after the arrival";
    EXPECT_EQ(Config("Setting", "CurrentProfile"), "4");
}

} // namespace
} // namespace gm
