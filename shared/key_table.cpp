#include "shared/key_table.h"

namespace gm {
namespace {

// Usages whose rows carry a scan code and follow the keyboard layout.
constexpr bool IsLayoutUsage(int usage) {
    return usage >= 4 && usage <= 69;
}

const KeyCodeRow* FindByVirtualKey(int vk) {
    for (const KeyCodeRow& row : KeyCodeTable)
        if (row.virtualKey == vk)
            return &row;
    return nullptr;
}

const KeyCodeRow* FindByUsage(int usage) {
    for (const KeyCodeRow& row : KeyCodeTable)
        if (row.usage == usage)
            return &row;
    return nullptr;
}

const KeyCodeRow* FindByScanCode(uint32_t scan) {
    // Scan code 0 means "no such key"; matching it would hit the first
    // layout-independent row (Print Screen) instead.
    if (scan == 0)
        return nullptr;
    for (const KeyCodeRow& row : KeyCodeTable)
        if (static_cast<uint32_t>(row.scanCode) == scan)
            return &row;
    return nullptr;
}

constexpr std::array<const char*, 256> kKeyNames = [] {
    std::array<const char*, 256> n{};
    n.fill("");
    n[8] = "BackSpace";
    n[9] = "Tab";
    n[13] = "Enter";
    n[19] = "Pause";
    n[20] = "CapsLock";
    n[27] = "Esc";
    n[32] = "Space";
    n[33] = "Page UP";
    n[34] = "Page Down";
    n[35] = "End";
    n[36] = "Home";
    n[37] = "Left";
    n[38] = "Up";
    n[39] = "Right";
    n[40] = "Down";
    n[41] = "Select";
    n[43] = "Execute";
    n[44] = "Print Screen";
    n[45] = "Insert";
    n[46] = "Delete";
    n[47] = "Help";
    constexpr const char* digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    constexpr const char* numpad[] = {"Num_0", "Num_1", "Num_2", "Num_3", "Num_4",
                                      "Num_5", "Num_6", "Num_7", "Num_8", "Num_9"};
    for (int i = 0; i < 10; ++i) {
        n[48 + i] = digits[i];
        n[96 + i] = numpad[i];
    }
    constexpr const char* letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                       "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                       "S", "T", "U", "V", "W", "X", "Y", "Z"};
    for (int i = 0; i < 26; ++i)
        n[65 + i] = letters[i];
    n[91] = "L_WIN";
    n[92] = "R_WIN";
    n[93] = "APP";
    n[106] = "Num_*";
    n[107] = "Num_+";
    n[108] = "Num_ "; // the separator key; the trailing space is the shown name
    n[109] = "Num_-";
    n[110] = "Num_.";
    n[111] = "Num_/";
    constexpr const char* fkeys[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                     "F7", "F8", "F9", "F10", "F11", "F12"};
    for (int i = 0; i < 12; ++i)
        n[112 + i] = fkeys[i];
    n[144] = "Number Lock";
    n[145] = "Scroll Lock";
    n[160] = "Left Shift";
    n[161] = "Right Shift";
    n[162] = "Left Ctrl";
    n[163] = "Right Ctrl";
    n[164] = "Left Alt";
    n[165] = "Right Alt";
    n[186] = ";";
    n[187] = "=";
    n[188] = ",";
    n[189] = "-";
    n[190] = ".";
    n[191] = "/";
    n[192] = "`";
    n[219] = "[";
    n[220] = "\\";
    n[221] = "]";
    n[222] = "'";
    // Mouse buttons share the code space with virtual keys here.
    n[241] = "Left";
    n[242] = "Right";
    n[243] = "Wheel";
    n[244] = "Forward";
    n[245] = "Backward";
    return n;
}();

// Key fields of a button record: EventCount (uint16 LE), then the first
// event slot reused as {usage, modifiers} for a key with modifiers.
constexpr size_t kEventCountOffset = 40;
constexpr size_t kKeyUsageOffset = 42;
constexpr size_t kModifierOffset = 43;
constexpr size_t kHotkeyFieldsEnd = 44;

constexpr uint8_t kModCtrl = 0x01;
constexpr uint8_t kModShift = 0x02;
constexpr uint8_t kModAlt = 0x04;
constexpr uint8_t kModWin = 0x08;

} // namespace

KeyLookup VirtualKeyToUsage(int virtualKey, const KeyMapper& mapper) {
    const KeyCodeRow* row = FindByVirtualKey(virtualKey);
    if (!row)
        return {0, false};
    if (IsLayoutUsage(row->usage)) {
        // The physical position decides: 'Q' on a layout that puts it where
        // US 'A' is must record as the A key's usage.
        uint32_t scan = mapper.VirtualKeyToScan(static_cast<uint32_t>(virtualKey));
        if (const KeyCodeRow* byScan = FindByScanCode(scan))
            return {byScan->usage, true};
    }
    return {row->usage, true};
}

KeyLookup UsageToVirtualKey(int usage, const KeyMapper& mapper) {
    const KeyCodeRow* row = FindByUsage(usage);
    if (!row)
        return {0, false};
    if (IsLayoutUsage(row->usage))
        return {static_cast<int>(mapper.ScanToVirtualKey(static_cast<uint32_t>(row->scanCode))),
                true};
    return {row->virtualKey, true};
}

const char* KeyName(int code) {
    if (code < 0 || code >= static_cast<int>(kKeyNames.size()))
        return "";
    return kKeyNames[static_cast<size_t>(code)];
}

std::string UsageName(int usage, const KeyMapper& mapper) {
    KeyLookup vk = UsageToVirtualKey(usage, mapper);
    return KeyName(vk.found ? vk.code : 0);
}

std::string HotkeyText(const uint8_t* record, size_t size, const KeyMapper& mapper) {
    if (!record || size < kHotkeyFieldsEnd)
        return {};
    unsigned eventCount = record[kEventCountOffset] | (record[kEventCountOffset + 1] << 8);
    if (eventCount == 0)
        return {};

    const uint8_t mods = record[kModifierOffset];
    std::string text;
    if (mods & kModCtrl)
        text += "Ctrl+";
    if (mods & kModShift)
        text += "Shift+";
    if (mods & kModAlt)
        text += "Alt+";
    if (mods & kModWin)
        text += "Win+";
    text += UsageName(record[kKeyUsageOffset], mapper);
    return text;
}

} // namespace gm
