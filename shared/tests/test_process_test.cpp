// Starting the programs a test drives: a start that fails is made once more,
// and the retry is counted where the test scripts look for it.
#include "shared/tests/test_process.h"
#include "shared/tests/test_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace gm::test {
namespace {

// GM_FLAKY_LOG pointed at a file of this test's for as long as it lives.
class FlakyLogHere {
  public:
    explicit FlakyLogHere(const std::string& path) {
        char old[MAX_PATH] = "";
        had_ = ::GetEnvironmentVariableA("GM_FLAKY_LOG", old, sizeof old) > 0;
        old_ = old;
        ::SetEnvironmentVariableA("GM_FLAKY_LOG", path.c_str());
    }
    ~FlakyLogHere() { ::SetEnvironmentVariableA("GM_FLAKY_LOG", had_ ? old_.c_str() : nullptr); }

  private:
    bool had_ = false;
    std::string old_;
};

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(TestProcess, AProgramThatCannotStartIsTriedTwiceAndTheRetryIsLogged) {
    TestFolder folder;
    TestFolder::WriteFile(folder / "broken.exe", "not a program");
    const std::string log = folder / "flaky.log";
    FlakyLogHere here(log);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    EXPECT_FALSE(
        CreateTestProcess("\"" + (folder / "broken.exe") + "\"", folder.path().c_str(), si, pi));
    const std::string logged = TestFolder::ReadFile(log);
    EXPECT_EQ(Count(logged, "FLAKY TestProcess.AProgramThatCannotStartIsTriedTwice"), 1) << logged;
    EXPECT_NE(logged.find("broken.exe"), std::string::npos) << logged;
}

TEST(TestProcess, AProgramThatStartsIsStartedOnceAndNothingIsLogged) {
    TestFolder folder;
    const std::string log = folder / "flaky.log";
    FlakyLogHere here(log);
    char system[MAX_PATH] = "";
    ::GetSystemDirectoryA(system, sizeof system);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateTestProcess("\"" + std::string(system) + "\\cmd.exe\" /c exit 7",
                                  folder.path().c_str(), si, pi));
    ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 7u);
    EXPECT_FALSE(TestFolder::Exists(log));
}

} // namespace
} // namespace gm::test
