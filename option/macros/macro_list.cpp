#include "option/macros/macro_list.h"

#include <algorithm>
#include <cstring>

namespace gm {
namespace {

int32_t ReadI32(const uint8_t* p) {
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
void WriteI32(uint8_t* p, int32_t v) {
    std::memcpy(p, &v, 4);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

constexpr const char* kSection = "Macros";

} // namespace

std::string MacroRecord::Name() const {
    const auto* p = reinterpret_cast<const char*>(bytes_.data());
    return std::string(p, strnlen(p, kMacroNameSize));
}

void MacroRecord::SetName(std::string_view name) {
    std::memset(bytes_.data(), 0, kMacroNameSize);
    std::memcpy(bytes_.data(), name.data(), std::min(name.size(), kMacroNameSize - 1));
}

int32_t MacroRecord::Repeat() const {
    return ReadI32(bytes_.data() + kRepeat);
}
void MacroRecord::SetRepeat(int32_t v) {
    WriteI32(bytes_.data() + kRepeat, v);
}
int32_t MacroRecord::Count() const {
    return ReadI32(bytes_.data() + kCount);
}
void MacroRecord::SetCount(int32_t v) {
    WriteI32(bytes_.data() + kCount, v);
}

MacroEvent MacroRecord::Event(int slot) const {
    const uint8_t* p = bytes_.data() + kEvents + 4 * std::size_t(slot);
    uint16_t delay;
    std::memcpy(&delay, p + 2, 2);
    return {p[0], p[1], delay};
}

void MacroRecord::SetEvent(int slot, MacroEvent e) {
    uint8_t* p = bytes_.data() + kEvents + 4 * std::size_t(slot);
    p[0] = e.keyCode;
    p[1] = e.direction;
    std::memcpy(p + 2, &e.delay, 2);
}

namespace {
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}
NameComparison g_sameName = SameIgnoringAsciiCase;
} // namespace

void SetNameComparison(NameComparison compare) {
    g_sameName = compare ? compare : SameIgnoringAsciiCase;
}

bool SameMacroName(std::string_view libraryName, std::string_view buttonName) {
    return g_sameName(Trim(libraryName), buttonName);
}

MacroRecord* MacroList::At(int position) {
    if (position < 0 || std::size_t(position) >= items_.size())
        return nullptr;
    return items_[std::size_t(position)].get();
}

const MacroRecord* MacroList::At(int position) const {
    return const_cast<MacroList*>(this)->At(position);
}

void MacroList::Remove(int position) {
    if (At(position))
        items_.erase(items_.begin() + position);
}

MacroRecord& MacroList::AppendName(std::string_view name) {
    items_.push_back(std::make_unique<MacroRecord>());
    items_.back()->SetName(name);
    return *items_.back();
}

MacroRecord& MacroList::Append(const MacroRecord& record) {
    items_.push_back(std::make_unique<MacroRecord>(record));
    return *items_.back();
}

int MacroList::IndexOfName(std::string_view name) const {
    for (std::size_t k = 0; k < items_.size(); ++k)
        if (SameMacroName(items_[k]->Name(), Trim(name)))
            return int(k);
    return -1;
}

FindResult MacroList::Find(const ButtonView& button) const {
    const std::string name = button.Get(btn::MacroName);
    for (std::size_t k = 0; k < items_.size(); ++k) {
        const MacroRecord& entry = *items_[k];
        if (!SameMacroName(entry.Name(), name))
            continue;
        FindResult r{int(k), false};
        const int count = entry.Count();
        r.same = count == int(button.Get(btn::EventCount)) &&
                 entry.Repeat() == button.Get(btn::RepeatCount) && count >= 0 &&
                 count <= kMaxEvents &&
                 std::memcmp(entry.data() + MacroRecord::kEvents, button.data() + btn::Events,
                             4 * std::size_t(count)) == 0;
        return r;
    }
    return {};
}

bool MacroList::MergeButton(const ButtonView& button) {
    if (button.Get(btn::FunctionType) != fn::Macro || button.Get(btn::MacroName).empty())
        return false;
    const FindResult found = Find(button);
    if (found.same)
        return false;
    const int count = std::min<int>(button.Get(btn::EventCount), kMaxEvents);
    MacroRecord* entry = nullptr;
    if (found.position < 0) {
        entry = &AppendName(button.Get(btn::MacroName));
        std::memcpy(entry->data() + MacroRecord::kEvents, button.data() + btn::Events,
                    4 * std::size_t(count));
    } else {
        entry = At(found.position);
        std::memcpy(entry->data() + MacroRecord::kEvents, button.data() + btn::Events,
                    4 * std::size_t(kMaxEvents));
    }
    entry->SetRepeat(button.Get(btn::RepeatCount));
    entry->SetCount(count);
    return true;
}

bool MacroList::MergeProfile(const ProfileView& profile) {
    bool changed = false;
    for (int b = 0; b < kButtonCount; ++b)
        changed = MergeButton(profile.Button(b)) || changed;
    return changed;
}

bool MacroList::Merge(const SettingsBlock& block) {
    bool changed = false;
    for (int p = 0; p < kProfileCount; ++p)
        changed = MergeProfile(block.Profile(p)) || changed;
    return changed;
}

void MacroList::Load(IniStore& store, int32_t maxKeys) {
    const int32_t n = std::min(store.ReadInt(kSection, "number", -1), maxKeys);
    for (int32_t i = 0; i < n; ++i) {
        MacroRecord record;
        // A key that is missing or fails its checksum is skipped.
        if (store.ReadStruct(kSection, std::to_string(i).c_str(), record.data(), kMacroRecordSize))
            Append(record);
    }
}

void MacroList::Save(IniStore& store) const {
    store.WriteInt(kSection, "number", int32_t(items_.size()));
    for (std::size_t i = 0; i < items_.size(); ++i)
        store.WriteStruct(kSection, std::to_string(i).c_str(), items_[i]->data(), kMacroRecordSize);
}

void CopyMacroToButton(const MacroRecord& macro, ButtonView button) {
    button.Set(btn::MacroName, macro.Name().substr(0, kButtonMacroNameChars));
    button.Set(btn::RepeatCount, macro.Repeat());
    const int count = std::clamp<int>(macro.Count(), 0, kMaxEvents);
    button.Set(btn::EventCount, uint16_t(count));
    std::memcpy(button.data() + btn::Events, macro.data() + MacroRecord::kEvents,
                4 * std::size_t(kMaxEvents));
}

} // namespace gm
