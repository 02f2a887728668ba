#include "option/pages/page.h"

namespace gm::option {

bool Page::CreatePage(HWND parent) {
    return Create(host_.SkinFolder(), SkinFile(), Kind::Page, WS_CHILD | WS_CLIPCHILDREN, parent,
                  WS_EX_CONTROLPARENT);
}

int Page::CurrentIndex() {
    const int p = host_.Working().CurrentProfile();
    return SettingsBlock::IsProfileIndex(p) ? p : 0;
}

LRESULT Page::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_COMMAND:
        if (lp)
            OnCommand(reinterpret_cast<HWND>(lp));
        break;
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_ESCAPE)
            return 0;
        break;
    default:
        break;
    }
    return SkinWindow::OnMessage(msg, wp, lp);
}

ProfileView Page::CurrentProfile() { return host_.Working().Profile(CurrentIndex()); }

} // namespace gm::option
