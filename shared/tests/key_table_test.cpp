#include "shared/key_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

using gm::KeyCodeTable;

// A keyboard layout as a scan code <-> virtual key bijection; counts calls so
// tests can tell when the layout was consulted.
class FakeLayout : public gm::KeyMapper {
  public:
    explicit FakeLayout(const std::map<uint32_t, uint32_t>& overrides = {}) {
        for (const auto& row : KeyCodeTable)
            if (row.scanCode)
                scanToVk_[row.scanCode] = row.virtualKey;
        for (const auto& [scan, vk] : overrides)
            scanToVk_[scan] = vk;
    }
    uint32_t VirtualKeyToScan(uint32_t vk) const override {
        ++calls;
        for (const auto& [scan, v] : scanToVk_)
            if (v == vk)
                return scan;
        return 0;
    }
    uint32_t ScanToVirtualKey(uint32_t scan) const override {
        ++calls;
        auto it = scanToVk_.find(scan);
        return it == scanToVk_.end() ? 0 : it->second;
    }
    mutable int calls = 0;

  private:
    std::map<uint32_t, uint32_t> scanToVk_;
};

const FakeLayout& Us() {
    static const FakeLayout layout;
    return layout;
}

// French AZERTY: A/Q and Z/W swapped, M beside L, punctuation moved; it has
// no VK_OEM_MINUS key at all.
// clang-format off
FakeLayout Azerty() {
    return FakeLayout({{0x10, 'A'},  {0x11, 'Z'},  {0x1E, 'Q'},  {0x2C, 'W'},  {0x27, 'M'},
                       {0x32, 0xBC}, {0x33, 0xBE}, {0x34, 0xBF}, {0x35, 0xDF}, {0x1A, 0xDD},
                       {0x1B, 0xBA}, {0x28, 0xC0}, {0x29, 0xDE}, {0x2B, 0xDC}, {0x0C, 0xDB},
                       {0x0D, 0xBB}});
}
// clang-format on

TEST(KeyCodeTable, UsagesUniqueAndScanCodesExactlyForLayoutKeys) {
    std::set<int> usages, scans;
    for (const auto& row : KeyCodeTable) {
        EXPECT_TRUE(usages.insert(row.usage).second) << "duplicate usage " << row.usage;
        const bool layoutKey = row.usage >= 4 && row.usage <= 69;
        EXPECT_EQ(row.scanCode != 0, layoutKey) << "usage " << row.usage;
        if (row.scanCode) {
            EXPECT_TRUE(scans.insert(row.scanCode).second) << "duplicate scan " << row.scanCode;
        }
    }
}

TEST(KeyLookup, EveryRowRoundTripsUnderUsLayout) {
    for (const auto& row : KeyCodeTable) {
        auto vk = gm::UsageToVirtualKey(row.usage, Us());
        EXPECT_TRUE(vk.found);
        EXPECT_EQ(vk.code, row.virtualKey) << "usage " << row.usage;
        auto usage = gm::VirtualKeyToUsage(row.virtualKey, Us());
        EXPECT_TRUE(usage.found);
        EXPECT_EQ(usage.code, row.usage) << "vk " << row.virtualKey;
    }
}

TEST(KeyLookup, PhysicalPositionDecidesOnAzerty) {
    const FakeLayout fr = Azerty();
    EXPECT_EQ(gm::VirtualKeyToUsage('Q', fr).code, 0x04); // where US 'A' sits
    EXPECT_EQ(gm::VirtualKeyToUsage('A', fr).code, 0x14);
    EXPECT_EQ(gm::VirtualKeyToUsage('M', fr).code, 0x33); // US ';' position
    EXPECT_EQ(gm::UsageToVirtualKey(0x04, fr).code, 'Q');
    EXPECT_EQ(gm::UsageName(0x1A, fr), "Z"); // usage of US 'W'
    // A key the layout lacks keeps its own row instead of matching a
    // scan-code-less row such as Print Screen.
    EXPECT_EQ(gm::VirtualKeyToUsage(0xBD, fr).code, 0x2D);
}

TEST(KeyLookup, UnknownCodesAreNotFound) {
    for (int vk : {0, 0xAD /* volume mute */, 0xAF, -1, 0x1000}) {
        auto r = gm::VirtualKeyToUsage(vk, Us());
        EXPECT_FALSE(r.found) << vk;
        EXPECT_EQ(r.code, 0) << vk;
    }
    for (int usage : {0, 0x32, 0x64, 0xE8, 0xF0, 0xF6, -4}) {
        EXPECT_FALSE(gm::UsageToVirtualKey(usage, Us()).found) << usage;
        EXPECT_EQ(gm::UsageName(usage, Us()), "") << usage;
    }
}

TEST(KeyLookup, LayoutIndependentKeysNeverConsultLayout) {
    const FakeLayout fr = Azerty();
    EXPECT_EQ(gm::UsageToVirtualKey(0x46, fr).code, 0x2C); // Print Screen
    EXPECT_EQ(gm::UsageToVirtualKey(0xE3, fr).code, 0x5B); // left Windows
    EXPECT_EQ(gm::VirtualKeyToUsage(0xA5, fr).code, 0xE6); // right Alt
    EXPECT_EQ(fr.calls, 0);
}

TEST(KeyLookup, MouseButtonsRoundTrip) {
    const char* names[] = {"Left", "Right", "Wheel", "Forward", "Backward"};
    for (int code = 0xF1; code <= 0xF5; ++code) {
        EXPECT_EQ(gm::UsageToVirtualKey(code, Us()).code, code);
        EXPECT_EQ(gm::VirtualKeyToUsage(code, Us()).code, code);
        EXPECT_EQ(gm::UsageName(code, Us()), names[code - 0xF1]);
    }
}

TEST(KeyName, RangeEdgesAndUnlistedCodes) {
    EXPECT_STREQ(gm::KeyName(108), "Num_ ");
    EXPECT_STREQ(gm::KeyName(47), "Help");
    EXPECT_STREQ(gm::KeyName(48), "0");
    EXPECT_STREQ(gm::KeyName(90), "Z");
    EXPECT_STREQ(gm::KeyName(105), "Num_9");
    EXPECT_STREQ(gm::KeyName(123), "F12");
    EXPECT_STREQ(gm::KeyName(220), "\\");
    for (int code : {-1, 0, 42, 58, 64, 124, 166, 193, 240, 246, 255, 256})
        EXPECT_STREQ(gm::KeyName(code), "") << code;
}

std::vector<uint8_t> KeyRecord(uint16_t eventCount, uint8_t usage, uint8_t mods) {
    std::vector<uint8_t> rec(464, 0);
    rec[40] = static_cast<uint8_t>(eventCount);
    rec[41] = static_cast<uint8_t>(eventCount >> 8);
    rec[42] = usage;
    rec[43] = mods;
    return rec;
}

std::string Hotkey(const std::vector<uint8_t>& rec, const gm::KeyMapper& m = Us()) {
    return gm::HotkeyText(rec.data(), rec.size(), m);
}

TEST(HotkeyText, ModifiersInFixedOrder) {
    EXPECT_EQ(Hotkey(KeyRecord(1, 0x04, 0x0F)), "Ctrl+Shift+Alt+Win+A");
    EXPECT_EQ(Hotkey(KeyRecord(1, 0x04, 0x05)), "Ctrl+Alt+A");
    EXPECT_EQ(Hotkey(KeyRecord(1, 0x04, 0x00)), "A");
    EXPECT_EQ(Hotkey(KeyRecord(1, 0x3A, 0xF8)), "Win+F1"); // unused bits ignored
    EXPECT_EQ(Hotkey(KeyRecord(1, 0x14, 0x01), Azerty()), "Ctrl+A");
}

TEST(HotkeyText, EmptyWithoutKeyOrShortBuffer) {
    EXPECT_EQ(Hotkey(KeyRecord(0, 0x04, 0x0F)), "");
    EXPECT_EQ(Hotkey(KeyRecord(0x0100, 0x04, 0)), "A"); // count's high byte counts too
    // Exactly-sized heap buffers let the sanitizer catch any read past the end.
    auto rec = KeyRecord(1, 0x04, 0x01);
    std::vector<uint8_t> shortRec(rec.begin(), rec.begin() + 43);
    EXPECT_EQ(Hotkey(shortRec), "");
    std::vector<uint8_t> minimal(rec.begin(), rec.begin() + 44);
    EXPECT_EQ(Hotkey(minimal), "Ctrl+A");
    EXPECT_EQ(gm::HotkeyText(nullptr, 464, Us()), "");
}

} // namespace
