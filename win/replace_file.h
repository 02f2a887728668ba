#pragma once
// Puts a freshly written file in the place of another in one step.
//
// The other programs of the suite read the same files (the monitor and the
// configuration program each read what the other saves), and a file that
// is open for reading cannot be replaced: the platform refuses with a
// sharing or access error for as long as the reader holds it, which is a
// few milliseconds. Such a refusal is waited out, up to `patienceMs`; any
// other failure, or a file still held after that, is reported at once.

#include <string>

namespace gm::win {

inline constexpr unsigned kReplacePatienceMs = 1000;

// True when `target` now holds what `fresh` held and `fresh` is gone. On
// false, both are as they were and GetLastError says why.
bool ReplaceFileWith(const std::string& fresh, const std::string& target,
                     unsigned patienceMs = kReplacePatienceMs);

} // namespace gm::win
