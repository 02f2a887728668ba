#pragma once
// Which of its four images an image button shows.

namespace gm::skin {

enum class ButtonImage { Rest, Hover, Pressed, Disabled };

struct ButtonLook {
    bool toggle = false; // latches like a check box
    bool latched = false;
    bool hover = false;
    bool disabled = false; // item state of the draw request
    bool selected = false; // pressed right now
};

ButtonImage ChooseButtonImage(const ButtonLook& look);

} // namespace gm::skin
