#pragma once
// Start-up marks for the start-up benchmark. When the environment variable
// GM_STARTUP_MARKS names a file, each mark appends one line to it:
// "<performance counter in ms> <what>". Without it a mark costs one check.

namespace gm::win {

void StartupMark(const char* what);

} // namespace gm::win
