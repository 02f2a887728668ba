#include "skin/skin_images_win.h"

#include "skin/picture_win.h"
#include "skin/skin_ini_file_win.h"

namespace gm::skin {

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

} // namespace gm::skin
