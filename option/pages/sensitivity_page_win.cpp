#include "option/pages/sensitivity_page_win.h"

#include "option/pages/sensitivity_logic.h"
#include "option/widgets/widget_messages.h"
#include "skin/skin_messages_win.h"

namespace gm::option {
namespace {

constexpr int kXYSlot = 2, kSliderXSlot = 3, kSliderYSlot = 4, kFirstStageSlot = 5,
              kFirstSwatchSlot = 11;

COLORREF ToColorref(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

} // namespace

void SensitivityPage::CreateSlider(skin::CclickHSlider& slider, const skin::WindowSkin& skin,
                                   int slot, const char* thumb, int id) {
    const skin::ControlRecord r = skin.Record(slot);
    // Without its thumb image the slider is left out; the page works without it.
    if (!slider.Create(host().SkinFolder() + thumb, RECT{r.left, r.top, r.right, r.bottom}, hwnd(),
                       id))
        return;
    slider.SetHoverText(r.text);
    slider.SetPos(0);
    slider.SetTrackImage(r.left, r.top, r.right, r.bottom, skin.background());
    slider.SetRange(kSensitivityPositionMin, kSensitivityPositionMax);
    slider.SetRound(true);
}

void SensitivityPage::CreateControls(skin::WindowSkin& skin) {
    const skin::SkinSheets& sheets = skin.sheets();
    xyButton_.Create(skin.Record(kXYSlot), sheets, hwnd());
    xyButton_.SetToggle(true);
    CreateSlider(sliderX_, skin, kSliderXSlot, "scroll_arrow_up.bmp", kSliderXId);
    CreateSlider(sliderY_, skin, kSliderYSlot, "scroll_arrow_down2.bmp", kSliderYId);
    for (int i = 0; i < kStageCount; ++i) {
        const skin::ControlRecord r = skin.Record(kFirstStageSlot + i);
        StageControl& stage = stages_[std::size_t(i)];
        if (!stage.Create(RECT{r.left, r.top, r.right, r.bottom}, hwnd(), kFirstStageId + i,
                          host().SkinFolder()))
            continue;
        // Stages have no disabled look of their own.
        stage.SetImages(r.left, r.top, r.right, r.bottom, sheets.normal.get(), sheets.over.get(),
                        sheets.down.get(), sheets.normal.get());
    }
    for (int i = 0; i < kIndicatorSwatches; ++i)
        swatches_[std::size_t(i)].Create(skin.Record(kFirstSwatchSlot + i), sheets, hwnd());
    if (chooser_.Create(host().SkinFolder(), hwnd()))
        chooser_.Hide();
    ColorChooser::SetReceiver(hwnd());
}

void SensitivityPage::ShowSelection() {
    const int32_t step = CurrentProfile().Get(prof::CpiStep);
    for (int i = 0; i < kStageCount; ++i)
        stages_[std::size_t(i)].SetSelected(i == step);
}

void SensitivityPage::Refresh() {
    const ProfileView p = CurrentProfile();
    xyButton_.SetLatched(p.Get(prof::XYSynchronous) != 0);
    sliderX_.SetPos(PositionForSensitivity(p.Get(prof::Sensitivity_X)));
    sliderY_.SetPos(PositionForSensitivity(p.Get(prof::Sensitivity_Y)));
    for (int i = 0; i < kStageCount; ++i) {
        StageControl& stage = stages_[std::size_t(i)];
        stage.SetValue(p.Get(prof::CpiLevelX(i)));
        stage.SetEnabled(p.Get(prof::StepFlag(i)) != 0);
    }
    ShowSelection();
    for (int i = 0; i < kIndicatorSwatches; ++i)
        swatches_[std::size_t(i)].SetColor(ToColorref(IndicatorColour(p.Get(prof::Indicator(i)))));
}

void SensitivityPage::OnSlider(int id, int32_t position) {
    const auto other = MoveSensitivity(CurrentProfile(), id, position);
    if (other)
        (*other == kSliderXId ? sliderX_ : sliderY_).SetPos(position);
}

void SensitivityPage::OnStageNotice(int id, uint32_t wParam) {
    if (ApplyStageNotice(CurrentProfile(), id, wParam) == StageEdit::Selected)
        ShowSelection();
}

void SensitivityPage::OnColorChosen(int cell) {
    if (StoreIndicatorCell(CurrentProfile(), colorTarget_, cell))
        Refresh();
}

void SensitivityPage::OpenChooser(int swatch) {
    colorTarget_ = swatch;
    RECT r{};
    ::GetWindowRect(swatches_[std::size_t(swatch)].hwnd(), &r);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    POINT corner{r.left + 3, r.top - 25};
    ::ClientToScreen(hwnd(), &corner);
    chooser_.ShowAt(corner);
}

void SensitivityPage::OnCommand(HWND from) {
    if (!from)
        return;
    if (from == xyButton_.hwnd()) {
        ProfileView p = CurrentProfile();
        if (SetXYSynchronous(p, xyButton_.latched())) {
            const int32_t position = PositionForSensitivity(p.Get(prof::Sensitivity_X));
            sliderX_.SetPos(position);
            sliderY_.SetPos(position);
        }
        return;
    }
    for (int i = 0; i < kIndicatorSwatches; ++i)
        if (from == swatches_[std::size_t(i)].hwnd()) {
            OpenChooser(i);
            return;
        }
}

LRESULT SensitivityPage::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case skin::UM_SLIDER_POS:
        OnSlider(int(lp), int32_t(wp));
        return 0;
    case UM_STAGE_CHANGED:
        OnStageNotice(int(lp), uint32_t(wp));
        return 0;
    case UM_COLOR_CHOSEN:
        OnColorChosen(int(lp));
        return 0;
    case WM_DESTROY:
        if (ColorChooser::Receiver() == hwnd())
            ColorChooser::SetReceiver(nullptr);
        break;
    default:
        break;
    }
    return Page::OnMessage(msg, wp, lp);
}

} // namespace gm::option
