#pragma once
// Images of a skin decoded ahead of need on a worker thread. A program that
// knows which window it shows first starts the decoding of that window's
// images at once; the window, made later, finds them ready (or waits for
// the rest) instead of decoding them itself while the user waits.

#include "win/handles.h"

#include <string>

namespace gm::skin {

// The "SCREEN" images of one skin description.
struct SkinImages {
    win::unique_hbitmap mask, normal, over, down, disable;
};

// Reads `folder` + `iniName` and decodes its images on a worker thread. A
// second call for the same skin before its images are taken does nothing.
void PreloadSkinImages(const std::string& folder, const std::string& iniName);

// The images preloaded for this skin, once: waits for the worker when it is
// still decoding. False when none were preloaded; the caller then decodes
// them itself.
bool TakePreloadedSkinImages(const std::string& folder, const std::string& iniName,
                             SkinImages& images);

class SkinIniFile;

// Decodes the images `ini` (a skin description of `folder`) names, on the
// calling thread.
SkinImages LoadSkinImages(const std::string& folder, const SkinIniFile& ini);

} // namespace gm::skin
