#pragma once
// What the profile loader and saver need of an INI file. The Windows build
// backs it with the private-profile functions; tests may back it with memory.

#include <cstddef>
#include <cstdint>
#include <string>

namespace gm {

class IniStore {
  public:
    virtual ~IniStore() = default;
    // Decimal integer, or `fallback` when the key is missing or empty.
    virtual int32_t ReadInt(const char* section, const char* key, int32_t fallback) = 0;
    // Text read into a 2048-byte buffer (so at most 2047 characters), "" when missing.
    virtual std::string ReadText(const char* section, const char* key) = 0;
    // A struct value; false (and `out` untouched) when missing, of the wrong
    // length or failing its checksum.
    virtual bool ReadStruct(const char* section, const char* key, void* out, std::size_t size) = 0;

    virtual bool WriteInt(const char* section, const char* key, int32_t value) = 0;
    virtual bool WriteText(const char* section, const char* key, const std::string& value) = 0;
    virtual bool WriteStruct(const char* section, const char* key, const void* data,
                             std::size_t size) = 0;
};

inline constexpr std::size_t kIniTextBuffer = 2048;

} // namespace gm
