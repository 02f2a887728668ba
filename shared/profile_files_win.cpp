#include "shared/profile_files_win.h"

#include "shared/mouse_registry_win.h"
#include "shared/private_profile_win.h"
#include "shared/profile_format.h"
#include "win/handles.h"
#include "win/replace_file.h"

#include <windows.h>

namespace gm {
namespace {

bool CanOpenForReading(const std::string& path) {
    win::unique_file f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return bool(f);
}

} // namespace

std::string ProfileFiles::ProfilePath(int index) const {
    return dir_ + ProfileFileName(index);
}

bool ProfileFiles::LoadAll(SettingsBlock& block) const {
    PrivateProfileFile config(ConfigPath());
    block.SetCurrentProfile(config.ReadInt(kSettingSection, "CurrentProfile", -1));
    block.SetMouseType(config.ReadInt(kSettingSection, "MouseType", -1));
    block.SetMouseColor(config.ReadInt(kSettingSection, "MouseColor", -1));
    for (int i = 0; i < kProfileCount; ++i) {
        const std::string path = ProfilePath(i);
        // What a file lacks keeps its default.
        block.Profile(i).MakeDefault(i, levels_);
        if (CanOpenForReading(path))
            LoadProfile(block.Profile(i), path);
    }
    if (block.HasCurrentProfile())
        registry_.Read(block.Profile(block.CurrentProfile()));
    return true;
}

bool ProfileFiles::SaveAll(const SettingsBlock& block) const {
    if (block.HasCurrentProfile())
        registry_.Write(block.Profile(block.CurrentProfile()));
    bool ok = WriteSettingInt("CurrentProfile", block.CurrentProfile());
    ok &= WriteSettingInt("MouseType", block.MouseType());
    ok &= WriteSettingInt("MouseColor", block.MouseColor());
    // The private-profile functions do not create folders; without this a
    // fresh install would lose every profile without a word.
    ::CreateDirectoryA((dir_ + "config").c_str(), nullptr);
    for (int i = 0; i < kProfileCount; ++i)
        ok &= SaveProfile(block.Profile(i), ProfilePath(i));
    return ok;
}

void ProfileFiles::LoadProfile(ProfileView profile, const std::string& file) {
    PrivateProfileFile ini(file);
    gm::LoadProfile(ini, profile);
}

// Written beside the file, then put in its place: a crash mid-write leaves
// the old file whole, and nothing of a damaged old file survives.
bool ProfileFiles::SaveProfile(const ProfileView& profile, const std::string& file) {
    const std::string fresh = file + ".new";
    ::DeleteFileA(fresh.c_str());
    PrivateProfileFile ini(fresh);
    bool ok = gm::SaveProfile(ini, profile);
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, fresh.c_str()); // flush; says FALSE
    // The other program may be reading the old file at this moment.
    ok = ok && win::ReplaceFileWith(fresh, file);
    if (!ok)
        ::DeleteFileA(fresh.c_str());
    return ok;
}

bool ProfileFiles::WriteSettingInt(const char* key, int32_t value) const {
    PrivateProfileFile config(ConfigPath());
    return config.WriteInt(kSettingSection, key, value);
}

bool ProfileFiles::WriteCurrentProfileIndex(int32_t value) const {
    return WriteSettingInt("CurrentProfile", value);
}
bool ProfileFiles::WriteFirmwareVersion(int32_t value) const {
    return WriteSettingInt("FWVersion", value);
}
bool ProfileFiles::WriteDeviceState(bool connected) const {
    return WriteSettingInt("Device", connected ? 1 : 0);
}

int32_t ProfileFiles::ReadFirmwareVersion() const {
    PrivateProfileFile config(ConfigPath());
    return config.ReadInt(kSettingSection, "FWVersion", 100);
}

int32_t ProfileFiles::ReadMouseTypeForOption() const {
    PrivateProfileFile config(ConfigPath());
    return config.ReadInt(kSettingSection, "MouseType", 0);
}

} // namespace gm
