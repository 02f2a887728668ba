#pragma once
// Whether a settings file a program wrote is sound: every key there, every
// structure value passing its checksum, and the file reading back as itself.
#include "shared/profile_files_win.h"
#include "shared/tests/test_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace gm::test {

// The keys of every section of an INI file, as "section/key".
inline std::set<std::string> KeysOf(const std::string& path) {
    std::set<std::string> keys;
    std::vector<char> sections(1 << 16);
    ::GetPrivateProfileSectionNamesA(sections.data(), DWORD(sections.size()), path.c_str());
    for (const char* s = sections.data(); *s; s += std::strlen(s) + 1) {
        std::vector<char> names(1 << 16);
        ::GetPrivateProfileStringA(s, nullptr, "", names.data(), DWORD(names.size()), path.c_str());
        for (const char* k = names.data(); *k; k += std::strlen(k) + 1)
            keys.insert(std::string(s) + "/" + k);
    }
    return keys;
}

// A file the program wrote is sound when it holds every key a file written
// from sound values holds, each structure value passes its checksum, and it
// reads back as itself (loaded and saved again, it is the same text).
inline void ExpectSoundProfileFile(const std::string& path, const std::string& label) {
    const std::string fresh = path + ".fresh";
    SettingsBlock reference;
    reference.Profile(0).MakeDefault(0, LevelSet::Option);
    ASSERT_TRUE(ProfileFiles::SaveProfile(reference.Profile(0), fresh));
    const std::set<std::string> wanted = KeysOf(fresh), written = KeysOf(path);
    for (const std::string& k : wanted)
        EXPECT_TRUE(written.count(k)) << label << ": " << path << " lacks " << k;
    std::vector<uint8_t> bytes(kProfileSize);
    ProfileView loaded(bytes.data());
    ProfileFiles::LoadProfile(loaded, path);
    for (int b = 0; b < kButtonCount; ++b)
        EXPECT_LE(loaded.Button(b).Get(btn::EventCount), kMaxEvents) << label << " button " << b;
    ASSERT_TRUE(ProfileFiles::SaveProfile(loaded, fresh));
    // Compared line by line, so a failure names the line.
    std::istringstream again(TestFolder::ReadFile(fresh)), writtenText(TestFolder::ReadFile(path));
    std::string a, w;
    int line = 0;
    for (;;) {
        const bool more = bool(std::getline(again, a));
        if (!std::getline(writtenText, w) && !more)
            break;
        ++line;
        if (a != w) {
            ADD_FAILURE() << label << ": " << path << " line " << line << " reads back as \""
                          << a.substr(0, 60) << "\" but holds \"" << w.substr(0, 60) << "\"";
            break;
        }
        a.clear();
        w.clear();
    }
    ::DeleteFileA(fresh.c_str());
}

inline void ExpectSoundConfig(const std::string& dir, const std::string& label) {
    const std::string config = dir + "config.ini";
    unsigned char record[348];
    EXPECT_TRUE(
        ::GetPrivateProfileStructA("OSDSetting", "config", record, sizeof record, config.c_str()))
        << label << ": the display record passes its checksum";
    char current[32] = "";
    ::GetPrivateProfileStringA("Setting", "CurrentProfile", "", current, sizeof current,
                               config.c_str());
    EXPECT_STRNE(current, "") << label;
}

} // namespace gm::test
