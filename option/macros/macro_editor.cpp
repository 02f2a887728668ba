#include "option/macros/macro_editor.h"

#include <algorithm>
#include <cstdio>

namespace gm {

void MacroEditor::Clear() {
    events_.fill(MacroEvent{0, 0, 0});
    count_ = 0;
}

void MacroEditor::Load(const MacroRecord* record) {
    Clear();
    if (!record)
        return;
    for (int i = 0; i < kMaxEvents; ++i)
        events_[std::size_t(i)] = record->Event(i);
    count_ = std::clamp<int32_t>(record->Count(), 0, kMaxEvents);
}

void MacroEditor::Store(MacroRecord* record) const {
    if (!record)
        return;
    for (int i = 0; i < kMaxEvents; ++i)
        record->SetEvent(i, events_[std::size_t(i)]);
    record->SetCount(count_);
}

MacroEvent MacroEditor::Event(int i) const {
    if (i < 0 || i >= kMaxEvents)
        return {0, 0, 0};
    return events_[std::size_t(i)];
}

void MacroEditor::SetDelay(int i, uint16_t delay) {
    if (i >= 0 && i < kMaxEvents)
        events_[std::size_t(i)].delay = delay;
}

bool MacroEditor::Insert(MacroEvent e) {
    if (count_ >= kMaxEvents)
        return false;
    int at = insertionPoint < 0 ? count_ : std::min(insertionPoint, count_);
    std::move_backward(events_.begin() + at, events_.begin() + count_,
                       events_.begin() + count_ + 1);
    events_[std::size_t(at)] = e;
    ++count_;
    if (insertionPoint >= 0)
        insertionPoint = at + 1;
    caretEvent = at;
    return true;
}

std::string EventText(MacroEvent e, const KeyMapper& keys) {
    std::string name = UsageName(e.keyCode, keys);
    if (e.keyCode >= kFirstMouseCode && e.keyCode <= kLastMouseCode)
        name += e.direction == uint8_t(Direction::Release) ? " Up" : " Down";
    return name;
}

std::string DelayText(int delay) {
    char text[24];
    std::snprintf(text, sizeof text, "%d ms", delay);
    return text;
}

EventList MacroEditor::Rebuild(const KeyMapper& keys) {
    EventList list;
    for (int i = 0; i < count_; ++i) {
        const MacroEvent e = events_[std::size_t(i)];
        uint16_t icon = e.direction == uint8_t(Direction::Release) ? kIconRelease : kIconPress;
        if (e.keyCode >= kFirstMouseCode && e.keyCode <= kLastMouseCode)
            icon = kIconMouse;
        list.lines.push_back({EventText(e, keys), EventLine::Item(i, icon)});
        if (e.delay != 0)
            list.lines.push_back({DelayText(e.delay), EventLine::Item(i, kIconDelay)});
        if (i == caretEvent)
            caretLine = int(list.lines.size()) - 1;
    }
    const int n = int(list.lines.size());
    if (n == 0)
        return list;
    const int b = (caretLine < 0 || caretLine >= n) ? n - 1 : caretLine;
    list.visible = (b > 3 && b < n - 3) ? b + 2 : b;
    return list;
}

void MacroEditor::SetRecordPosition(int s, uint32_t item, bool before) {
    if (s < 0) {
        insertionPoint = -1;
        return;
    }
    const int h = EventLine::EventOf(item) + 1;
    insertionPoint = std::clamp(before ? h - 1 : h, 0, count_);
}

bool MacroEditor::InsertDelay(int s, uint32_t item) {
    if (s < 0 || EventLine::IsDelay(item))
        return false;
    const int h = EventLine::EventOf(item) + 1;
    if (h <= 1 || h - 2 >= count_)
        return false;
    MacroEvent& before = events_[std::size_t(h - 2)];
    if (before.delay != 0)
        return false;
    before.delay = 1;
    caretEvent = h - 2;
    caretLine = s - 1;
    return true;
}

bool MacroEditor::DeleteLine(int s, uint32_t item) {
    if (s < 0)
        return false;
    const int e = EventLine::EventOf(item);
    if (e < 0 || e >= count_)
        return false;
    if (EventLine::IsDelay(item)) {
        events_[std::size_t(e)].delay = 0;
    } else {
        std::move(events_.begin() + e + 1, events_.begin() + count_, events_.begin() + e);
        --count_;
        events_[std::size_t(count_)] = MacroEvent{0, 0, 0};
    }
    caretEvent = e;
    caretLine = s;
    return true;
}

bool MacroEditor::InsertMouse(int command, int s, uint32_t item) {
    if (command < 1020 || command > 1034 || count_ >= kMaxEvents)
        return false;
    const uint8_t code = uint8_t(kFirstMouseCode + (command - 1020) / 3);
    const int kind = (command - 1020) % 3;
    insertionPoint = s < 0 ? -1 : std::clamp(EventLine::EventOf(item), 0, count_);
    const MacroEvent press{code, uint8_t(Direction::Press), 0};
    const MacroEvent release{code, uint8_t(Direction::Release), 0};
    if (kind == 0)
        return Insert(press);
    if (kind == 1)
        return Insert(release);
    if (count_ + 2 > kMaxEvents)
        return false;
    Insert(press);
    Insert(release);
    return true;
}

int64_t LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        v = std::min<int64_t>(v * 10 + (text[i] - '0'), int64_t(1) << 40);
    return negative ? -v : v;
}

TypedValue ParseTypedDelay(std::string_view text) {
    const int64_t v = LeadingNumber(text);
    if (v >= 65535)
        return {65535, v > 65535};
    if (v <= 0)
        return {1, true};
    return {int(v), false};
}

TypedValue ParseRepeatCount(std::string_view text) {
    const int64_t v = LeadingNumber(text);
    if (v >= 256)
        return {255, true};
    if (v <= 0)
        return {1, true};
    return {int(v), false};
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool IsDuplicateName(const std::vector<std::string>& lines, int n) {
    if (n < 0 || std::size_t(n) >= lines.size())
        return false;
    const std::string_view name = TrimSpaces(lines[std::size_t(n)]);
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (int(k) != n && SameMacroName(lines[k], name))
            return true;
    return false;
}

} // namespace gm
