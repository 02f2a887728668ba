// The shared block across two real processes.
#include "shared/shared_block_win.h"

#include "shared/tests/test_folder.h"
#include "shared/tests/test_process.h"
#include "win/install_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace gm {
namespace {

void Fill(SettingsBlock& b, int seed) {
    for (std::size_t i = 0; i < kBlockSize; ++i)
        b.data()[i] = uint8_t(i * 31 + seed);
}

// Starts the peer without waiting for it.
HANDLE StartPeer(const std::string& args) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!test::CreateTestProcess("\"" + win::InstallDir() + "shared_block_peer.exe\" " + args,
                                 nullptr, si, pi))
        return nullptr;
    ::CloseHandle(pi.hThread);
    return pi.hProcess;
}

// Runs the peer program and returns its exit code (-1 when it did not end).
int RunPeer(const std::string& args) {
    HANDLE process = StartPeer(args);
    if (!process)
        return -2;
    DWORD code = DWORD(-1);
    if (::WaitForSingleObject(process, 30000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process, &code);
    else
        ::TerminateProcess(process, 1);
    ::CloseHandle(process);
    return int(code);
}

class SharedBlockTest : public ::testing::Test {
  protected:
    std::string prefix = test::UniqueName("GmTest") + "_";
};

TEST_F(SharedBlockTest, CopiesTheWholeBlockBothWaysBetweenProcesses) {
    SharedBlock monitor(prefix);
    ASSERT_TRUE(monitor.Create());
    SettingsBlock block;
    Fill(block, 7);
    ASSERT_TRUE(monitor.CopyOut(block));
    ASSERT_EQ(RunPeer("check " + prefix + " 7"), 0);

    SettingsBlock back, expected;
    ASSERT_TRUE(monitor.CopyIn(back));
    Fill(expected, 8);
    EXPECT_TRUE(back == expected) << "the peer's copy-out is seen whole";
}

TEST_F(SharedBlockTest, WithoutTheMonitorNothingIsCopied) {
    SharedBlock option(prefix);
    EXPECT_FALSE(option.Open());
    SettingsBlock b;
    Fill(b, 3);
    SettingsBlock before = b;
    EXPECT_FALSE(option.CopyIn(b));
    EXPECT_FALSE(option.CopyOut(b));
    EXPECT_TRUE(b == before);
}

TEST_F(SharedBlockTest, AnAbandonedMutexCountsAsTakenAndIsReleased) {
    SharedBlock monitor(prefix);
    ASSERT_TRUE(monitor.Create());
    ASSERT_EQ(RunPeer("abandon " + prefix), 0);
    SettingsBlock b;
    Fill(b, 1);
    EXPECT_TRUE(monitor.CopyOut(b));
    SettingsBlock back;
    EXPECT_TRUE(monitor.CopyIn(back));
    EXPECT_TRUE(back == b);
    EXPECT_EQ(RunPeer("trylock " + prefix), 0) << "the mutex must not stay owned after the copy";
}

TEST_F(SharedBlockTest, ACopyWaitsForTheProgramThatHoldsTheMutex) {
    SharedBlock monitor(prefix);
    ASSERT_TRUE(monitor.Create());
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, (prefix + "Ready").c_str());
    ASSERT_NE(ready, nullptr);
    HANDLE peer = StartPeer("hold " + prefix);
    ASSERT_NE(peer, nullptr);
    ASSERT_EQ(::WaitForSingleObject(ready, 30000), WAIT_OBJECT_0);
    // The peer holds the mutex over a half-written block; a copy that did
    // not wait for it would see seed 1's pattern.
    SettingsBlock got, want;
    ASSERT_TRUE(monitor.CopyIn(got));
    Fill(want, 2);
    EXPECT_TRUE(got == want) << "the copy waited until the holder released the mutex";
    DWORD code = DWORD(-1);
    EXPECT_EQ(::WaitForSingleObject(peer, 30000), WAIT_OBJECT_0);
    ::GetExitCodeProcess(peer, &code);
    EXPECT_EQ(code, 0u);
    ::CloseHandle(peer);
    ::CloseHandle(ready);
}

} // namespace
} // namespace gm
