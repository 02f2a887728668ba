#pragma once
// The macro library of the configuration program: an ordered list of named
// macros, each the same 220 bytes in memory and in config\sequence.dat.
// Buttons carry their own copy of a macro; Merge brings the copies the
// buttons carry back into the library.
#include "shared/ini_store.h"
#include "shared/settings_block.h"
#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gm {

inline constexpr std::size_t kMacroRecordSize = 220;
inline constexpr std::size_t kMacroNameSize = 52;
inline constexpr std::size_t kButtonMacroNameChars = 23; // what a button record keeps

class MacroRecord {
  public:
    MacroRecord() { bytes_.fill(0); }
    std::string Name() const;
    void SetName(std::string_view name); // at most 51 characters kept
    int32_t Repeat() const;
    void SetRepeat(int32_t v);
    int32_t Count() const;
    void SetCount(int32_t v);
    MacroEvent Event(int slot) const;
    void SetEvent(int slot, MacroEvent e);
    uint8_t* data() { return bytes_.data(); }
    const uint8_t* data() const { return bytes_.data(); }

    static constexpr std::size_t kRepeat = 52, kCount = 56, kEvents = 60;

  private:
    std::array<uint8_t, kMacroRecordSize> bytes_;
};
static_assert(MacroRecord::kEvents + kMaxEvents * 4 == kMacroRecordSize);

struct FindResult {
    int position = -1; // -1: no entry of that name
    bool same = false; // the entry's contents equal the button's
};

class MacroList {
  public:
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    // Null when the position does not exist.
    MacroRecord* At(int position);
    const MacroRecord* At(int position) const;
    void Remove(int position);
    // A new zeroed record with that name, at the end; returns it.
    MacroRecord& AppendName(std::string_view name);
    MacroRecord& Append(const MacroRecord& record);
    void FreeAll() { items_.clear(); }
    // By name: trimmed entry name against the button's name, ignoring case.
    FindResult Find(const ButtonView& button) const;
    // Index of the entry called `name` (trimmed, ignoring case), or -1.
    int IndexOfName(std::string_view name) const;
    // The macros the buttons of every profile carry, into the library; true
    // when that added or changed an entry.
    bool Merge(const SettingsBlock& block);
    bool MergeProfile(const ProfileView& profile);

    // config\sequence.dat: Load appends, Save rewrites the whole section
    // (the caller deletes the file first). Load reads keys "0" up to
    // "number" - 1, but none from `maxKeys` on (keys the file does not
    // hold), so a damaged count cannot keep it reading for ever.
    void Load(IniStore& store, int32_t maxKeys = INT32_MAX);
    void Save(IniStore& store) const;

  private:
    bool MergeButton(const ButtonView& button);
    std::vector<std::unique_ptr<MacroRecord>> items_;
};

// Names compare equal when they match ignoring letter case, after the
// library's name is trimmed of surrounding spaces.
bool SameMacroName(std::string_view libraryName, std::string_view buttonName);

// How two names are compared ignoring case. The core alone folds ASCII
// letters; the programs install the platform's comparison, which knows the
// code page's other letters and its double-byte characters.
using NameComparison = bool (*)(std::string_view, std::string_view);
void SetNameComparison(NameComparison compare);

// Copies a library macro into a button record (name cut to 23 characters,
// repeat, count and all 40 event slots).
void CopyMacroToButton(const MacroRecord& macro, ButtonView button);

} // namespace gm
