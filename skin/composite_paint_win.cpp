#include "skin/composite_paint_win.h"

#include "skin/late_windows_win.h"
#include "win/startup_marks.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace gm::skin {
namespace {

// The windows given a shape here. Asking the platform for the shape of every
// control would cost a round trip each; a stale entry (a handle used again)
// costs one and finds no shape.
std::set<HWND>& ShapedWindows() {
    static std::set<HWND> shaped;
    return shaped;
}

// The area a window covers in its root's client coordinates, `r` being its
// rectangle there: the rectangle, or the shape when it has one.
win::unique_hrgn AreaOf(HWND window, const RECT& r) {
    win::unique_hrgn area(::CreateRectRgn(r.left, r.top, r.right, r.bottom));
    if (area && ShapedWindows().count(window)) {
        win::unique_hrgn shape(::CreateRectRgn(0, 0, 0, 0));
        if (shape && ::GetWindowRgn(window, shape.get()) != ERROR) {
            ::OffsetRgn(shape.get(), r.left, r.top);
            ::CombineRgn(area.get(), area.get(), shape.get(), RGN_AND);
        }
    }
    return area;
}

// What a paint DC of `window` reaches, in its client coordinates; null when
// the platform does not tell.
win::unique_hrgn PaintedArea(HWND window, HDC dc) {
    win::unique_hrgn area(::CreateRectRgn(0, 0, 0, 0));
    if (!area || ::GetRandomRgn(dc, area.get(), SYSRGN) != 1)
        return {};
    POINT origin{0, 0}; // the region is in screen coordinates
    ::ClientToScreen(window, &origin);
    ::OffsetRgn(area.get(), -origin.x, -origin.y);
    return area;
}

bool Inside(HRGN inner, HRGN outer) {
    win::unique_hrgn rest(::CreateRectRgn(0, 0, 0, 0));
    return rest && ::CombineRgn(rest.get(), inner, outer, RGN_DIFF) == NULLREGION;
}

enum class Part { Hidden, Outside, LeftOut, Drawn };

struct Composite {
    HWND root;
    HDC dc;
    RECT box; // the bounds of what the paint reaches, in the root's client coordinates
    // Each window's children, top of the z-order first. Listed in one pass:
    // under Wine, each step from a window to its sibling asks the server.
    std::map<HWND, std::vector<HWND>> children;
    HRGN painted = nullptr;             // what the paint reaches, when the platform tells
    std::vector<WindowBase*> lateDrawn; // controls without a window drawn whole
};

void ListDescendants(Composite& c) {
    ::EnumChildWindows(
        c.root,
        [](HWND child, LPARAM to) -> BOOL {
            auto& tree = *reinterpret_cast<std::map<HWND, std::vector<HWND>>*>(to);
            tree[::GetAncestor(child, GA_PARENT)].push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&c.children));
}

// Whether `child` is shown, inside the paint, and drawn into the buffer; its
// rectangle in the root's client coordinates goes to `r`.
Part PartOf(const Composite& c, HWND child, RECT& r) {
    if (!(::GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE))
        return Part::Hidden;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, c.root, reinterpret_cast<POINT*>(&r), 2);
    RECT common{};
    if (!::IntersectRect(&common, &r, &c.box))
        return Part::Outside;
    const WindowBase* self = WindowBase::FromHandle(child);
    return self && self->DrawsOnPrintClient() ? Part::Drawn : Part::LeftOut;
}

// The shown windows under `parent`, bottom of the z-order first; a window's
// children follow it when `visit` returns true.
template <typename F> void Walk(const Composite& c, HWND parent, F&& visit) {
    const auto list = c.children.find(parent);
    if (list == c.children.end())
        return;
    for (auto it = list->second.rbegin(); it != list->second.rend(); ++it) {
        RECT r{};
        const Part part = PartOf(c, *it, r);
        if (part != Part::Hidden && visit(*it, part, r))
            Walk(c, *it, visit);
    }
}

// A control that has no window yet, as its window would be drawn; `origin`
// is its parent's in the root's client coordinates.
void DrawLate(Composite& c, WindowBase* control, POINT origin) {
    if (!(control->late()->style & WS_VISIBLE))
        return;
    RECT r = control->late()->rect;
    ::OffsetRect(&r, origin.x, origin.y);
    RECT common{};
    if (!::IntersectRect(&common, &r, &c.box))
        return;
    const int saved = ::SaveDC(c.dc);
    ::SetViewportOrgEx(c.dc, r.left, r.top, nullptr);
    ::IntersectClipRect(c.dc, 0, 0, r.right - r.left, r.bottom - r.top);
    control->PrintClient(c.dc);
    if (saved)
        ::RestoreDC(c.dc, saved);
    const win::unique_hrgn area(::CreateRectRgnIndirect(&r));
    if (c.painted && area && Inside(area.get(), c.painted))
        c.lateDrawn.push_back(control);
}

void Draw(Composite& c, HWND parent);

void DrawWindow(Composite& c, HWND child) {
    RECT r{};
    if (PartOf(c, child, r) != Part::Drawn)
        return;
    const int saved = ::SaveDC(c.dc);
    ::SetViewportOrgEx(c.dc, r.left, r.top, nullptr);
    ::IntersectClipRect(c.dc, 0, 0, r.right - r.left, r.bottom - r.top);
    if (ShapedWindows().count(child)) {
        if (const win::unique_hrgn area = AreaOf(child, r))
            ::ExtSelectClipRgn(c.dc, area.get(), RGN_AND);
    }
    ::SendMessageA(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c.dc), PRF_CLIENT);
    Draw(c, child); // inside its clip, above it
    if (saved)
        ::RestoreDC(c.dc, saved);
}

// The children of `parent`, windows and controls without one, bottom of the
// z-order first. A new child goes below its elder siblings, so from the top:
// the controls without a window created before any sibling had one, then
// each window followed by those created while it was the youngest.
void Draw(Composite& c, HWND parent) {
    const auto list = c.children.find(parent);
    const std::vector<HWND> none;
    const std::vector<HWND>& windows = list == c.children.end() ? none : list->second;
    const std::vector<WindowBase*> late = LateControlsOf(parent);
    std::vector<std::pair<HWND, WindowBase*>> fromTop;
    for (WindowBase* control : late) {
        const HWND after = control->late()->after;
        if (!after || std::find(windows.begin(), windows.end(), after) == windows.end())
            fromTop.push_back({nullptr, control});
    }
    for (const HWND w : windows) {
        fromTop.push_back({w, nullptr});
        for (WindowBase* control : late)
            if (control->late()->after == w)
                fromTop.push_back({nullptr, control});
    }
    POINT origin{0, 0};
    if (!late.empty())
        ::MapWindowPoints(parent, c.root, &origin, 1);
    for (auto it = fromTop.rbegin(); it != fromTop.rend(); ++it) {
        if (it->first)
            DrawWindow(c, it->first);
        else
            DrawLate(c, it->second, origin);
    }
}

} // namespace

void PresentWithDescendants(HWND window, HDC target, OffscreenBuffer& buffer) {
    RECT client{};
    ::GetClientRect(window, &client);
    Composite c{window, buffer.dc(), client, {}, nullptr, {}};
    if (::GetClipBox(target, &c.box) == ERROR)
        c.box = client;
    ListDescendants(c);

    const win::unique_hrgn painted = PaintedArea(window, target);
    c.painted = painted.get();
    win::unique_hrgn leftOut;
    std::vector<HWND> done; // drawn, and wholly inside the paint
    bool everyOneDone = true;
    Walk(c, window, [&](HWND child, Part part, const RECT& r) {
        if (part == Part::Outside) {
            everyOneDone = false;
            return false;
        }
        win::unique_hrgn area = AreaOf(child, r);
        if (part == Part::LeftOut) {
            everyOneDone = false;
            if (!area)
                return false;
            if (leftOut)
                ::CombineRgn(leftOut.get(), leftOut.get(), area.get(), RGN_OR);
            else
                leftOut = std::move(area);
            return false;
        }
        if (painted && area && Inside(area.get(), painted.get()))
            done.push_back(child);
        else
            everyOneDone = false;
        return true;
    });
    // As BeginPaint does for the window itself, the controls are marked as
    // painted before they are drawn: one that asks to be painted again while
    // it is drawn keeps that. A control partly outside the paint paints
    // itself as well.
    constexpr UINT kPainted = RDW_VALIDATE | RDW_NOFRAME | RDW_NOERASE;
    if (everyOneDone && !done.empty()) {
        ::RedrawWindow(window, nullptr, nullptr, kPainted | RDW_ALLCHILDREN);
    } else {
        for (const HWND child : done)
            ::RedrawWindow(child, nullptr, nullptr, kPainted);
    }
    Draw(c, window);
    // What the window does not draw keeps its own pixels.
    if (leftOut)
        ::ExtSelectClipRgn(target, leftOut.get(), RGN_DIFF);
    buffer.PresentTo(target);
    // Controls still without a window get theirs now, the picture on screen.
    if (LateWindowsWaiting()) {
        win::StartupMark("on screen");
        MakeLateWindows(c.lateDrawn);
    }
}

bool SetWindowShape(HWND window, HRGN region, bool redraw) {
    if (!::SetWindowRgn(window, region, redraw))
        return false;
    if (region)
        ShapedWindows().insert(window);
    else
        ShapedWindows().erase(window);
    return true;
}

} // namespace gm::skin
