#include "emulator/firmware.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace gm::emu {
namespace {

// Report ids and the lengths of the short reports.
constexpr uint8_t kSelectId = 4;
constexpr uint8_t kProfileId = 5;
constexpr uint8_t kPerformanceId = 6;
constexpr uint8_t kButtonTableId = 7;
constexpr uint8_t kOtgId = 8;
constexpr uint8_t kMacroId = 9;
constexpr uint8_t kVersionId = 10;
constexpr uint8_t kHostId = 14;
constexpr std::size_t kSelectLength = 3;
constexpr std::size_t kProfileLength = 3;
constexpr std::size_t kOtgLength = 6;
constexpr std::size_t kVersionLength = 8;
constexpr std::size_t kHostLength = 3;

constexpr int kSelectPerformance = 16;
constexpr int kSelectButtonTable = 32;

// Bytes of the performance record.
constexpr int kSensX = 3;
constexpr int kSensY = 4;
constexpr int kStageFlags = 5;
constexpr int kLevelsX = 6;
constexpr int kLevelsCopy = 11; // never stored: answered as a copy of the X levels
constexpr int kStages = 5;
constexpr int kCpiStep = 16;
constexpr int kIndicators = 17;
constexpr int kPolling = 23;
constexpr int kPollingRates = 4;
constexpr int kSensMin = 1;
constexpr int kSensMax = 20;
constexpr int kSensDefault = 10;

// Bytes of a macro report.
constexpr int kMacroRepeat = 4;
constexpr int kMacroName = 5;
constexpr int kMacroNameLength = 24;
constexpr int kMacroItems = 29;

// Event classes.
constexpr uint16_t kTiltEvent = 0x1000;
constexpr uint16_t kProfileEvent = 0x3000;
constexpr uint16_t kMacroEvent = 0x4000;
constexpr uint16_t kKeyEvent = 0x5000;
constexpr uint16_t kProgramEvent = 0x6000;
constexpr uint16_t kOpenSettingsEvent = 0xA000;
constexpr uint16_t kStageEvent = 0xB000;
constexpr uint16_t kSensitivityEvent = 0xC000;
constexpr uint16_t kPollingEvent = 0xD000;
constexpr uint16_t kMediaEvent = 0xF000;
constexpr uint16_t kReleaseFlag = 0x0100;

constexpr char kMagic[4] = {'G', 'M', 'F', '1'};
constexpr std::size_t kImageSize = sizeof kMagic + 4 + sizeof(Flash::performance) +
                                   sizeof(Flash::buttons) + sizeof(Flash::macros) +
                                   sizeof(Flash::otg);

constexpr uint8_t kProfileCodes[kProfiles] = {1, 3, 2, 5, 4};
constexpr uint8_t kDefaultTypes[kButtons] = {1, 2, 3, 8, 7, 13, 21, 0, 0, 0, 0, 0, 0, 9, 10};

bool StageEnabled(uint8_t flags, int stage) {
    return stage >= 0 && stage < kStages && (flags >> stage & 1) != 0;
}

// Stage moves over the enabled stages; -1 when no stage is enabled. The
// current stage itself need not be enabled (the host may have disabled it).
int CycleStage(uint8_t flags, int current) {
    for (int s = current + 1; s < kStages; ++s)
        if (StageEnabled(flags, s))
            return s;
    for (int s = 0; s < kStages; ++s)
        if (StageEnabled(flags, s))
            return s;
    return -1;
}

int StageUp(uint8_t flags, int current) {
    for (int s = std::max(current + 1, 0); s < kStages; ++s)
        if (StageEnabled(flags, s))
            return s;
    return current;
}

int StageDown(uint8_t flags, int current) {
    for (int s = std::min(current, kStages) - 1; s >= 0; --s)
        if (StageEnabled(flags, s))
            return s;
    return current;
}

int LowestStage(uint8_t flags) {
    for (int s = 0; s < kStages; ++s)
        if (StageEnabled(flags, s))
            return s;
    return -1;
}

bool IsKey(int type) {
    return type == 5 || (type >= 53 && type <= 60);
}
bool IsMedia(int type) {
    return type >= 25 && type <= 32;
}

const char* FunctionName(int type) {
    // clang-format off
    static const char* const names[] = {
        "disabled", "left click", "right click", "middle click", "double click", "key",
        "disabled", "forward", "back", "scroll left", "scroll right", "scroll up",
        "scroll down", "CPI cycle", "CPI up", "CPI down", "macro", "run program",
        "sensitivity up", "sensitivity down", "sensitivity reset", "profile cycle",
        "polling rate cycle", "open settings", "sniper", "media player", "previous track",
        "next track", "play/pause", "stop", "mute", "volume up", "volume down",
        "web browser", "e-mail", "calculator", "file explorer", "web search", "show desktop",
        "switch window", "close window", "lock computer", "task manager", "lighting on/off",
        "lighting effect"};
    static const char* const shortcuts[] = {
        "Ctrl+X", "Ctrl+C", "Ctrl+V", "Ctrl+Z", "Ctrl+A", "Ctrl+F", "Ctrl+N", "Ctrl+S"};
    // clang-format on
    if (type >= 0 && type < int(std::size(names)))
        return names[type];
    if (type >= 53 && type <= 60)
        return shortcuts[type - 53];
    return "no function";
}

std::string MacroName(const uint8_t* macro) {
    std::string name;
    for (int i = 0; i < kMacroNameLength && macro[kMacroName + i] != 0; ++i) {
        const uint8_t c = macro[kMacroName + i];
        name += (c >= 0x20 && c < 0x7F) ? char(c) : '?';
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

// A stored macro keeps its report id; an untouched slot is all zero.
bool HasMacro(const uint8_t* macro) {
    return macro[0] == kMacroId;
}

} // namespace

Firmware::Firmware() {
    FactoryReset();
}

void Firmware::FactoryReset() {
    flash_ = Flash{};
    for (int p = 0; p < kProfiles; ++p) {
        uint8_t* r = flash_.performance[p];
        r[0] = kPerformanceId;
        r[1] = uint8_t(kPerformanceLength);
        r[2] = uint8_t(p);
        r[kSensX] = kSensDefault;
        r[kSensY] = kSensDefault;
        r[kStageFlags] = 0x0F;
        const uint8_t levels[kStages] = {2, 4, 6, 8, 12};
        const uint8_t indicators[kStages] = {15, 16, 17, 21, 20};
        std::memcpy(r + kLevelsX, levels, kStages);
        r[kCpiStep] = 1;
        std::memcpy(r + kIndicators, indicators, kStages);
        r[22] = 1; // indicator mode
        r[kPolling] = 2;
        r[24] = 0; // orientation
        r[25] = 2; // button configuration
        r[26] = 1; // colour 1 type
        r[27] = 1; // colour 2 type
        r[28] = 1; // lighting on
        r[30] = 1; // breathing on
        r[33] = 2; // breathing speed 1, coded
        r[35] = 4; // lighting intensity 2, coded
        r[36] = kProfileCodes[p];

        uint8_t* t = flash_.buttons[p];
        t[0] = kButtonTableId;
        t[1] = uint8_t(kButtonTableLength);
        t[2] = uint8_t(p);
        for (int b = 0; b < kButtons; ++b)
            t[3 + 3 * b] = kDefaultTypes[b];

        flash_.otg[p] = 10;
    }
    status_ = Status::Done;
    selectedProfile_ = 0;
    selectedItem_ = kSelectPerformance;
    ClearHeld();
}

void Firmware::ClearHeld() {
    heldType_.fill(-1);
    sniperSavedStage_ = -1;
    sniperProfile_ = 0;
}

int Firmware::Active() const {
    return flash_.activeProfile < kProfiles ? flash_.activeProfile : 0;
}

void Firmware::Finish(Status s) {
    status_ = s;
}

bool Firmware::CountReport() {
    if (faults_.unplugAfter < 0)
        return false;
    if (faults_.unplugAfter > 0)
        --faults_.unplugAfter;
    if (faults_.unplugAfter > 0)
        return false;
    faults_.unplugAfter = -1; // fires once; a replugged mouse answers again
    set_plugged(false);
    return true;
}

// ---------------------------------------------------------------------------
// Feature reports

bool Firmware::SetFeature(const uint8_t* data, std::size_t length) {
    // Unplugged or silent: the report never reaches the firmware, so its
    // status stays as it was.
    if (!plugged_ || faults_.silent)
        return false;
    if (CountReport())
        return false;
    if (faults_.failNextSet) {
        faults_.failNextSet = false;
        Finish(Status::Failed);
        return false;
    }
    const bool ok = data != nullptr && length > 0 && ApplySet(data, length);
    Finish(ok ? Status::Done : Status::Failed);
    return ok;
}

bool Firmware::ApplySet(const uint8_t* d, std::size_t length) {
    switch (d[0]) {
    case kSelectId: {
        if (length < kSelectLength)
            return false;
        const int item = d[2];
        const bool itemOk =
            item == kSelectPerformance || item == kSelectButtonTable || item < kButtons;
        if (d[1] >= kProfiles || !itemOk) {
            // A refused select selects nothing: the following get must not
            // answer with whatever was selected before.
            selectedItem_ = -1;
            return false;
        }
        selectedProfile_ = d[1];
        selectedItem_ = item;
        return true;
    }
    case kProfileId:
        if (length < kProfileLength || d[2] >= kProfiles)
            return false;
        flash_.activeProfile = d[2];
        return true;
    case kPerformanceId: {
        if (length < kPerformanceLength || d[2] >= kProfiles)
            return false;
        uint8_t* r = flash_.performance[d[2]];
        std::memcpy(r + 3, d + 3, kLevelsCopy - 3);
        std::memcpy(r + kCpiStep, d + kCpiStep, kPerformanceLength - kCpiStep);
        return true;
    }
    case kButtonTableId:
        if (length < kButtonTableLength || d[2] >= kProfiles)
            return false;
        std::memcpy(flash_.buttons[d[2]] + 3, d + 3, kButtonTableLength - 3);
        return true;
    case kOtgId:
        if (length < kOtgLength)
            return false;
        flash_.otg[Active()] = d[2];
        return true;
    case kMacroId:
        if (length < kMacroLength || d[2] >= kProfiles || d[3] >= kButtons)
            return false;
        std::memcpy(flash_.macros[d[2]][d[3]], d, kMacroLength);
        return true;
    case kHostId:
        if (length < kHostLength)
            return false;
        flash_.hostAttached = d[2];
        return true;
    default:
        return false;
    }
}

bool Firmware::GetFeature(uint8_t* data, std::size_t length) {
    if (!plugged_ || faults_.silent)
        return false;
    if (CountReport())
        return false;
    if (faults_.failNextGet) {
        faults_.failNextGet = false;
        return false;
    }
    if (data == nullptr || length == 0)
        return false;

    if (data[0] == kSelectId) {
        if (length < kSelectLength)
            return false;
        // A busy countdown only hides a success: a refused set stays failed.
        Status s = status_;
        if (s == Status::Done && faults_.busyPolls > 0) {
            --faults_.busyPolls;
            s = Status::Busy;
        }
        data[1] = uint8_t(s);
        data[2] = 0;
        return true;
    }
    // Built aside so that a refused get leaves the caller's buffer alone.
    uint8_t answer[kMacroLength]{};
    const std::size_t n = Answer(data[0], answer, length);
    if (n == 0)
        return false;
    std::memcpy(data, answer, n);
    return true;
}

std::size_t Firmware::Answer(uint8_t id, uint8_t* out, std::size_t length) const {
    out[0] = id;
    switch (id) {
    case kProfileId:
        if (length < kProfileLength)
            return 0;
        out[1] = 3;
        out[2] = uint8_t(Active());
        return kProfileLength;
    case kPerformanceId: {
        if (length < kPerformanceLength || selectedItem_ != kSelectPerformance)
            return 0;
        std::memcpy(out, flash_.performance[selectedProfile_], kPerformanceLength);
        out[0] = kPerformanceId;
        out[1] = uint8_t(kPerformanceLength);
        out[2] = uint8_t(selectedProfile_);
        std::memcpy(out + kLevelsCopy, out + kLevelsX, kStages);
        return kPerformanceLength;
    }
    case kButtonTableId:
        if (length < kButtonTableLength || selectedItem_ != kSelectButtonTable)
            return 0;
        std::memcpy(out, flash_.buttons[selectedProfile_], kButtonTableLength);
        out[0] = kButtonTableId;
        out[1] = uint8_t(kButtonTableLength);
        out[2] = uint8_t(selectedProfile_);
        return kButtonTableLength;
    case kOtgId:
        if (length < kOtgLength)
            return 0;
        out[1] = uint8_t(kOtgLength);
        out[2] = flash_.otg[Active()];
        out[3] = 1;
        return kOtgLength;
    case kMacroId: {
        if (length < kMacroLength || selectedItem_ < 0 || selectedItem_ >= kButtons)
            return 0;
        const uint8_t* m = flash_.macros[selectedProfile_][selectedItem_];
        if (HasMacro(m)) {
            std::memcpy(out, m, kMacroLength);
        } else {
            out[kMacroRepeat] = 1; // an empty slot still plays once
        }
        out[0] = kMacroId;
        out[1] = uint8_t(kMacroLength);
        out[2] = uint8_t(selectedProfile_);
        out[3] = uint8_t(selectedItem_);
        return kMacroLength;
    }
    case kVersionId:
        if (length < kVersionLength)
            return 0;
        out[1] = uint8_t(kVersionLength);
        out[2] = flash_.firmwareVersion;
        out[4] = flash_.mouseType;
        return kVersionLength;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Buttons

Outcome Firmware::Press(int button) {
    if (button < 1 || button > kButtons)
        return {};
    if (!plugged_)
        return {{}, "button " + std::to_string(button) + ": ignored, unplugged"};
    const int type = FunctionOf(button);
    heldType_[button - 1] = type;
    return Act(button, type, true);
}

Outcome Firmware::Release(int button) {
    if (button < 1 || button > kButtons)
        return {};
    const int held = heldType_[button - 1];
    heldType_[button - 1] = -1;
    if (!plugged_)
        return {{}, "button " + std::to_string(button) + ": ignored, unplugged"};
    return Act(button, held >= 0 ? held : FunctionOf(button), false);
}

Outcome Firmware::Act(int button, int type, bool press) {
    const uint16_t n = uint16_t(button);
    const uint16_t flag = press ? 0 : kReleaseFlag;
    Outcome out;
    out.action = "button " + std::to_string(button) + ": " + FunctionName(type) +
                 (press ? " press" : " release");

    auto merge = [&out](Outcome change) {
        out.events = std::move(change.events);
        if (!change.action.empty())
            out.action += ", " + change.action;
    };

    if (type == 16) {
        out.events.push_back({kMacroEvent, uint16_t(flag | n)});
    } else if (IsKey(type)) {
        out.events.push_back({kKeyEvent, uint16_t(flag | n)});
    } else if (type == 17) {
        out.events.push_back({kProgramEvent, uint16_t(flag | n)});
    } else if (IsMedia(type)) {
        out.events.push_back({kMediaEvent, uint16_t(flag | type)});
    } else if (type == 24) {
        uint8_t* r = Performance();
        if (press && sniperSavedStage_ < 0) {
            const int lowest = LowestStage(r[kStageFlags]);
            if (lowest >= 0) {
                sniperSavedStage_ = r[kCpiStep];
                sniperProfile_ = Active();
                merge(StageChange(lowest));
            }
        } else if (!press && sniperSavedStage_ >= 0) {
            const int saved = sniperSavedStage_;
            sniperSavedStage_ = -1;
            if (sniperProfile_ == Active()) {
                merge(StageChange(saved));
            } else {
                // The profile changed while held: put its stage back quietly,
                // the host only follows the active profile's stage.
                flash_.performance[sniperProfile_][kCpiStep] = uint8_t(saved);
            }
        }
    } else if (!press) {
        // The remaining functions act on the press only.
    } else if (type == 9 || type == 10) {
        // The host scrolls left for 255 and right for 1.
        out.events.push_back({kTiltEvent, uint16_t(type == 9 ? 255 : 1)});
    } else if (type == 23) {
        out.events.push_back({kOpenSettingsEvent, 1});
    } else if (type >= 13 && type <= 15) {
        const uint8_t* r = Performance();
        const int stage = r[kCpiStep];
        const int next = type == 13   ? CycleStage(r[kStageFlags], stage)
                         : type == 14 ? StageUp(r[kStageFlags], stage)
                                      : StageDown(r[kStageFlags], stage);
        if (next >= 0)
            merge(StageChange(next));
    } else if (type >= 18 && type <= 20) {
        const uint8_t* r = Performance();
        const int step = type == 18 ? 1 : -1;
        merge(type == 20 ? SensitivityChange(kSensDefault, kSensDefault)
                         : SensitivityChange(r[kSensX] + step, r[kSensY] + step));
    } else if (type == 21) {
        const int next = (Active() + 1) % kProfiles;
        flash_.activeProfile = uint8_t(next);
        out.events.push_back({kProfileEvent, uint16_t(next + 1)});
        out.action += ", profile " + std::to_string(next + 1);
    } else if (type == 22) {
        uint8_t* r = Performance();
        const int next = r[kPolling] + 1 < kPollingRates ? r[kPolling] + 1 : 0;
        r[kPolling] = uint8_t(next);
        out.events.push_back({kPollingEvent, uint16_t(next + 1)});
        out.action += ", rate " + std::to_string(next);
    }
    return out;
}

Outcome Firmware::StageChange(int stage) {
    uint8_t* r = Performance();
    if (r[kCpiStep] == stage)
        return {{}, "stage " + std::to_string(stage + 1) + " kept"};
    r[kCpiStep] = uint8_t(stage);
    return {{{kStageEvent, uint16_t(stage + 1)}}, "stage " + std::to_string(stage + 1)};
}

Outcome Firmware::SensitivityChange(int x, int y) {
    uint8_t* r = Performance();
    x = std::clamp(x, kSensMin, kSensMax);
    y = std::clamp(y, kSensMin, kSensMax);
    const std::string text = "sensitivity " + std::to_string(x) + "/" + std::to_string(y);
    if (r[kSensX] == x && r[kSensY] == y)
        return {{}, text + " kept"};
    r[kSensX] = uint8_t(x);
    r[kSensY] = uint8_t(y);
    return {{{kSensitivityEvent, uint16_t(y << 8 | x)}}, text};
}

Outcome Firmware::SwitchProfile(int profile) {
    if (profile < 0 || profile >= kProfiles)
        return {};
    if (!plugged_)
        return {{}, "profile button: ignored, unplugged"};
    // Reported even when it is already active, as the mouse does.
    flash_.activeProfile = uint8_t(profile);
    return {{{kProfileEvent, uint16_t(profile + 1)}},
            "profile button: profile " + std::to_string(profile + 1)};
}

// ---------------------------------------------------------------------------
// Flash image: the magic, then every field in a fixed order, so the image
// does not depend on the compiler's layout of Flash.

std::vector<uint8_t> Firmware::SaveFlash() const {
    std::vector<uint8_t> image;
    image.reserve(kImageSize);
    auto put = [&image](const void* p, std::size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        image.insert(image.end(), b, b + n);
    };
    put(kMagic, sizeof kMagic);
    put(&flash_.activeProfile, 1);
    put(&flash_.firmwareVersion, 1);
    put(&flash_.mouseType, 1);
    put(&flash_.hostAttached, 1);
    put(flash_.performance, sizeof flash_.performance);
    put(flash_.buttons, sizeof flash_.buttons);
    put(flash_.macros, sizeof flash_.macros);
    put(flash_.otg, sizeof flash_.otg);
    return image;
}

bool Firmware::LoadFlash(const std::vector<uint8_t>& image) {
    if (image.size() != kImageSize || std::memcmp(image.data(), kMagic, sizeof kMagic) != 0)
        return false;
    std::size_t at = sizeof kMagic;
    auto get = [&image, &at](void* p, std::size_t n) {
        std::memcpy(p, image.data() + at, n);
        at += n;
    };
    Flash f;
    get(&f.activeProfile, 1);
    get(&f.firmwareVersion, 1);
    get(&f.mouseType, 1);
    get(&f.hostAttached, 1);
    get(f.performance, sizeof f.performance);
    get(f.buttons, sizeof f.buttons);
    get(f.macros, sizeof f.macros);
    get(f.otg, sizeof f.otg);
    if (f.activeProfile >= kProfiles)
        return false; // would index past the profiles
    flash_ = f;
    ClearHeld();
    return true;
}

// ---------------------------------------------------------------------------
// Current values and the summary

int Firmware::ActiveStage() const {
    return Performance()[kCpiStep];
}
int Firmware::SensitivityX() const {
    return Performance()[kSensX];
}
int Firmware::SensitivityY() const {
    return Performance()[kSensY];
}
int Firmware::PollingRate() const {
    return Performance()[kPolling];
}

uint8_t Firmware::FunctionOf(int button) const {
    if (button < 1 || button > kButtons)
        return 0;
    return flash_.buttons[Active()][3 + 3 * (button - 1)];
}

std::string Firmware::Dump() const {
    // Profiles and stages are numbered from 1, as the host shows them.
    const int v = flash_.firmwareVersion;
    std::string s = "active profile " + std::to_string(Active() + 1) + ", firmware " +
                    std::to_string(v / 100) + "." + (v % 100 < 10 ? "0" : "") +
                    std::to_string(v % 100) + ", mouse type " + std::to_string(flash_.mouseType) +
                    ", host attached " + std::to_string(flash_.hostAttached) + "\n";
    for (int p = 0; p < kProfiles; ++p) {
        const uint8_t* r = flash_.performance[p];
        s += "profile " + std::to_string(p + 1) + (p == Active() ? " (active)" : "") +
             ": sensitivity " + std::to_string(r[kSensX]) + "/" + std::to_string(r[kSensY]) +
             ", stage " + std::to_string(r[kCpiStep] + 1) + ", enabled stages";
        for (int st = 0; st < kStages; ++st)
            if (StageEnabled(r[kStageFlags], st))
                s += " " + std::to_string(st + 1);
        s += ", levels";
        for (int st = 0; st < kStages; ++st)
            s += " " + std::to_string(r[kLevelsX + st]);
        s += ", polling " + std::to_string(r[kPolling]) + ", OTG " + std::to_string(flash_.otg[p]) +
             "\n  buttons";
        for (int b = 0; b < kButtons; ++b)
            s += " " + std::to_string(flash_.buttons[p][3 + 3 * b]);
        s += "\n";
        for (int b = 0; b < kButtons; ++b) {
            const uint8_t* m = flash_.macros[p][b];
            if (!HasMacro(m))
                continue;
            s += "  macro button " + std::to_string(b + 1) + ": \"" + MacroName(m) + "\", " +
                 std::to_string(m[kMacroItems]) + " items, repeat " +
                 std::to_string(m[kMacroRepeat]) + "\n";
        }
    }
    return s;
}

} // namespace gm::emu
