#pragma once
// The "SCREEN" images of a skin description, decoded in one place.

#include "win/handles.h"

#include <string>

namespace gm::skin {

struct SkinImages {
    win::unique_hbitmap mask, normal, over, down, disable;
};

class SkinIniFile;

// Decodes the images `ini` (a skin description of `folder`) names; a missing
// file or key leaves its image empty.
SkinImages LoadSkinImages(const std::string& folder, const SkinIniFile& ini);

} // namespace gm::skin
