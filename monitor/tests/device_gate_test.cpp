// The hand-over between the window thread (arrival, removal, shutdown) and
// the device worker (job begin and end). Each operation is one atomic step,
// so every interleaving of two threads is one of the orders below.
#include "monitor/device_gate.h"

#include <gtest/gtest.h>

namespace gm::mon {
namespace {

TEST(DeviceGate, ARemovalBeforeTheJobStartsRefusesIt) {
    // The window thread's removal lands after the worker took the job from
    // its queue and before it began: the job must not run.
    DeviceGate g;
    g.Opened(true);
    EXPECT_TRUE(g.present());
    EXPECT_TRUE(g.Remove());
    EXPECT_FALSE(g.BeginJob());
    EXPECT_TRUE(g.Aborted());
    EXPECT_FALSE(g.busy());
}

TEST(DeviceGate, ARemovalDuringAJobAbortsItUntilItEnds) {
    DeviceGate g;
    g.Opened(true);
    ASSERT_TRUE(g.BeginJob());
    EXPECT_FALSE(g.Aborted());
    EXPECT_TRUE(g.Remove());
    EXPECT_TRUE(g.Aborted());
    // The mouse comes back while the aborted job is still winding down: the
    // old job keeps its abort, the next one runs.
    EXPECT_TRUE(g.Arrive());
    EXPECT_TRUE(g.Aborted());
    EXPECT_FALSE(g.BeginJob()) << "one job at a time";
    g.EndJob();
    EXPECT_FALSE(g.Aborted());
    EXPECT_TRUE(g.BeginJob());
    g.EndJob();
}

TEST(DeviceGate, AJobAfterRemovalAndArrivalRuns) {
    DeviceGate g;
    g.Opened(true);
    EXPECT_TRUE(g.Remove());
    EXPECT_FALSE(g.Remove()) << "a second removal does nothing";
    EXPECT_TRUE(g.Arrive());
    EXPECT_FALSE(g.Arrive()) << "a second arrival does nothing";
    EXPECT_FALSE(g.Aborted());
    EXPECT_TRUE(g.BeginJob());
    g.EndJob();
}

TEST(DeviceGate, NoJobWithoutTheMouseOrAfterShutdown) {
    DeviceGate never;
    EXPECT_EQ(never.presence(), Presence::Unopened);
    EXPECT_FALSE(never.BeginJob());

    DeviceGate g;
    g.Opened(true);
    ASSERT_TRUE(g.BeginJob());
    g.Close();
    EXPECT_TRUE(g.Aborted()) << "shutdown stops the running job";
    g.EndJob();
    EXPECT_TRUE(g.Aborted()) << "and it stays raised";
    EXPECT_FALSE(g.BeginJob());
    EXPECT_TRUE(g.Remove());
    EXPECT_TRUE(g.Arrive());
    EXPECT_FALSE(g.BeginJob()) << "an arrival after shutdown starts nothing";
}

} // namespace
} // namespace gm::mon
