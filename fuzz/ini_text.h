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
#include <unordered_map>

namespace gm::fuzz {

class IniText final : public test::IniValues {
  public:
    explicit IniText(std::string_view text) { Parse(text); }
    IniText() = default;

    // Keys of `section` the file holds.
    int32_t KeyCount(const char* section) const {
        const std::string prefix = Lower(section) + '\n';
        int32_t n = 0;
        for (const auto& [k, v] : values_)
            n += k.compare(0, prefix.size(), prefix) == 0;
        return n;
    }

    // The private-profile functions ignore the case of sections and keys
    // and drop the spaces around values.
    const std::string* Find(const char* section, const char* key) const override {
        const auto it = values_.find(Name(section, key));
        return it == values_.end() ? nullptr : &it->second;
    }
    bool WriteText(const char* section, const char* key, const std::string& value) override {
        values_[Name(section, key)] = Trim(value);
        return true;
    }

  private:
    // A key's name in the map: section and key in lower case, a line break
    // between (neither can hold one).
    static std::string Name(std::string_view section, std::string_view key) {
        std::string name = Lower(section);
        name += '\n';
        name += Lower(key);
        return name;
    }
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
            // The first of equal keys wins.
            values_.try_emplace(section + '\n' + key, Trim(trimmed.substr(eq + 1)));
        }
    }

    std::unordered_map<std::string, std::string> values_;
};

} // namespace gm::fuzz
