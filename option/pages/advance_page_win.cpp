#include "option/pages/advance_page_win.h"

#include "option/pages/reset_command_win.h"
#include "skin/skin_messages_win.h"

namespace gm::option {
namespace {
constexpr int kFirstPollingSlot = 2, kDefaultsSlot = 17, kOtgSlot = 18;
}

void AdvancePage::CreateControls(skin::WindowSkin& skin) {
    for (int i = 0; i < kPollingButtons; ++i)
        polling_[std::size_t(i)].Create(skin.Record(kFirstPollingSlot + i), skin.sheets(), hwnd());
    defaults_.Create(skin.Record(kDefaultsSlot), skin.sheets(), hwnd());
    const skin::ControlRecord r = skin.Record(kOtgSlot);
    if (otg_.Create(host().SkinFolder() + "scroll_arrow_down.bmp",
                    RECT{r.left, r.top, r.right, r.bottom}, hwnd(), kOtgSliderId)) {
        otg_.SetHoverText(r.text);
        otg_.SetPos(0);
        otg_.SetTrackImage(r.left, r.top, r.right, r.bottom, skin.background());
        otg_.SetRange(kOtgRange.minimum, kOtgRange.maximum);
        otg_.SetRound(kOtgRange.round);
    }
}

void AdvancePage::ShowPolling() {
    const int32_t rate = CurrentProfile().Get(prof::PollingRate);
    for (int i = 0; i < kPollingButtons; ++i)
        polling_[std::size_t(i)].SetLatched(i == rate);
}

void AdvancePage::Refresh() {
    ShowPolling();
    otg_.SetPos(CurrentProfile().Get(prof::OTGSpeed));
}

void AdvancePage::OnCommand(HWND from) {
    if (!from)
        return;
    for (int i = 0; i < kPollingButtons; ++i)
        if (from == polling_[std::size_t(i)].hwnd()) {
            StorePollingRate(CurrentProfile(), i);
            ShowPolling();
            return;
        }
    if (from == defaults_.hwnd())
        RunResetCommand(host(), hwnd(), false);
}

LRESULT AdvancePage::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case skin::UM_SLIDER_POS:
        StoreOtgSpeed(CurrentProfile(), int(lp), int32_t(wp));
        return 0;
    default:
        break;
    }
    return Page::OnMessage(msg, wp, lp);
}

} // namespace gm::option
