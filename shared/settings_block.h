#pragma once
// The settings block: one fixed binary layout shared by the monitor, the
// configuration program and the shared memory between them. It is kept as a
// byte image with named offsets so its layout never depends on the compiler.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gm {

static_assert(std::endian::native == std::endian::little, "the block is little-endian");

inline constexpr std::size_t kBlockSize = 39936;
inline constexpr int kProfileCount = 5;
inline constexpr int kButtonCount = 15;
inline constexpr std::size_t kProfileSize = 7916;
inline constexpr std::size_t kButtonSize = 464;
inline constexpr int kMaxEvents = 40;
inline constexpr int kStageCount = 6;   // stages held in the block
inline constexpr int kStoredStages = 5; // stages kept in files and sent to the mouse

// Typed field descriptors: an offset plus the width that goes with it.
struct I32Field {
    std::size_t offset;
};
struct U16Field {
    std::size_t offset;
};
struct U8Field {
    std::size_t offset;
};
struct TextField {
    std::size_t offset;
    std::size_t width; // including the terminating NUL
};

// Offsets from the start of the block.
namespace blk {
inline constexpr I32Field CurrentProfile{0};
inline constexpr std::size_t Profiles = 4;
inline constexpr I32Field MouseType{39584};
inline constexpr I32Field MouseColor{39588};
inline constexpr std::size_t ButtonChangeFlags = 39592;      // 75 x int32, index 15*p + b
inline constexpr std::size_t PerformanceChangeFlags = 39892; // 5 x int32
inline constexpr std::size_t OTGChangeFlags = 39912;         // 5 x int32
inline constexpr I32Field CurrentProfileChangeFlag{39932};
inline constexpr int FlagWords = 86;
} // namespace blk

static_assert(blk::Profiles + kProfileCount * kProfileSize == blk::MouseType.offset);
static_assert(blk::MouseColor.offset == blk::MouseType.offset + 4);
static_assert(blk::ButtonChangeFlags == blk::MouseColor.offset + 4);
static_assert(blk::PerformanceChangeFlags == blk::ButtonChangeFlags + 75 * 4);
static_assert(blk::OTGChangeFlags == blk::PerformanceChangeFlags + 5 * 4);
static_assert(blk::CurrentProfileChangeFlag.offset == blk::OTGChangeFlags + 5 * 4);
static_assert(blk::CurrentProfileChangeFlag.offset + 4 == kBlockSize);
static_assert(blk::FlagWords * 4 == kBlockSize - blk::ButtonChangeFlags);

// Offsets from the start of a profile record.
namespace prof {
inline constexpr TextField ProFileName{0, 250};
inline constexpr TextField GameFile{250, 502};
inline constexpr I32Field DbleClickSpeed{752};
inline constexpr I32Field ScrollWheelSpeed{756};
inline constexpr I32Field ScrollWheelFlag{760};
inline constexpr I32Field MouseSpeed{764};
inline constexpr I32Field Acceleration{768};
inline constexpr I32Field AccelerationFlag{772};
inline constexpr I32Field TiltSpeed{776};
inline constexpr I32Field MediaOption{780};
inline constexpr I32Field HDDKeyboard{784};
inline constexpr I32Field Orientation{788};
inline constexpr I32Field XYSynchronous{792};
inline constexpr I32Field Sensitivity_X{796};
inline constexpr I32Field Sensitivity_Y{800};
inline constexpr I32Field Cpi_X{804};
inline constexpr I32Field Cpi_Y{808};
inline constexpr I32Field XYCpiFlag{812};
inline constexpr std::size_t CpiLevel_X = 816; // 6 x int32
inline constexpr std::size_t CpiLevel_Y = 840; // 6 x int32
inline constexpr I32Field CpiStep{864};
inline constexpr I32Field PollingRate{868};
inline constexpr I32Field LiftSwitch{872};
inline constexpr I32Field LiftLevel{876};
inline constexpr I32Field LightSwitch{880};
inline constexpr I32Field LightType{884};
inline constexpr I32Field LightIntensity{888};
inline constexpr I32Field BreathSpeed{892};
inline constexpr I32Field ColorFlag{896};
inline constexpr I32Field ColorOptions{900};
inline constexpr I32Field ColorChangeMode{904};
inline constexpr I32Field BTOption{908};
inline constexpr I32Field OTGSpeed{912};
inline constexpr std::size_t dpiStepFlag = 916;       // 6 x uint8
inline constexpr std::size_t dpibyDpiIndicator = 922; // 6 x uint8
inline constexpr U8Field DpiIndicationType{928};      // then 3 padding bytes
inline constexpr I32Field CpiXDefault{932};
inline constexpr I32Field CpiYDefault{936};
inline constexpr U8Field BtnConfiguration{940};
inline constexpr U8Field Color1Type{941};
inline constexpr U8Field Color2Type{942};
inline constexpr U8Field LightEffectSwitch1{943};
inline constexpr U8Field LightEffectSwitch2{944};
inline constexpr U8Field LightEffectType1{945};
inline constexpr U8Field LightEffectType2{946};
inline constexpr U8Field ColorOptions1{947};
inline constexpr U8Field ColorOptions2{948};
inline constexpr U8Field ColorChangeModeOptions1{949};
inline constexpr U8Field ColorChangeModeOptions2{950};
inline constexpr U8Field FireOrOnToGoStatusIndicatorSetting{951};
inline constexpr U8Field ProfileSwitchIndictor{952}; // then 3 padding bytes
inline constexpr std::size_t MacroKeyInfo = 956;     // 15 x 464

constexpr I32Field CpiLevelX(int stage) {
    return {CpiLevel_X + 4 * std::size_t(stage)};
}
constexpr I32Field CpiLevelY(int stage) {
    return {CpiLevel_Y + 4 * std::size_t(stage)};
}
constexpr U8Field StepFlag(int stage) {
    return {dpiStepFlag + std::size_t(stage)};
}
constexpr U8Field Indicator(int stage) {
    return {dpibyDpiIndicator + std::size_t(stage)};
}
} // namespace prof

static_assert(prof::GameFile.offset == prof::ProFileName.offset + prof::ProFileName.width);
static_assert(prof::DbleClickSpeed.offset == prof::GameFile.offset + prof::GameFile.width);
static_assert(prof::CpiLevel_X == prof::XYCpiFlag.offset + 4);
static_assert(prof::CpiLevel_Y == prof::CpiLevel_X + 4 * kStageCount);
static_assert(prof::CpiStep.offset == prof::CpiLevel_Y + 4 * kStageCount);
static_assert(prof::OTGSpeed.offset == prof::CpiStep.offset + 12 * 4);
static_assert(prof::dpiStepFlag == prof::OTGSpeed.offset + 4);
static_assert(prof::dpibyDpiIndicator == prof::dpiStepFlag + kStageCount);
static_assert(prof::DpiIndicationType.offset == prof::dpibyDpiIndicator + kStageCount);
static_assert(prof::CpiXDefault.offset == prof::DpiIndicationType.offset + 4);
static_assert(prof::BtnConfiguration.offset == prof::CpiYDefault.offset + 4);
static_assert(prof::ProfileSwitchIndictor.offset == prof::BtnConfiguration.offset + 12);
static_assert(prof::MacroKeyInfo == prof::ProfileSwitchIndictor.offset + 4);
static_assert(prof::MacroKeyInfo + kButtonCount * kButtonSize == kProfileSize);

// Offsets from the start of a button record.
namespace btn {
inline constexpr U8Field ButtonIndex{0};
inline constexpr U8Field FunctionType{1};
inline constexpr TextField MacroName{8, 25}; // 24 characters, byte 32 always NUL
inline constexpr I32Field RepeatCount{36};
inline constexpr U16Field EventCount{40};
inline constexpr std::size_t Events = 42; // 40 x {KeyCode, Direction, Delay(uint16)}
inline constexpr std::size_t EventSize = 4;
inline constexpr TextField ProgramPath{202, 262};
// A key-with-modifiers record reuses the first event slot.
inline constexpr U8Field KeyUsage{42};
inline constexpr U8Field KeyModifiers{43};
} // namespace btn

static_assert(btn::Events + kMaxEvents * btn::EventSize == btn::ProgramPath.offset);
static_assert(btn::ProgramPath.offset + btn::ProgramPath.width == kButtonSize);

// Function codes the monitor acts on, and the defaults of fresh records.
namespace fn {
inline constexpr int Key = 5;
inline constexpr int Macro = 16;
inline constexpr int RunProgram = 17;
inline constexpr int MediaFirst = 25;
inline constexpr int MediaLast = 32;
inline constexpr int CtrlShortcutFirst = 53;
inline constexpr int CtrlShortcutLast = 60;
} // namespace fn
inline constexpr std::array<uint8_t, kButtonCount> kDefaultFunctionType = {1, 2, 3, 8, 7, 13, 21, 0,
                                                                           0, 0, 0, 0, 0, 9,  10};

enum class Direction : uint8_t { Press = 1, Release = 2 };

struct MacroEvent {
    uint8_t keyCode;
    uint8_t direction;
    uint16_t delay; // pause before the next event (the last slot's: before event 0)
};

// A window onto a fixed-size record inside a byte image. Reads and writes go
// through memcpy, so nothing depends on alignment.
class RecordView {
  public:
    RecordView(uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    int32_t Get(I32Field f) const;
    void Set(I32Field f, int32_t v);
    uint16_t Get(U16Field f) const;
    void Set(U16Field f, uint16_t v);
    uint8_t Get(U8Field f) const { return data_[f.offset]; }
    void Set(U8Field f, uint8_t v) { data_[f.offset] = v; }
    // The text up to its NUL, never past the field.
    std::string Get(TextField f) const;
    // Stores at most width-1 characters and NUL-fills the rest of the field.
    void Set(TextField f, std::string_view text);

    uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

  protected:
    uint8_t* data_;
    std::size_t size_;
};

class ButtonView : public RecordView {
  public:
    explicit ButtonView(uint8_t* data) : RecordView(data, kButtonSize) {}
    MacroEvent Event(int slot) const;
    void SetEvent(int slot, MacroEvent e);
    // Zero, then the record's own index and the button's default function.
    void MakeFresh(int buttonIndex);
    void ClampEventCount();
};

enum class LevelSet { Monitor, Option };

class ProfileView : public RecordView {
  public:
    explicit ProfileView(uint8_t* data) : RecordView(data, kProfileSize) {}
    ButtonView Button(int b) const {
        return ButtonView(data_ + prof::MacroKeyInfo + kButtonSize * b);
    }
    // The factory defaults of profile `index`; the two programs differ only in
    // the default resolution levels.
    void MakeDefault(int index, LevelSet levels);
};

class SettingsBlock {
  public:
    SettingsBlock() { bytes_.fill(0); }

    uint8_t* data() { return bytes_.data(); }
    const uint8_t* data() const { return bytes_.data(); }
    static constexpr std::size_t size() { return kBlockSize; }

    int32_t CurrentProfile() const { return View().Get(blk::CurrentProfile); }
    void SetCurrentProfile(int32_t p) { View().Set(blk::CurrentProfile, p); }
    bool HasCurrentProfile() const { return IsProfileIndex(CurrentProfile()); }
    int32_t MouseType() const { return View().Get(blk::MouseType); }
    void SetMouseType(int32_t v) { View().Set(blk::MouseType, v); }
    int32_t MouseColor() const { return View().Get(blk::MouseColor); }
    void SetMouseColor(int32_t v) { View().Set(blk::MouseColor, v); }

    ProfileView Profile(int p) {
        return ProfileView(bytes_.data() + blk::Profiles + kProfileSize * p);
    }
    ProfileView Profile(int p) const {
        return ProfileView(const_cast<uint8_t*>(bytes_.data()) + blk::Profiles + kProfileSize * p);
    }

    int32_t ButtonChangeFlag(int p, int b) const {
        return View().Get(I32Field{blk::ButtonChangeFlags + 4 * std::size_t(15 * p + b)});
    }
    void SetButtonChangeFlag(int p, int b, int32_t v) {
        View().Set(I32Field{blk::ButtonChangeFlags + 4 * std::size_t(15 * p + b)}, v);
    }
    int32_t PerformanceChangeFlag(int p) const {
        return View().Get(I32Field{blk::PerformanceChangeFlags + 4 * std::size_t(p)});
    }
    void SetPerformanceChangeFlag(int p, int32_t v) {
        View().Set(I32Field{blk::PerformanceChangeFlags + 4 * std::size_t(p)}, v);
    }
    int32_t OTGChangeFlag(int p) const {
        return View().Get(I32Field{blk::OTGChangeFlags + 4 * std::size_t(p)});
    }
    void SetOTGChangeFlag(int p, int32_t v) {
        View().Set(I32Field{blk::OTGChangeFlags + 4 * std::size_t(p)}, v);
    }
    int32_t CurrentProfileChangeFlag() const { return View().Get(blk::CurrentProfileChangeFlag); }
    void SetCurrentProfileChangeFlag(int32_t v) { View().Set(blk::CurrentProfileChangeFlag, v); }

    // CurrentProfile -1, MouseType 0, every profile and change flag zero;
    // MouseColor keeps its value.
    void Reset();
    // Every one of the 86 change-flag words set to `value`.
    void SetAllFlags(int32_t value);

    static constexpr bool IsProfileIndex(int32_t p) { return p >= 0 && p < kProfileCount; }

    bool operator==(const SettingsBlock& o) const { return bytes_ == o.bytes_; }

  private:
    RecordView View() const { return RecordView(const_cast<uint8_t*>(bytes_.data()), kBlockSize); }
    std::array<uint8_t, kBlockSize> bytes_;
};

} // namespace gm
