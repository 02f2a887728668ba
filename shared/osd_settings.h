#pragma once
// The on-screen display settings record: 348 bytes kept in config.ini
// (section "OSDSetting", key "config"), shared with the display program and
// the applets. The monitor reads four of its fields; the configuration
// program stores it whole and can reset it.

#include "shared/ini_store.h"

#include <array>
#include <cstdint>

namespace gm {

class OsdSettingsRecord {
  public:
    static constexpr std::size_t kSize = 348;

    OsdSettingsRecord() { bytes_.fill(0); }

    bool ShowProfileNotice() const { return I32(8) != 0; }
    bool ShowMacroNotice() const { return I32(12) != 0; }
    int32_t DisplayHigh() const { return I32(32); } // high half of 1326's lParam to the display
    int32_t DisplayLow() const { return I32(36); }  // low half
    int32_t I32(std::size_t offset) const;
    void SetI32(std::size_t offset, int32_t v);

    // A missing or damaged value keeps the current content.
    bool Read(IniStore& config);
    bool Write(IniStore& config) const;
    // Defaults: numbers 110 at 140 and 5 at 344, everything else zero, the
    // three texts emptied by a NUL in their first byte.
    void Reset();

    const std::array<uint8_t, kSize>& bytes() const { return bytes_; }

  private:
    std::array<uint8_t, kSize> bytes_;
};

} // namespace gm
