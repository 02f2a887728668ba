#pragma once
#include "option/pages/page.h"

namespace gm::option {

class LightingPage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_color_page.ini"; }
};

} // namespace gm::option
