#pragma once
// The numbered user-visible texts, read from lan.dll in the install folder.
// The library is mapped as a resource file, never run: it carries no code
// we would call, and a library of another bitness still serves its texts.

#include "win/handles.h"

#include <string>

namespace gm {

inline constexpr int kLanTextBuffer = 260;

class LanguageLibrary {
  public:
    // False (and every text empty) when the library cannot be loaded.
    bool Load(const std::string& installDir);
    void Unload() { module_.reset(); }
    bool IsLoaded() const { return bool(module_); }
    // The text of `id`, at most 259 characters; "" when the library or the
    // identifier is missing.
    std::string Get(int id) const;

  private:
    win::unique_hmodule module_;
};

} // namespace gm
