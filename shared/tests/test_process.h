#pragma once
// Starting the programs a test drives. Now and then Wine's loader gives up on
// a new process before its first line has run: CreateProcess fails, or the
// process ends at once. Such a start is made once more, and the retry is
// written to standard error and to the file GM_FLAKY_LOG names (the test
// scripts count those lines), so it stays visible.

#include <windows.h>

#include <string>

namespace gm::test {

// CreateProcessA with one more try when the first fails; false (with
// GetLastError of the second try) when both fail.
bool CreateTestProcess(std::string commandLine, const char* folder, STARTUPINFOA& si,
                       PROCESS_INFORMATION& pi, bool inheritHandles = false);

// A line "FLAKY <test>: <what>" for the scripts' count.
void NoteFlaky(const std::string& what);

} // namespace gm::test
