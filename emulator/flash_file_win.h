#pragma once
// The virtual mouse keeps its flash in a file, so settings survive a restart
// the way they do on a real mouse.

#include "emulator/firmware.h"

#include <string>

namespace gm::emu {

// False when the file is missing or not a flash image; the firmware then
// keeps its factory state.
bool LoadFlashFile(Firmware& firmware, const std::string& path);
// Written to a temporary file first and moved into place, so a crash never
// leaves half an image behind.
bool SaveFlashFile(const Firmware& firmware, const std::string& path);

} // namespace gm::emu
