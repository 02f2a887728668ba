#include "skin/composite_paint_win.h"

#include <map>
#include <set>
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

struct Composite {
    HWND root;
    HDC dc;
    RECT paint; // what the paint covers, in the root's client coordinates
    // Each window's children, top of the z-order first. Listed in one pass:
    // under Wine, each step from a window to its sibling asks the server.
    std::map<HWND, std::vector<HWND>> children;
    std::vector<HWND> drawn;
    std::vector<RECT> leftOut; // in the root's client coordinates
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

enum class Part { Outside, LeftOut, Drawn };

// Whether `child` is shown inside the paint and drawn into the buffer; its
// rectangle in the root's client coordinates goes to `r`.
Part PartOf(const Composite& c, HWND child, RECT& r) {
    if (!(::GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE))
        return Part::Outside;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, c.root, reinterpret_cast<POINT*>(&r), 2);
    RECT common{};
    if (!::IntersectRect(&common, &r, &c.paint))
        return Part::Outside;
    const WindowBase* self = WindowBase::FromHandle(child);
    return self && self->DrawsOnPrintClient() ? Part::Drawn : Part::LeftOut;
}

// Bottom of the z-order first; a window's children after the window.
template <typename F> void Walk(const Composite& c, HWND parent, F&& visit) {
    const auto list = c.children.find(parent);
    if (list == c.children.end())
        return;
    for (auto it = list->second.rbegin(); it != list->second.rend(); ++it) {
        RECT r{};
        const Part part = PartOf(c, *it, r);
        if (part != Part::Outside && visit(*it, part, r))
            Walk(c, *it, visit);
    }
}

void Draw(Composite& c, HWND parent) {
    Walk(c, parent, [&](HWND child, Part part, const RECT& r) {
        if (part != Part::Drawn)
            return false;
        const int saved = ::SaveDC(c.dc);
        ::SetViewportOrgEx(c.dc, r.left, r.top, nullptr);
        ::IntersectClipRect(c.dc, 0, 0, r.right - r.left, r.bottom - r.top);
        if (ShapedWindows().count(child)) {
            win::unique_hrgn shape(::CreateRectRgn(0, 0, 0, 0));
            if (shape && ::GetWindowRgn(child, shape.get()) != ERROR) {
                ::OffsetRgn(shape.get(), r.left, r.top);
                ::ExtSelectClipRgn(c.dc, shape.get(), RGN_AND);
            }
        }
        ::SendMessageA(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c.dc), PRF_CLIENT);
        Draw(c, child);
        if (saved)
            ::RestoreDC(c.dc, saved);
        return false; // its children are drawn inside its clip, above
    });
}

} // namespace

void PresentWithDescendants(HWND window, HDC target, OffscreenBuffer& buffer) {
    RECT client{};
    ::GetClientRect(window, &client);
    Composite c{window, buffer.dc(), client, {}, {}, {}};
    if (::GetClipBox(target, &c.paint) == ERROR)
        c.paint = client;
    ListDescendants(c);
    Walk(c, window, [&](HWND child, Part part, const RECT& r) {
        if (part == Part::LeftOut) {
            c.leftOut.push_back(r);
            return false;
        }
        c.drawn.push_back(child);
        return true;
    });
    // As BeginPaint does for the window itself, the controls are marked as
    // painted before they are drawn: one that asks to be painted again while
    // drawn keeps that.
    if (::EqualRect(&c.paint, &client)) {
        constexpr UINT kPainted = RDW_VALIDATE | RDW_NOFRAME | RDW_NOERASE;
        if (c.leftOut.empty()) {
            ::RedrawWindow(window, nullptr, nullptr, kPainted | RDW_ALLCHILDREN);
        } else {
            for (const HWND child : c.drawn)
                ::RedrawWindow(child, nullptr, nullptr, kPainted);
        }
    }
    Draw(c, window);
    for (const RECT& r : c.leftOut)
        ::ExcludeClipRect(target, r.left, r.top, r.right, r.bottom);
    buffer.PresentTo(target);
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
