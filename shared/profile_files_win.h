#pragma once
// The block on disk: config.ini in the install folder and one profile file
// per profile (config\Default0.gmp ... Default4.gmp). The monitor and the
// configuration program both use exactly this loader and saver.

#include "shared/mouse_registry_win.h"
#include "shared/settings_block.h"

#include <string>

namespace gm {

class ProfileFiles {
  public:
    // `installDir` ends in a backslash; `levels` picks the default
    // resolution levels of a profile whose file is missing.
    ProfileFiles(std::string installDir, LevelSet levels, MouseRegistry registry = MouseRegistry())
        : dir_(std::move(installDir)), levels_(levels), registry_(std::move(registry)) {}

    std::string ConfigPath() const { return dir_ + "config.ini"; }
    std::string ProfilePath(int index) const;

    // Reads config.ini and the five profile files (defaults for a missing
    // file), then the Windows mouse values into the current profile.
    bool LoadAll(SettingsBlock& block) const;
    // Writes the current profile's Windows mouse values, config.ini and every
    // profile file. False when any file could not be written.
    bool SaveAll(const SettingsBlock& block) const;

    static void LoadProfile(ProfileView profile, const std::string& file);
    static bool SaveProfile(const ProfileView& profile, const std::string& file);

    bool WriteCurrentProfileIndex(int32_t value) const;
    bool WriteFirmwareVersion(int32_t value) const;
    bool WriteDeviceState(bool connected) const;
    int32_t ReadFirmwareVersion() const;    // 100 when missing
    int32_t ReadMouseTypeForOption() const; // 0 when missing

  private:
    bool WriteSettingInt(const char* key, int32_t value) const;

    std::string dir_;
    LevelSet levels_;
    MouseRegistry registry_;
};

} // namespace gm
