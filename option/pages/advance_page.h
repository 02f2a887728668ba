#pragma once
#include "option/pages/page.h"

namespace gm::option {

class AdvancePage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_advance_page.ini"; }
};

} // namespace gm::option
