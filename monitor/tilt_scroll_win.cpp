#include "monitor/tilt_scroll_win.h"

#include "monitor/input_injector_win.h"
#include "monitor/tilt_rules.h"

#include <windows.h>

#include <string>

namespace gm::mon {
namespace {

std::string ClassOf(HWND w) {
    char name[128] = {};
    const int n = ::GetClassNameA(w, name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

bool Qualifies(HWND w, POINT cursor) {
    RECT r{};
    ::GetWindowRect(w, &r);
    const std::string cls = ClassOf(w);
    const bool hscroll = (::GetWindowLongPtrA(w, GWL_STYLE) & WS_HSCROLL) != 0;
    return QualifiesForHScroll({cls, hscroll, int(r.left), int(r.top), int(r.right), int(r.bottom)},
                               cursor.x);
}

// A sibling holding a horizontal bar inside: its first child is a plain
// "ScrollBar" without the vertical or size-box style.
HWND AcrobatBar(HWND s) {
    if (ClassOf(s) != "AVL_AVScrollBar")
        return nullptr;
    HWND c = ::GetWindow(s, GW_CHILD);
    if (!c || ClassOf(c) != "ScrollBar")
        return nullptr;
    const LONG_PTR style = ::GetWindowLongPtrA(c, GWL_STYLE);
    return (style & (SBS_VERT | SBS_SIZEBOX)) ? nullptr : c;
}

HWND SearchInto(HWND container, POINT cursor);

HWND SiblingSearch(HWND s, POINT cursor) {
    for (HWND n = ::GetWindow(s, GW_HWNDNEXT); n; n = ::GetWindow(n, GW_HWNDNEXT)) {
        if (HWND bar = AcrobatBar(n))
            return bar;
        if (IsScrollBarClass(ClassOf(n)) && Qualifies(n, cursor))
            return n;
    }
    for (HWND p = ::GetWindow(s, GW_HWNDPREV); p; p = ::GetWindow(p, GW_HWNDPREV)) {
        if (HWND bar = AcrobatBar(p))
            return bar;
        const std::string cls = ClassOf(p);
        if (cls == "ScrollBar" && Qualifies(p, cursor))
            return p;
        if (IsContainerClass(cls))
            if (HWND hit = SearchInto(p, cursor))
                return hit;
    }
    return nullptr;
}

HWND SearchInto(HWND container, POINT cursor) {
    HWND first = ::GetWindow(container, GW_CHILD);
    if (!first)
        return nullptr;
    if (Qualifies(first, cursor))
        return first;
    return SiblingSearch(first, cursor);
}

HWND FindHorizontalTarget(HWND w, POINT cursor) {
    POINT client = cursor;
    ::ScreenToClient(w, &client);
    HWND c = ::ChildWindowFromPoint(w, client);
    if (!c)
        c = w;
    const std::string cls = ClassOf(c);
    HWND target = nullptr;
    if (cls == "MozillaWindowClass")
        target = ::GetParent(c);
    else if (Qualifies(c, cursor))
        target = c;
    if (!target && cls != "ScrollBar") {
        target = SearchInto(c, cursor);
        if (!target)
            target = SiblingSearch(c, cursor);
    }
    if (!target && (cls == "paneClassDC" || cls == "VISIOG")) {
        RECT own{};
        ::GetWindowRect(c, &own);
        for (HWND s = ::GetWindow(::GetParent(c), GW_CHILD); s && !target;
             s = ::GetWindow(s, GW_HWNDNEXT)) {
            if (!IsScrollBarClass(ClassOf(s)) || !Qualifies(s, cursor))
                continue;
            RECT r{};
            ::GetWindowRect(s, &r);
            if (r.left >= own.left - 25 && r.right <= own.right + 25)
                target = s;
        }
    }
    return target;
}

bool IsDesktopIconView(HWND w) {
    if (ClassOf(w) != "SysListView32")
        return false;
    for (HWND a = ::GetParent(w); a; a = ::GetParent(a))
        if (ClassOf(a) == "Progman")
            return true;
    return false;
}

} // namespace

void TiltStep(int direction, int speed) {
    POINT cursor;
    if (!::GetCursorPos(&cursor))
        return;
    HWND w = ::WindowFromPoint(cursor);
    if (!w || w == ::GetDesktopWindow() || IsDesktopIconView(w))
        return;
    const TiltMethod method = MethodForClass(ClassOf(w));
    HWND target = FindHorizontalTarget(w, cursor);
    if (!target)
        return;
    const WPARAM code = WPARAM(ScrollCode(direction));
    speed = TiltRepeats(speed);
    switch (method) {
    case TiltMethod::ScrollBarMessage:
        for (int i = 0; i < speed; ++i)
            ::PostMessageA(::GetParent(target), WM_HSCROLL, code, LPARAM(target));
        break;
    case TiltMethod::WindowMessage:
        for (int i = 0; i < speed; ++i)
            ::PostMessageA(w, WM_HSCROLL, code, 0);
        break;
    case TiltMethod::ArrowKeys: {
        const ArrowKey k = ArrowKeyFor(direction);
        for (int i = 0; i < speed; ++i) {
            ::PostMessageA(target, WM_KEYDOWN, WPARAM(k.vk), LPARAM(k.downParam));
            ::PostMessageA(target, WM_KEYUP, WPARAM(k.vk), LPARAM(k.upParam));
        }
        break;
    }
    case TiltMethod::ArrowClick: {
        RECT r{};
        ::GetWindowRect(target, &r);
        ::SetCursorPos(direction > 0 ? r.left + 5 : r.right - 5, r.top + 5);
        for (int i = 0; i < speed; ++i)
            InjectPrimaryClick();
        ::SetCursorPos(cursor.x, cursor.y);
        break;
    }
    }
}

} // namespace gm::mon
