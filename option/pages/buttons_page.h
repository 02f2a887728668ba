#pragma once
#include "option/pages/page.h"

namespace gm::option {

class ButtonsPage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_button_page.ini"; }
};

} // namespace gm::option
