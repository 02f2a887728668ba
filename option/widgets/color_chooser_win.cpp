#include "option/widgets/color_chooser_win.h"

#include "option/widgets/widget_messages.h"

namespace gm::option {
namespace {

HWND g_receiver = nullptr;

constexpr int kFirstCellSlot = 5;

} // namespace

void ColorChooser::SetReceiver(HWND receiver) {
    g_receiver = receiver;
}
HWND ColorChooser::Receiver() {
    return g_receiver;
}

bool ColorChooser::Create(const std::string& skinFolder, HWND owner) {
    chosen_ = -1;
    over_ = -1;
    // A pop-up rather than a child, so the page's edge never cuts it off.
    return SkinWindow::Create(skinFolder, "skin_cpi_color.ini", Kind::Page,
                              WS_POPUP | WS_CLIPCHILDREN, owner, WS_EX_TOOLWINDOW);
}

void ColorChooser::CreateControls(skin::WindowSkin& skin) {
    for (int i = 0; i < 3; ++i)
        closeButtons_[std::size_t(i)].Create(skin.Record(i + 1), skin.sheets(), hwnd());
    for (int i = 0; i < kColorCellCount; ++i) {
        const skin::ControlRecord r = skin.Record(kFirstCellSlot + i);
        cells_[std::size_t(i)].Create(r, skin.sheets(), hwnd());
        cellRects_[std::size_t(i)] = CellRect{r.left, r.top, r.right, r.bottom};
    }
}

void ColorChooser::ShowAt(POINT screen) {
    ::SetWindowPos(hwnd(), nullptr, screen.x, screen.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

void ColorChooser::Hide() {
    if (hwnd())
        ::ShowWindow(hwnd(), SW_HIDE);
}

bool ColorChooser::shown() const {
    return hwnd() && ::IsWindowVisible(hwnd());
}

void ColorChooser::OnShown(bool shown) {
    over_ = -1;
    if (shown) {
        // Every click, also outside the chooser, comes here.
        ::SetCapture(hwnd());
        for (auto& c : cells_)
            if (c.hover()) {
                c.SetHover(false);
                ::InvalidateRect(c.hwnd(), nullptr, FALSE);
            }
    } else if (::GetCapture() == hwnd()) {
        releasing_ = true;
        ::ReleaseCapture();
        releasing_ = false;
    }
}

void ColorChooser::OnPointer(int x, int y) {
    const HoverStep step = TrackHover(cellRects_, over_, x, y);
    over_ = step.over;
    if (step.highlight < 0)
        return;
    for (int j = 0; j < kColorCellCount; ++j) {
        auto& c = cells_[std::size_t(j)];
        c.SetHover(j == step.highlight);
        ::InvalidateRect(c.hwnd(), nullptr, FALSE);
    }
}

void ColorChooser::OnPress(int x, int y) {
    chosen_ = CellAt(cellRects_, x, y);
    if (chosen_ >= 0 && g_receiver)
        ::PostMessageA(g_receiver, UM_COLOR_CHOSEN, 0, chosen_);
    Hide();
}

void ColorChooser::OnCommand(HWND from) {
    if (!from)
        return;
    for (int i = 0; i < kColorCellCount; ++i)
        if (from == cells_[std::size_t(i)].hwnd()) {
            chosen_ = i;
            Hide();
            return;
        }
    for (const auto& b : closeButtons_)
        if (from == b.hwnd()) {
            Hide();
            return;
        }
}

LRESULT ColorChooser::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_SHOWWINDOW:
        // Only an explicit show or hide; an owner being minimised is not one.
        if (lp == 0)
            OnShown(wp != FALSE);
        break;
    case WM_MOUSEMOVE:
        OnPointer(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return Default(msg, wp, lp);
    case WM_LBUTTONDOWN:
        OnPress(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return Default(msg, wp, lp);
    case WM_KILLFOCUS:
        Hide();
        break;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the chooser goes with it.
        if (!releasing_ && reinterpret_cast<HWND>(lp) != hwnd() && shown())
            Hide();
        return 0;
    case WM_COMMAND:
        OnCommand(reinterpret_cast<HWND>(lp));
        break;
    default:
        break;
    }
    return SkinWindow::OnMessage(msg, wp, lp);
}

} // namespace gm::option
