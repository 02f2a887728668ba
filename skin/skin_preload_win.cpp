#include "skin/skin_preload_win.h"

#include "skin/picture_win.h"
#include "skin/skin_ini_file_win.h"

#include <future>
#include <map>
#include <mutex>

namespace gm::skin {
namespace {

struct Pending {
    std::mutex lock;
    std::map<std::string, std::future<SkinImages>> byPath;
};

Pending& ThePending() {
    static Pending pending;
    return pending;
}

} // namespace

SkinImages LoadSkinImages(const std::string& folder, const SkinIniFile& ini) {
    SkinImages images;
    auto load = [&](const char* key, win::unique_hbitmap& into) {
        SIZE ignored;
        LoadPicture(folder + ini.ReadString("SCREEN", key), into, ignored);
    };
    load("Mask", images.mask);
    load("Normal", images.normal);
    load("Over", images.over);
    load("Down", images.down);
    load("Disable", images.disable);
    return images;
}

void PreloadSkinImages(const std::string& folder, const std::string& iniName) {
    Pending& pending = ThePending();
    std::lock_guard g(pending.lock);
    auto& slot = pending.byPath[folder + iniName];
    if (slot.valid())
        return;
    try {
        slot = std::async(std::launch::async, [folder, iniName] {
            return LoadSkinImages(folder, SkinIniFile(folder + iniName));
        });
    } catch (const std::system_error&) {
        // No thread to spare: the window decodes its images itself.
        pending.byPath.erase(folder + iniName);
    }
}

bool TakePreloadedSkinImages(const std::string& folder, const std::string& iniName,
                             SkinImages& images) {
    std::future<SkinImages> preloaded;
    {
        Pending& pending = ThePending();
        std::lock_guard g(pending.lock);
        const auto it = pending.byPath.find(folder + iniName);
        if (it == pending.byPath.end())
            return false;
        preloaded = std::move(it->second);
        pending.byPath.erase(it);
    }
    images = preloaded.get();
    return true;
}

} // namespace gm::skin
