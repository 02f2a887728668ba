#include "shared/tests/test_process.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace gm::test {

void NoteFlaky(const std::string& what) {
    std::string test = "?";
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
        test = std::string(info->test_suite_name()) + "." + info->name();
    const std::string line = "FLAKY " + test + ": " + what + "\n";
    std::fputs(line.c_str(), stderr);
    char log[MAX_PATH] = "";
    const DWORD n = ::GetEnvironmentVariableA("GM_FLAKY_LOG", log, sizeof log);
    if (n > 0 && n < sizeof log) {
        // The scripts' path is a Unix one; Wine maps it to drive Z.
        const std::string path = log[0] == '/' ? "Z:" + std::string(log) : std::string(log);
        if (FILE* f = std::fopen(path.c_str(), "a")) {
            std::fputs(line.c_str(), f);
            std::fclose(f);
        }
    }
}

bool CreateTestProcess(std::string commandLine, const char* folder, STARTUPINFOA& si,
                       PROCESS_INFORMATION& pi, bool inheritHandles) {
    for (int attempt = 1;; ++attempt) {
        std::string line = commandLine; // CreateProcessA may write into it
        if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, inheritHandles, 0, nullptr,
                             folder, &si, &pi))
            return true;
        const DWORD error = ::GetLastError();
        if (attempt == 2)
            return false;
        NoteFlaky("starting " + commandLine + " failed with error " + std::to_string(error) +
                  "; starting it once more");
        ::SetLastError(error);
    }
}

} // namespace gm::test
