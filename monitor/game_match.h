#pragma once
// Which profile, if any, belongs to the program in the foreground: the first
// profile whose GameFile names the same file (name and extension, case
// ignored) as the foreground process's own image.

#include "shared/settings_block.h"

#include <optional>
#include <string>

namespace gm::mon {

// "C:\Games\Arena\ARENA.exe " -> "arena.exe"; "" for an empty or blank path.
std::string FileNameLower(const std::string& path);

std::optional<int> ProfileForProgram(const SettingsBlock& block, const std::string& imagePath);

} // namespace gm::mon
