#pragma once
// Gives back the memory of the calling thread's stack below the part in use.
//
// Under Wine a new thread's stack is committed whole, and its top megabyte
// or so is already resident before the thread's own code runs, although a
// thread that mostly waits uses a few KiB of it. A long-lived thread calls
// this once it has started (and the main thread once start-up is done); the
// pages come back as zero pages if the stack ever grows that deep again.
// Where stacks are committed only as they grow, there is little to give back.

#include <cstddef>
#include <cstdint>

namespace gm::win {

// Kept untouched below the caller's frame, for the calls it makes next.
inline constexpr std::size_t kStackKeep = 64 * 1024;

// The committed part of the calling thread's stack: [low, high).
void CurrentStackRange(std::uintptr_t& low, std::uintptr_t& high);

// Returns the number of bytes handed back (0 when nothing could be).
std::size_t TrimThreadStack();

} // namespace gm::win
