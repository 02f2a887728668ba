// A macro button's press on the window thread: start, stop, and a start
// that never reached the player thread.
#include "monitor/macro_thread_win.h"

#include <gtest/gtest.h>

namespace gm::mon {
namespace {

MacroProgram OneKey() {
    MacroProgram m;
    m.count = 1;
    m.events[0] = MacroEvent{0x04, uint8_t(Direction::Press), 1};
    return m;
}

TEST(MacroPress, APressWhileAMacroPlaysAsksItToStopAndStartsNothing) {
    MacroRunner runner;
    int posts = 0;
    const auto post = [&] { return ++posts, true; };
    EXPECT_EQ(runner.OnPress(OneKey(), post), MacroRunner::Press::Started);
    EXPECT_TRUE(runner.playing());
    EXPECT_EQ(runner.OnPress(OneKey(), post), MacroRunner::Press::StopAsked);
    EXPECT_EQ(posts, 1);
}

TEST(MacroPress, AMacroWhosePostFailedStartsAgainOnTheNextPress) {
    MacroRunner runner;
    EXPECT_EQ(runner.OnPress(OneKey(), [] { return false; }), MacroRunner::Press::NotDelivered);
    EXPECT_FALSE(runner.playing()) << "nothing will ever play it";
    int posts = 0;
    EXPECT_EQ(runner.OnPress(OneKey(), [&] { return ++posts, true; }), MacroRunner::Press::Started);
    EXPECT_EQ(posts, 1);
}

} // namespace
} // namespace gm::mon
