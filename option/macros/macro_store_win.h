#pragma once
// The macro library on disk: config\sequence.dat in the install folder.
#include "option/macros/macro_list.h"
#include <string>

namespace gm {

std::string MacroStorePath(const std::string& installDir);
// Appends the stored macros to `list`. True when the store holds exactly
// what saving them again would write: a "number" that counts them, every
// key up to it sound, and no other key. False when the file is missing.
bool LoadMacroStore(const std::string& installDir, MacroList& list);
// Rewrites the file whole from `list`, keys renumbered from 0.
void SaveMacroStore(const std::string& installDir, const MacroList& list);

} // namespace gm
