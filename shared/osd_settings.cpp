#include "shared/osd_settings.h"

#include <cstring>

namespace gm {

int32_t OsdSettingsRecord::I32(std::size_t offset) const {
    int32_t v;
    std::memcpy(&v, bytes_.data() + offset, 4);
    return v;
}

void OsdSettingsRecord::SetI32(std::size_t offset, int32_t v) {
    std::memcpy(bytes_.data() + offset, &v, 4);
}

bool OsdSettingsRecord::Read(IniStore& config) {
    return config.ReadStruct("OSDSetting", "config", bytes_.data(), kSize);
}

bool OsdSettingsRecord::Write(IniStore& config) const {
    return config.WriteStruct("OSDSetting", "config", bytes_.data(), kSize);
}

void OsdSettingsRecord::Reset() {
    for (std::size_t off = 0; off < 40; off += 4)
        SetI32(off, 0);
    bytes_[40] = 0;
    SetI32(140, 110);
    bytes_[144] = 0;
    bytes_[244] = 0;
    SetI32(344, 5);
}

} // namespace gm
