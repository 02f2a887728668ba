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

ProfileView Page::CurrentProfile() { return host_.Working().Profile(CurrentIndex()); }

} // namespace gm::option
