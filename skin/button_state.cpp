#include "skin/button_state.h"

namespace gm::skin {

ButtonImage ChooseButtonImage(const ButtonLook& s) {
    if (s.toggle) {
        if (s.disabled)
            return ButtonImage::Disabled;
        if (s.latched)
            return ButtonImage::Pressed;
        if (s.hover)
            return ButtonImage::Hover;
        return ButtonImage::Rest;
    }
    if (s.latched && !s.disabled)
        return ButtonImage::Pressed;
    if (s.selected)
        return ButtonImage::Pressed;
    if (s.hover)
        return ButtonImage::Hover;
    if (s.disabled)
        return ButtonImage::Disabled;
    return ButtonImage::Rest;
}

} // namespace gm::skin
