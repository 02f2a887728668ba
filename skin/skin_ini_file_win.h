#pragma once
// One skin description file, read once on its first lookup and looked up
// as the private-profile functions would look it up (a read through them
// costs a file open and several system calls a key).

#include "skin/control_record.h"
#include "skin/ini_document.h"

#include <optional>
#include <string>

namespace gm::skin {

class SkinIniFile {
  public:
    explicit SkinIniFile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // At most 2047 characters; `fallback` when the file or key is missing.
    std::string ReadString(const char* section, const char* key, const char* fallback = "") const;
    // The "BUTTONPOS" record of a control slot; all empty when missing.
    ControlRecord Record(int slot) const;

  private:
    const IniDocument& Document() const;

    std::string path_;
    mutable std::optional<IniDocument> document_;
};

} // namespace gm::skin
