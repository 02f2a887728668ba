#pragma once
// Diagnostics are debug-output lines only: no log file, no levels.

namespace gm::win {

// printf-style line to the debugger output (OutputDebugStringA).
void DebugOut(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace gm::win
