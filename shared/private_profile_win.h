#pragma once
// An INI file read and written through the platform's private-profile
// functions, which also write struct values in their hex+checksum form.

#include "shared/ini_store.h"

#include <string>

namespace gm {

class PrivateProfileFile final : public IniStore {
  public:
    explicit PrivateProfileFile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    int32_t ReadInt(const char* section, const char* key, int32_t fallback) override;
    std::string ReadText(const char* section, const char* key) override;
    bool ReadStruct(const char* section, const char* key, void* out, std::size_t size) override;
    bool WriteInt(const char* section, const char* key, int32_t value) override;
    bool WriteText(const char* section, const char* key, const std::string& value) override;
    bool WriteStruct(const char* section, const char* key, const void* data,
                     std::size_t size) override;

  private:
    std::string path_;
};

} // namespace gm
