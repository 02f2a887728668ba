#pragma once
// The Windows mouse values of a profile in the user's registry:
// HKCU\Control Panel\Mouse and HKCU\Control Panel\Desktop.

#include "shared/settings_block.h"

#include <string>

namespace gm {

class MouseRegistry {
  public:
    // `base` is prefixed to both key paths; empty for the real location.
    explicit MouseRegistry(std::string base = "") : base_(std::move(base)) {}

    // 1 on success; -1 when either key cannot be opened or created.
    int Write(const ProfileView& profile) const;
    // 1 on success; 0 when the Mouse key fails, -1 when the Desktop key fails.
    int Read(ProfileView profile) const;

    std::string MouseKey() const { return base_ + "Control Panel\\Mouse"; }
    std::string DesktopKey() const { return base_ + "Control Panel\\Desktop"; }

  private:
    std::string base_;
};

} // namespace gm
