#pragma once
// An INI file given as text, read the way the private-profile functions
// read one: sections and keys ignore case, spaces around keys and values
// are dropped, the first of two equal keys wins, and a value is read into a
// 2048-byte buffer. Writes go to a map of their own, so a saved file can be
// read back.

#include "shared/ini_store.h"
#include "shared/struct_codec.h"
#include "shared/tests/memory_ini.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>

namespace gm::fuzz {

class IniText final : public IniStore {
  public:
    explicit IniText(std::string_view text) { Parse(text); }
    IniText() = default;

    // Keys of `section` the file holds.
    int32_t KeyCount(const char* section) const {
        int32_t n = 0;
        for (const auto& [k, v] : store_.values)
            n += k.first == Lower(section);
        return n;
    }

    // The private-profile functions ignore the case of sections and keys
    // and drop the spaces around values; the memory file keeps the rest.
    int32_t ReadInt(const char* section, const char* key, int32_t fallback) override {
        return store_.ReadInt(Lower(section).c_str(), Lower(key).c_str(), fallback);
    }
    std::string ReadText(const char* section, const char* key) override {
        return store_.ReadText(Lower(section).c_str(), Lower(key).c_str());
    }
    bool ReadStruct(const char* section, const char* key, void* out, std::size_t size) override {
        return store_.ReadStruct(Lower(section).c_str(), Lower(key).c_str(), out, size);
    }
    bool WriteInt(const char* section, const char* key, int32_t value) override {
        return WriteText(section, key, std::to_string(value));
    }
    bool WriteText(const char* section, const char* key, const std::string& value) override {
        store_.Put(Lower(section), Lower(key), Trim(value));
        return true;
    }
    bool WriteStruct(const char* section, const char* key, const void* data,
                     std::size_t size) override {
        return WriteText(section, key, EncodeStruct(data, size));
    }

  private:
    static std::string Lower(std::string_view s) {
        std::string out(s);
        for (char& c : out)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        return out;
    }
    static std::string Trim(std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
            s.remove_suffix(1);
        return std::string(s);
    }
    void Parse(std::string_view text) {
        std::string section;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
            const std::string trimmed = Trim(line);
            if (trimmed.empty() || trimmed[0] == ';')
                continue;
            if (trimmed[0] == '[') {
                const std::size_t close = trimmed.find(']');
                section = Lower(Trim(
                    trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
                continue;
            }
            const std::size_t eq = trimmed.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string key = Lower(Trim(trimmed.substr(0, eq)));
            if (!store_.Find(section.c_str(), key.c_str())) // the first of equal keys wins
                store_.Put(section, key, Trim(trimmed.substr(eq + 1)));
        }
    }

    test::MemoryIni store_;
};

} // namespace gm::fuzz
