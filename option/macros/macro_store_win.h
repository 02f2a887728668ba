#pragma once
// The macro library on disk: config\sequence.dat in the install folder.
#include "option/macros/macro_list.h"
#include <string>

namespace gm {

std::string MacroStorePath(const std::string& installDir);
// Appends the stored macros to `list`.
void LoadMacroStore(const std::string& installDir, MacroList& list);
// Rewrites the file whole from `list`, keys renumbered from 0.
void SaveMacroStore(const std::string& installDir, const MacroList& list);

} // namespace gm
