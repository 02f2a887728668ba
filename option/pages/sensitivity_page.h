#pragma once
#include "option/pages/page.h"

namespace gm::option {

class SensitivityPage : public Page {
  public:
    using Page::Page;
    const char* SkinFile() const override { return "skin_sensitivity_page.ini"; }
};

} // namespace gm::option
