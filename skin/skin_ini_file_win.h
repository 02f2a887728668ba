#pragma once
// One skin description file, read through the private-profile functions.

#include "skin/control_record.h"

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
    std::string path_;
};

} // namespace gm::skin
