#include "option/pages/system_page_win.h"

#include "option/pages/reset_command_win.h"
#include "option/pages/system_logic.h"
#include "skin/skin_messages_win.h"

namespace gm::option {
namespace {
constexpr int kAccelerationSlot = 2, kPageScrollSlot = 4, kFirstMarkSlot = 10, kDoubleClickSlot = 5,
              kPointerSpeedSlot = 6, kTiltSpeedSlot = 7, kWheelSpeedSlot = 8, kResetSlot = 9;
}

void SystemPage::CreateSlider(skin::CclickHSlider& slider, const skin::WindowSkin& skin, int slot,
                              int id, const skin::SliderRange& range) {
    const skin::ControlRecord r = skin.Record(slot);
    // Without its thumb image the slider is left out and its field keeps its value.
    if (!slider.Create(host().SkinFolder() + "scroll_arrow_down.bmp",
                       RECT{r.left, r.top, r.right, r.bottom}, hwnd(), id))
        return;
    slider.SetHoverText(r.text);
    slider.SetPos(0);
    slider.SetTrackImage(r.left, r.top, r.right, r.bottom, skin.background());
    slider.SetRange(range.minimum, range.maximum);
    slider.SetRound(range.round);
}

void SystemPage::CreateControls(skin::WindowSkin& skin) {
    const skin::SkinSheets& sheets = skin.sheets();
    acceleration_.Create(skin.Record(kAccelerationSlot), sheets, hwnd());
    pageScroll_.Create(skin.Record(kPageScrollSlot), sheets, hwnd());
    for (int i = 0; i < 2; ++i)
        marks_[std::size_t(i)].Create(skin.Record(kFirstMarkSlot + i), sheets, hwnd());
    for (auto* toggle : {&acceleration_, &pageScroll_, &marks_[0], &marks_[1]})
        toggle->SetToggle(true);
    CreateSlider(doubleClick_, skin, kDoubleClickSlot, kDoubleClickSliderId, kDoubleClickRange);
    CreateSlider(pointerSpeed_, skin, kPointerSpeedSlot, kPointerSpeedSliderId, kPointerSpeedRange);
    CreateSlider(tiltSpeed_, skin, kTiltSpeedSlot, kTiltSpeedSliderId, kTiltSpeedRange);
    CreateSlider(wheelSpeed_, skin, kWheelSpeedSlot, kWheelSpeedSliderId, kWheelSpeedRange);
    reset_.Create(skin.Record(kResetSlot), sheets, hwnd());
}

void SystemPage::Refresh() {
    // Showing a profile never touches the Windows double-click time.
    const ProfileView p = CurrentProfile();
    const SystemPositions shown = SystemPositionsOf(p);
    doubleClick_.SetPos(shown.doubleClick);
    pointerSpeed_.SetPos(shown.pointerSpeed);
    wheelSpeed_.SetPos(shown.wheelSpeed);
    tiltSpeed_.SetPos(shown.tiltSpeed);
    acceleration_.SetLatched(p.Get(prof::AccelerationFlag) != 0);
    pageScroll_.SetLatched(p.Get(prof::ScrollWheelFlag) != 0);
}

void SystemPage::OnSlider(int id, int32_t position) {
    if (const auto doubleClickTime = MoveSystemSlider(CurrentProfile(), id, position))
        ::SetDoubleClickTime(UINT(*doubleClickTime));
}

void SystemPage::OnCommand(HWND from) {
    if (!from)
        return;
    if (from == pageScroll_.hwnd())
        SetPageScroll(CurrentProfile(), pageScroll_.latched());
    else if (from == acceleration_.hwnd())
        SetAcceleration(CurrentProfile(), acceleration_.latched());
    else if (from == reset_.hwnd())
        RunResetCommand(host(), hwnd(), false);
}

LRESULT SystemPage::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case skin::UM_SLIDER_POS:
        OnSlider(int(lp), int32_t(wp));
        return 0;
    default:
        break;
    }
    return Page::OnMessage(msg, wp, lp);
}

} // namespace gm::option
