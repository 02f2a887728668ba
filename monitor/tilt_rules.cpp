#include "monitor/tilt_rules.h"

namespace gm::mon {

TiltMethod MethodForClass(std::string_view cls) {
    static constexpr std::string_view kBarMessage[] = {"_WwG",
                                                       "AVL_AVView",
                                                       "paneClassDC",
                                                       "VISIOG",
                                                       "PSViewC",
                                                       "EditControl",
                                                       "FrontPageEditorDocumentView",
                                                       "OGrid",
                                                       "OFormSub",
                                                       "OPrtPrevPage"};
    if (cls == "EXCEL7")
        return TiltMethod::ArrowClick;
    if (cls == "MozillaWindowClass")
        return TiltMethod::ArrowKeys;
    for (std::string_view c : kBarMessage)
        if (cls == c)
            return TiltMethod::ScrollBarMessage;
    return TiltMethod::WindowMessage;
}

bool IsScrollBarClass(std::string_view cls) {
    return cls == "ScrollBar" || cls == "NUIScrollbar";
}

bool IsContainerClass(std::string_view cls) {
    return cls == "AfxWnd70" || cls == "AfxWnd42";
}

bool QualifiesForHScroll(const WindowFacts& w, int cursorX) {
    if (w.cls == "Internet Explorer_Server")
        return true;
    if (IsScrollBarClass(w.cls))
        return (w.right - w.left) > (w.bottom - w.top) && cursorX < w.right;
    return w.hasHScroll;
}

int TiltRepeats(int tiltSpeed) {
    return tiltSpeed <= 0 ? 0 : tiltSpeed > kMaxTiltSpeed ? kMaxTiltSpeed : tiltSpeed;
}

ArrowKey ArrowKeyFor(int direction) {
    if (direction > 0)
        return {37, 0x014B0001u, 0xC14B0001u};
    return {39, 0x014D0001u, 0xC14D0001u};
}

} // namespace gm::mon
