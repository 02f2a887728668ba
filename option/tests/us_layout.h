#pragma once
// A keyboard layout where every key sits where the key table puts it.
#include "shared/key_table.h"

namespace gm::test {

class UsLayout final : public KeyMapper {
  public:
    uint32_t VirtualKeyToScan(uint32_t vk) const override {
        for (const auto& row : KeyCodeTable)
            if (uint32_t(row.virtualKey) == vk && row.scanCode)
                return uint32_t(row.scanCode);
        return 0;
    }
    uint32_t ScanToVirtualKey(uint32_t scan) const override {
        for (const auto& row : KeyCodeTable)
            if (uint32_t(row.scanCode) == scan && scan)
                return uint32_t(row.virtualKey);
        return 0;
    }
};

} // namespace gm::test
