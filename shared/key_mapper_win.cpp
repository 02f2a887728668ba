#include "shared/key_mapper_win.h"

#include <windows.h>

namespace gm {

uint32_t SystemKeyMapper::VirtualKeyToScan(uint32_t vk) const {
    return ::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
}

uint32_t SystemKeyMapper::ScanToVirtualKey(uint32_t scan) const {
    return ::MapVirtualKeyA(scan, MAPVK_VSC_TO_VK_EX);
}

const KeyMapper& SystemKeys() {
    static const SystemKeyMapper mapper;
    return mapper;
}

} // namespace gm
