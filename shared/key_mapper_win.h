#pragma once
// The keyboard layout of this desktop, for the key table's conversions.

#include "shared/key_table.h"

namespace gm {

class SystemKeyMapper final : public KeyMapper {
  public:
    uint32_t VirtualKeyToScan(uint32_t vk) const override;
    uint32_t ScanToVirtualKey(uint32_t scan) const override;
};

const KeyMapper& SystemKeys();

} // namespace gm
