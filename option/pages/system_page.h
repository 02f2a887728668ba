#pragma once
#include "option/pages/page.h"

namespace gm::option {

class SystemPage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_system_page.ini"; }
};

} // namespace gm::option
