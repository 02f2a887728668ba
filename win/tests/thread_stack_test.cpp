#include "win/thread_stack.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

// KiB of [low, high) that are in the process's working set now.
std::size_t ResidentKiB(UINT_PTR low, UINT_PTR high) {
    std::vector<PSAPI_WORKING_SET_EX_INFORMATION> pages((high - low) / 4096);
    for (std::size_t i = 0; i < pages.size(); ++i)
        pages[i].VirtualAddress = reinterpret_cast<void*>(low + i * 4096);
    if (pages.empty() || !::K32QueryWorkingSetEx(::GetCurrentProcess(), pages.data(),
                                                 DWORD(pages.size() * sizeof(pages[0]))))
        return 0;
    std::size_t valid = 0;
    for (const auto& p : pages)
        valid += p.VirtualAttributes.Valid;
    return valid * 4;
}

// Fills about `depth` KiB of stack below the caller and returns a sum of
// what it wrote, so nothing is optimised away.
__attribute__((noinline)) unsigned Dig(int depth) {
    volatile unsigned char block[1024];
    std::memset(const_cast<unsigned char*>(block), depth & 0xFF, sizeof block);
    return block[depth % 1024] + (depth > 1 ? Dig(depth - 1) : 0u);
}

struct Seen {
    unsigned before = 0, after = 0;
    std::size_t given = 0, residentDeep = 0, residentTrimmed = 0;
    bool frameKept = false;
};

} // namespace

TEST(ThreadStack, ADeepStackIsGivenBackAndTheFramesInUseKeepTheirContents) {
    Seen seen;
    std::thread t([&seen] {
        unsigned char mine[4096];
        for (std::size_t i = 0; i < sizeof mine; ++i)
            mine[i] = static_cast<unsigned char>(i * 7);
        seen.before = Dig(600);
        std::uintptr_t low = 0, high = 0;
        gm::win::CurrentStackRange(low, high);
        const UINT_PTR deepEnd = (reinterpret_cast<UINT_PTR>(mine) - 128 * 1024) & ~UINT_PTR(4095);
        seen.residentDeep = ResidentKiB(low, deepEnd);
        seen.given = gm::win::TrimThreadStack();
        seen.residentTrimmed = ResidentKiB(low, deepEnd);
        seen.frameKept = true;
        for (std::size_t i = 0; i < sizeof mine; ++i)
            seen.frameKept = seen.frameKept && mine[i] == static_cast<unsigned char>(i * 7);
        // The pages given back work as stack again.
        seen.after = Dig(600);
    });
    t.join();
    EXPECT_GE(seen.residentDeep, 400u) << "the digging did not reach the stack it meant to";
    EXPECT_GE(seen.given, 400u * 1024u);
    EXPECT_LE(seen.residentTrimmed, 16u);
    EXPECT_TRUE(seen.frameKept);
    EXPECT_EQ(seen.after, seen.before);
}
