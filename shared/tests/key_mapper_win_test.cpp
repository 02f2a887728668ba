// The key table against the platform's own layout (a US keyboard here).
#include "shared/key_mapper_win.h"

#include <gtest/gtest.h>

namespace gm {
namespace {

TEST(SystemKeyMapper, UsLayoutMatchesTheTable) {
    const KeyMapper& keys = SystemKeys();
    for (const KeyCodeRow& row : KeyCodeTable) {
        if (row.usage < 4 || row.usage > 69)
            continue;
        const KeyLookup usage = VirtualKeyToUsage(row.virtualKey, keys);
        EXPECT_TRUE(usage.found);
        EXPECT_EQ(usage.code, row.usage) << "virtual key " << row.virtualKey;
        EXPECT_EQ(UsageToVirtualKey(row.usage, keys).code, row.virtualKey) << "usage " << row.usage;
    }
    EXPECT_EQ(UsageName(0x04, keys), "A");
    EXPECT_EQ(UsageName(0x2C, keys), "Space");
    EXPECT_EQ(UsageName(0xE1, keys), "Left Shift");
}

} // namespace
} // namespace gm
