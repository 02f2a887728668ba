#include "option/pages/page_win.h"

namespace gm::option {

bool Page::CreatePage(HWND parent) {
    return Create(host_.SkinFolder(), SkinFile(), Kind::Page, WS_CHILD | WS_CLIPCHILDREN, parent,
                  WS_EX_CONTROLPARENT);
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

ProfileView Page::CurrentProfile() {
    const int p = host_.Working().CurrentProfile();
    if (SettingsBlock::IsProfileIndex(p))
        return host_.Working().Profile(p);
    detached_.fill(0);
    return ProfileView(detached_.data());
}

} // namespace gm::option
