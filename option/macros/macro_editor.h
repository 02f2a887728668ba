#pragma once
// The macro manager's working copy of one macro: its 40 event slots and
// count, where recorded or inserted events go, and the lines the event list
// shows for it. Pure code, so every list operation is checked on the host.
#include "option/macros/macro_list.h"
#include "shared/key_table.h"
#include "shared/settings_block.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gm {

// Bitmap resources drawn at the left of an event-list line.
inline constexpr uint16_t kIconDelay = 135;
inline constexpr uint16_t kIconRelease = 137;
inline constexpr uint16_t kIconPress = 138;
inline constexpr uint16_t kIconMouse = 146;

inline constexpr int kFirstMouseCode = 241; // 241 left ... 245 backward
inline constexpr int kLastMouseCode = 245;

// One line of the event list. The item value carries the event number + 1
// in its high half and the icon resource in its low half.
struct EventLine {
    std::string text;
    uint32_t item = 0;

    static uint32_t Item(int event, uint16_t icon) { return (uint32_t(event + 1) << 16) | icon; }
    static int EventOf(uint32_t item) { return int(item >> 16) - 1; }
    static bool IsDelay(uint32_t item) { return (item & 0xFFFF) == kIconDelay; }
};

struct EventList {
    std::vector<EventLine> lines;
    // The line to bring into view (two lines after the caret stay visible);
    // -1 when the list is empty.
    int visible = -1;
};

class MacroEditor {
  public:
    MacroEditor() { Clear(); }

    // Count 0, every slot zero.
    void Clear();
    // The record's slots and count (a count outside 0-40 read from a damaged
    // file is clamped); without a record, an empty macro.
    void Load(const MacroRecord* record);
    // The slots and count into the record; nothing without one.
    void Store(MacroRecord* record) const;

    int count() const { return count_; }
    MacroEvent Event(int i) const;
    void SetDelay(int i, uint16_t delay);

    int insertionPoint = -1; // -1: append at the end
    int caretEvent = -1;     // the event last inserted or edited
    int caretLine = -1;      // the line to keep in view, -1: the last one

    // Inserts at the insertion point (or appends); false when 40 events are
    // already there. Consecutive inserts keep their order.
    bool Insert(MacroEvent e);

    // The lines of the event list; sets caretLine from caretEvent.
    EventList Rebuild(const KeyMapper& keys);

    // Where "Record before" (before = true) or "Record after" puts new events
    // for the selected line `s` with item value `item`.
    void SetRecordPosition(int s, uint32_t item, bool before);
    // A 1 ms pause before the line's event, when there is none yet; false
    // when nothing changed.
    bool InsertDelay(int s, uint32_t item);
    // A delay line clears that pause; an event line removes the event and
    // its pause. False for no selection.
    bool DeleteLine(int s, uint32_t item);
    // Commands 1020-1034: press, release or click of mouse button 241-245
    // before the selected line's event (appended without a selection).
    bool InsertMouse(int command, int s, uint32_t item);

  private:
    std::array<MacroEvent, kMaxEvents> events_{};
    int count_ = 0;
};

// The text of one event line ("A", "Left Down", ...).
std::string EventText(MacroEvent e, const KeyMapper& keys);

// A delay typed into the event list: the leading number clamped to 1-65535;
// `rewrite` when the typed value lay outside that range.
struct TypedValue {
    int value;
    bool rewrite;
};
TypedValue ParseTypedDelay(std::string_view text);
// The repeat count edit: the leading number clamped to 1-255.
TypedValue ParseRepeatCount(std::string_view text);
// "%d ms"
std::string DelayText(int delay);

// The leading decimal number after leading spaces, 0 when there is none;
// saturates instead of overflowing.
int64_t LeadingNumber(std::string_view text);

// Surrounding spaces removed.
std::string_view TrimSpaces(std::string_view s);

// True when some line other than `n` holds the same name (trimmed, letter
// case ignored).
bool IsDuplicateName(const std::vector<std::string>& lines, int n);

} // namespace gm
