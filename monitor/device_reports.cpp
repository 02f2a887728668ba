#include "monitor/device_reports.h"

#include "monitor/key_function.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

namespace gm::mon {
namespace {

// Bytes of the performance record.
constexpr int kSensX = 3;
constexpr int kSensY = 4;
constexpr int kStageFlags = 5;
constexpr int kLevelsX = 6;
constexpr int kLevelsAgain = 11;
constexpr int kCpiStep = 16;
constexpr int kIndicators = 17;
constexpr int kIndicationType = 22;
constexpr int kPolling = 23;
constexpr int kOrientation = 24;
constexpr int kBtnConfiguration = 25;
constexpr int kColor1Type = 26;
constexpr int kColor2Type = 27;
constexpr int kLightOn = 28;
constexpr int kBreathOn = 30;
constexpr int kColorOption = 32;
constexpr int kBreathCode = 33;
constexpr int kColorFlag = 34;
constexpr int kLightCode = 35;
constexpr int kProfileCode = 36;

// Lighting level and breathing speed 3 mean "off".
constexpr int32_t kOff = 3;

constexpr uint8_t kProfileCodes[kProfileCount] = {1, 3, 2, 5, 4};

// The keys of the Ctrl shortcuts 53-60, shared with the key function.
constexpr const uint8_t (&kShortcutKeys)[fn::CtrlShortcutLast - fn::CtrlShortcutFirst + 1] =
    kCtrlShortcutKeys;
constexpr uint8_t kCtrl = kCtrlModifier;
// Usages E0h-E7h: left then right Ctrl, Shift, Alt, Windows.
constexpr uint8_t kFirstModifierKey = 0xE0;
constexpr uint8_t kLastModifierKey = 0xE7;

// Bytes of the macro report.
constexpr int kMacroProfile = 2;
constexpr int kMacroButton = 3;
constexpr int kMacroRepeat = 4;
constexpr int kMacroName = 5;
constexpr int kMacroNameLength = 24;
constexpr int kMacroCount = 29;
constexpr int kMacroItems = 30;
constexpr int kMaxItems = int(kMacroLength - kMacroItems) / 2;
constexpr int kMaxLongPauses = 10;
constexpr unsigned kEventPauseMax = 127 * 5; // what an event item carries alone
constexpr uint8_t kReleaseBit = 0x80;
constexpr uint8_t kUnit100 = 2;
constexpr uint8_t kUnit200 = 3;
constexpr std::size_t kEventBytes = kMaxEvents * btn::EventSize;

// Forty events and ten long pauses fill the item area exactly, so the encoder
// never runs out of room once it keeps to both limits.
static_assert(kMaxEvents + kMaxLongPauses <= kMaxItems);
static_assert(kLongestMacroPauseMs <= 0xFFFF, "fits a Delay word");

uint8_t Low(int32_t v) {
    return uint8_t(v & 0xFF);
}

bool Accept(const uint8_t* report, std::size_t length, uint8_t id, std::size_t need) {
    return report != nullptr && length >= need && report[0] == id;
}

// Lighting level and breathing speed 0, 1, 2 travel as 1, 2, 4.
uint8_t EncodeLevel(int32_t v) {
    switch (v) {
    case 0:
        return 1;
    case 1:
        return 2;
    case 2:
        return 4;
    default:
        return 0;
    }
}

std::optional<int32_t> DecodeLevel(uint8_t code) {
    switch (code) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 4:
        return 2;
    default:
        return std::nullopt;
    }
}

// The 5-ms count of an event item, rounded up from a remainder of 2 ms;
// an event always carries at least one count.
uint8_t FiveMsCount(unsigned ms) {
    const unsigned count = ms / 5 + (ms % 5 >= 2 ? 1 : 0);
    return uint8_t(count == 0 ? 1 : count);
}

struct LongPause {
    uint8_t n;
    uint8_t unit;
    unsigned rest; // left for the event item
};

// A pause above what an event item carries: in 100 ms units while the count
// fits a byte, beyond that in 200 ms units, and at most 255 of those.
LongPause SplitLongPause(unsigned ms) {
    if (ms / 100 <= 0xFF)
        return {uint8_t(ms / 100), kUnit100, ms % 100};
    if (ms / 200 <= 0xFF)
        return {uint8_t(ms / 200), kUnit200, ms % 200};
    return {0xFF, kUnit200, std::min(ms - 0xFF * 200, kEventPauseMax)};
}

unsigned UnitMs(uint8_t unit) {
    return unit == 1 ? 50 : unit == 2 ? 100 : 200;
}

bool IsLongPauseUnit(uint8_t second) {
    return second >= 1 && second <= 3;
}

bool IsLongPause(const uint8_t* item) {
    return IsLongPauseUnit(item[1]);
}

} // namespace

SelectReport EncodeSelect(int profile, int item) {
    return {kSelectId, Low(profile), Low(item)};
}

ProfileReport EncodeCurrentProfile(int profile) {
    return {kProfileId, 3, Low(profile)};
}

std::optional<int> DecodeCurrentProfile(const uint8_t* report, std::size_t length) {
    if (!Accept(report, length, kProfileId, kProfileLength) || report[2] >= kProfileCount)
        return std::nullopt;
    return report[2];
}

PerformanceReport EncodePerformance(const ProfileView& p, int profileIndex) {
    PerformanceReport r{};
    r[0] = kPerformanceId;
    r[1] = uint8_t(kPerformanceLength);
    r[2] = Low(profileIndex);
    r[kSensX] = Low(p.Get(prof::Sensitivity_X));
    r[kSensY] = Low(p.Get(prof::Sensitivity_Y));
    for (int s = 0; s < kStoredStages; ++s) {
        if (p.Get(prof::StepFlag(s)) == 1)
            r[kStageFlags] |= uint8_t(1 << s);
        r[kLevelsX + s] = Low(p.Get(prof::CpiLevelX(s)));
        r[kLevelsAgain + s] = r[kLevelsX + s];
        r[kIndicators + s] = p.Get(prof::Indicator(s));
    }
    r[kCpiStep] = Low(p.Get(prof::CpiStep));
    r[kIndicationType] = p.Get(prof::DpiIndicationType) & 3;
    r[kPolling] = Low(p.Get(prof::PollingRate));
    r[kOrientation] = Low(p.Get(prof::Orientation));
    r[kBtnConfiguration] = p.Get(prof::BtnConfiguration);
    r[kColor1Type] = p.Get(prof::Color1Type);
    r[kColor2Type] = p.Get(prof::Color2Type);
    const int32_t light = p.Get(prof::LightIntensity);
    const int32_t breath = p.Get(prof::BreathSpeed);
    const bool colour = p.Get(prof::ColorFlag) != 0;
    r[kLightOn] = light != kOff ? 1 : 0;
    r[kBreathOn] = breath != kOff ? 1 : 0;
    r[kColorOption] = colour ? uint8_t(p.Get(prof::ColorOptions1) + 1) : 0;
    r[kBreathCode] = EncodeLevel(breath);
    r[kColorFlag] = colour ? 1 : 0;
    r[kLightCode] = EncodeLevel(light);
    r[kProfileCode] = SettingsBlock::IsProfileIndex(profileIndex) ? kProfileCodes[profileIndex] : 0;
    return r;
}

bool DecodePerformance(const uint8_t* r, std::size_t length, ProfileView p) {
    if (!Accept(r, length, kPerformanceId, kPerformanceLength))
        return false;
    // In byte order: a later byte may override an earlier one.
    p.Set(prof::Sensitivity_X, r[kSensX]);
    p.Set(prof::Sensitivity_Y, r[kSensY]);
    for (int s = 0; s < kStoredStages; ++s)
        p.Set(prof::StepFlag(s), uint8_t(r[kStageFlags] >> s & 1));
    for (int s = 0; s < kStoredStages; ++s)
        p.Set(prof::CpiLevelX(s), r[kLevelsX + s]);
    p.Set(prof::CpiStep, r[kCpiStep]);
    for (int s = 0; s < kStoredStages; ++s)
        p.Set(prof::Indicator(s), r[kIndicators + s]);
    p.Set(prof::DpiIndicationType, r[kIndicationType]);
    p.Set(prof::PollingRate, r[kPolling]);
    p.Set(prof::BtnConfiguration, r[kBtnConfiguration]);
    p.Set(prof::Color1Type, r[kColor1Type]);
    p.Set(prof::Color2Type, r[kColor2Type]);
    if (r[kLightOn] == 0)
        p.Set(prof::LightIntensity, kOff);
    if (r[kBreathOn] == 0)
        p.Set(prof::BreathSpeed, kOff);
    p.Set(prof::ColorFlag, r[kColorOption] != 0 ? 1 : 0);
    p.Set(prof::ColorOptions1, r[kColorOption] != 0 ? uint8_t(r[kColorOption] - 1) : 0);
    if (const auto speed = DecodeLevel(r[kBreathCode]))
        p.Set(prof::BreathSpeed, *speed);
    p.Set(prof::ColorChangeModeOptions1, r[kColorFlag]);
    if (const auto level = DecodeLevel(r[kLightCode]))
        p.Set(prof::LightIntensity, *level);
    p.Set(prof::ProfileSwitchIndictor, r[kProfileCode]);
    return true;
}

ButtonEntry EncodeButtonEntry(const ButtonView& b) {
    const uint8_t type = b.Get(btn::FunctionType);
    if (type == fn::Key) {
        const uint8_t key = b.Get(btn::KeyUsage);
        // A modifier key alone travels as its modifier bit, without a key.
        if (key >= kFirstModifierKey && key <= kLastModifierKey)
            return {uint8_t(fn::Key), uint8_t(1 << ((key - kFirstModifierKey) % 4)), 0};
        return {uint8_t(fn::Key), b.Get(btn::KeyModifiers), key};
    }
    if (type == fn::Macro)
        return {type, 0, Low(b.Get(btn::RepeatCount))};
    if (type >= fn::CtrlShortcutFirst && type <= fn::CtrlShortcutLast)
        return {uint8_t(fn::Key), kCtrl, kShortcutKeys[type - fn::CtrlShortcutFirst]};
    return {type, 0, 0};
}

void DecodeButtonEntry(const ButtonEntry& e, ButtonView b) {
    b.Set(btn::FunctionType, e[0]);
    if (e[0] != fn::Key)
        return;
    if (e[1] == kCtrl) {
        const uint8_t* end = std::end(kShortcutKeys);
        const uint8_t* key = std::find(std::begin(kShortcutKeys), end, e[2]);
        if (key != end) {
            b.Set(btn::FunctionType, uint8_t(fn::CtrlShortcutFirst + (key - kShortcutKeys)));
            return;
        }
    }
    b.Set(btn::KeyModifiers, e[1]);
    b.Set(btn::KeyUsage, e[2]);
    b.Set(btn::EventCount, uint16_t(1));
    b.Set(btn::MacroName, "");
}

ButtonTableReport EncodeButtonTable(const ProfileView& p, int profileIndex) {
    ButtonTableReport r{};
    r[0] = kButtonTableId;
    r[1] = uint8_t(kButtonTableLength);
    r[2] = Low(profileIndex);
    for (int k = 0; k < kButtonCount; ++k) {
        const ButtonEntry e = EncodeButtonEntry(p.Button(k));
        std::copy(e.begin(), e.end(), r.begin() + 3 + 3 * k);
    }
    return r;
}

bool DecodeButtonTable(const uint8_t* r, std::size_t length, ProfileView p) {
    if (!Accept(r, length, kButtonTableId, kButtonTableLength))
        return false;
    for (int k = 0; k < kButtonCount; ++k) {
        const uint8_t* at = r + 3 + 3 * k;
        DecodeButtonEntry({at[0], at[1], at[2]}, p.Button(k));
    }
    return true;
}

OtgReport EncodeOtg(const ProfileView& current) {
    return {kOtgId, uint8_t(kOtgLength), Low(current.Get(prof::OTGSpeed)), 1, 0, 0};
}

bool DecodeOtg(const uint8_t* r, std::size_t length, ProfileView current) {
    if (!Accept(r, length, kOtgId, kOtgLength))
        return false;
    current.Set(prof::OTGSpeed, r[2]);
    return true;
}

MacroReport EncodeMacro(const ButtonView& b, int profileIndex, int buttonIndex) {
    MacroReport r{};
    r[0] = kMacroId;
    r[1] = uint8_t(kMacroLength);
    r[kMacroProfile] = Low(profileIndex);
    r[kMacroButton] = Low(buttonIndex);
    const uint8_t repeat = Low(b.Get(btn::RepeatCount));
    r[kMacroRepeat] = repeat == 0 ? 1 : repeat;
    const std::string name = b.Get(btn::MacroName);
    std::memcpy(r.data() + kMacroName, name.data(),
                std::min(name.size(), std::size_t(kMacroNameLength)));

    int items = 0;
    auto put = [&](uint8_t first, uint8_t second) {
        if (items == kMaxItems)
            return; // unreachable within the limits above; never past the report
        r[kMacroItems + 2 * items] = first;
        r[kMacroItems + 2 * items + 1] = second;
        ++items;
    };

    const int count = std::min<int>(b.Get(btn::EventCount), kMaxEvents);
    int longPauses = 0;
    unsigned carried = 0;
    for (int j = 0; j < count; ++j) {
        // Delays are stored circularly: slot j-1 holds the pause before
        // event j, the last slot the pause before event 0.
        unsigned pause = b.Event(j == 0 ? count - 1 : j - 1).delay + carried;
        const MacroEvent e = b.Event(j);
        // An item whose key is 1-3 reads as a long pause, and no key has
        // such a code: the event is not sent, and its pause goes to the next.
        if (IsLongPauseUnit(e.keyCode)) {
            carried = pause;
            continue;
        }
        carried = 0;
        if (pause > kEventPauseMax) {
            if (longPauses < kMaxLongPauses) {
                const LongPause lp = SplitLongPause(pause);
                put(lp.n, lp.unit);
                ++longPauses;
                pause = lp.rest;
            } else {
                pause %= 100;
            }
        }
        const uint8_t release = e.direction != uint8_t(Direction::Press) ? kReleaseBit : 0;
        put(uint8_t(FiveMsCount(pause) | release), e.keyCode);
    }
    r[kMacroCount] = uint8_t(items);
    return r;
}

bool DecodeMacro(const uint8_t* r, std::size_t length, ButtonView b, int profileIndex,
                 int buttonIndex) {
    if (!Accept(r, length, kMacroId, kMacroLength))
        return false;

    b.Set(btn::ButtonIndex, r[kMacroRepeat]);
    b.Set(btn::RepeatCount, r[kMacroRepeat]);
    b.Set(btn::FunctionType, uint8_t(fn::Macro));
    const char* text = reinterpret_cast<const char*>(r + kMacroName);
    std::string name(text, strnlen(text, kMacroNameLength));
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    if (name.empty())
        name = "Pro" + std::to_string(profileIndex + 1) + "-M" + std::to_string(buttonIndex + 1);
    b.Set(btn::MacroName, name);

    // Never more items than the report holds, whatever its count byte says.
    const int items = std::min<int>(r[kMacroCount], kMaxItems);
    struct Received {
        uint8_t keyCode;
        uint8_t direction;
        uint16_t pauseBefore;
    };
    Received events[kMaxItems];
    int count = 0;
    for (int i = 0; i < items; ++i) {
        const uint8_t* item = r + kMacroItems + 2 * i;
        unsigned pause = 0;
        if (IsLongPause(item)) {
            if (i + 1 == items)
                break; // a long pause with no event after it
            pause = item[0] * UnitMs(item[1]);
            item = r + kMacroItems + 2 * ++i;
        }
        pause += (item[0] & 0x7F) * 5u;
        const Direction dir = (item[0] & kReleaseBit) != 0 ? Direction::Release : Direction::Press;
        events[count++] = {item[1], uint8_t(dir), uint16_t(pause)};
    }

    std::memset(b.data() + btn::Events, 0, kEventBytes);
    if (count > kMaxEvents) {
        // Too long for a record: kept as a macro that plays nothing.
        b.Set(btn::EventCount, uint16_t(0));
        return true;
    }
    for (int k = 0; k < count; ++k) {
        // Slot k keeps the pause before event k+1; the last slot the pause
        // before event 0.
        const uint16_t delay = events[k + 1 < count ? k + 1 : 0].pauseBefore;
        b.SetEvent(k, {events[k].keyCode, events[k].direction, delay});
    }
    b.Set(btn::EventCount, uint16_t(count));
    return true;
}

std::optional<VersionInfo> DecodeVersion(const uint8_t* r, std::size_t length) {
    if (!Accept(r, length, kVersionId, kVersionLength))
        return std::nullopt;
    return VersionInfo{r[2], r[4]};
}

HostReport EncodeHostAttached(bool attached) {
    return {kHostId, 3, uint8_t(attached ? 1 : 0)};
}

} // namespace gm::mon
