#pragma once
// The text of an INI file, looked up as the platform's private-profile
// reader looks a value up, so that a file read once answers every lookup
// the way a read per lookup would:
// - lines end at CR or LF; spaces (and the end-of-file mark 1Ah) around a
//   line, a key and a value do not count, and empty lines are skipped;
// - "[name]" opens a section named by what lies between "[" and the last
//   "]" of the line; a line starting with "[" without a "]" is a key;
// - "key=value" splits at the first "="; a line without one is a key
//   without a value, read as missing; keys before any section belong to
//   the section named "";
// - names match in any case and without the spaces around them, only the
//   first section of a name is searched and the first of equal keys in it
//   wins;
// - a value between two equal quotes (' or ") is read without them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gm::skin {

class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    // Nothing when the section or the key is missing, or the key has no value.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  private:
    struct Key {
        std::string name;
        std::optional<std::string> value;
    };
    struct Section {
        std::string name;
        std::vector<Key> keys;
    };
    std::vector<Section> sections_;
};

} // namespace gm::skin
