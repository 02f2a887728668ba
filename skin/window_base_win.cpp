#include "skin/window_base_win.h"

#include "skin/late_windows_win.h"
#include "skin/picture_win.h"
#include "skin/scratch_dc_win.h"

#include <map>
#include <string>

namespace gm::skin {
namespace {

// Class name -> the procedure of the class it extends.
std::map<std::string, WNDPROC>& BaseProcedures() {
    static std::map<std::string, WNDPROC> procs;
    return procs;
}

WNDPROC BaseOf(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    const auto& procs = BaseProcedures();
    const auto it = procs.find(name);
    return it == procs.end() ? ::DefWindowProcA : it->second;
}

bool HasNoNonClientArea(HWND hwnd) {
    const LONG_PTR style = ::GetWindowLongPtrA(hwnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    constexpr LONG_PTR kFrames = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
    constexpr LONG_PTR kEdges =
        WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
    return (style & WS_CHILD) && !(style & kFrames) && !(exStyle & kEdges);
}

} // namespace

WindowBase::~WindowBase() {
    Destroy();
}

void WindowBase::Destroy() {
    if (late_) {
        ForgetLateWindow(this);
        late_.reset();
    }
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

WindowBase* WindowBase::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    auto& procs = BaseProcedures();
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    if (procs.find(name) == procs.end())
        return nullptr;
    return reinterpret_cast<WindowBase*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool WindowBase::RegisterClassOnce(const char* className, const char* baseClass, UINT style,
                                   HCURSOR cursor) {
    auto& procs = BaseProcedures();
    if (procs.count(className))
        return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (baseClass) {
        if (!::GetClassInfoExA(nullptr, baseClass, &wc))
            return false;
        wc.cbSize = sizeof wc;
        // Each control paints inside its own rectangle. Drawing through the
        // parent's DC (the platform's button and edit classes ask for it)
        // makes every show and paint of a window full of controls several
        // times dearer under Wine.
        wc.style = (wc.style & ~UINT(CS_PARENTDC)) | style;
    } else {
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.style = style;
        wc.hCursor = cursor ? cursor : ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    const WNDPROC base = wc.lpfnWndProc;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    wc.lpszMenuName = nullptr;
    if (!::RegisterClassExA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    procs[className] = base;
    return true;
}

bool WindowBase::CreateWindowOf(const char* className, DWORD exStyle, DWORD style, const RECT& r,
                                HWND parent, int id, const char* caption) {
    if (hwnd_ || late_)
        return false;
    if ((style & WS_CHILD) && parent && CollectingLateWindows() && MayBeMadeLate()) {
        const HWND eldest = ::GetWindow(parent, GW_CHILD);
        late_ = std::make_unique<LateCreation>(
            LateCreation{className, exStyle, style, r, parent, id, caption ? caption : "",
                         caption != nullptr, eldest ? ::GetWindow(eldest, GW_HWNDLAST) : nullptr});
        AddLateWindow(this);
        return true;
    }
    return CreateNow(className, exStyle, style, r, parent, id, caption);
}

bool WindowBase::MakeLateWindow() {
    if (!late_)
        return false;
    ForgetLateWindow(this);
    const std::unique_ptr<LateCreation> c = std::move(late_);
    if (!CreateNow(c->className.c_str(), c->exStyle, c->style & ~DWORD(WS_VISIBLE), c->rect,
                   c->parent, c->id, c->hasCaption ? c->caption.c_str() : nullptr))
        return false;
    OnMadeLate();
    return true;
}

RECT WindowBase::ClientRect() const {
    RECT r{};
    if (hwnd_)
        ::GetClientRect(hwnd_, &r);
    else if (late_)
        r = RECT{0, 0, late_->rect.right - late_->rect.left, late_->rect.bottom - late_->rect.top};
    return r;
}

bool WindowBase::CreateNow(const char* className, DWORD exStyle, DWORD style, const RECT& r,
                           HWND parent, int id, const char* caption) {
    base_ = BaseProcedures().count(className) ? BaseProcedures()[className] : ::DefWindowProcA;
    const HMENU menu =
        (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    ::CreateWindowExA(exStyle, className, caption, style, r.left, r.top, r.right - r.left,
                      r.bottom - r.top, parent, menu, ::GetModuleHandleA(nullptr), this);
    return hwnd_ != nullptr;
}

LRESULT WindowBase::Default(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    return ::CallWindowProcA(base_ ? base_ : ::DefWindowProcA, hwnd_, msg, wp, lp);
}

LRESULT CALLBACK WindowBase::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (!self)
        return ::CallWindowProcA(BaseOf(hwnd), hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        const LRESULT r = self->OnMessage(msg, wp, lp);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
        return r;
    }
    // A child without frame, edges or scroll bars has no non-client area;
    // the platform would still fetch a window DC for it at every show.
    if (msg == WM_NCPAINT && HasNoNonClientArea(hwnd))
        return 0;
    return self->OnMessage(msg, wp, lp);
}

OffscreenBuffer::OffscreenBuffer(HDC target, int width, int height)
    : target_(target), width_(width > 0 ? width : 1), height_(height > 0 ? height : 1) {
    if (target_ && ::GetObjectType(target_) == OBJ_MEMDC) {
        direct_ = ::SaveDC(target_);
        if (direct_) {
            ::IntersectClipRect(target_, 0, 0, width_, height_);
            ::PatBlt(target_, 0, 0, width_, height_, BLACKNESS);
            return;
        }
    }
    scratch_.emplace();
    bitmap_ = NewImageBitmap(width_, height_);
    if (*scratch_ && bitmap_)
        selected_.emplace(scratch_->get(), bitmap_.get());
}

OffscreenBuffer::~OffscreenBuffer() {
    if (direct_)
        ::RestoreDC(target_, direct_);
}

void OffscreenBuffer::Present() {
    if (selected_)
        ::BitBlt(target_, 0, 0, width_, height_, scratch_->get(), 0, 0, SRCCOPY);
}

void OffscreenBuffer::PresentTo(HDC other) {
    if (selected_)
        ::BitBlt(other, 0, 0, width_, height_, scratch_->get(), 0, 0, SRCCOPY);
}

void RepaintIfShown(HWND hwnd, bool erase, bool now) {
    if (!hwnd || !::IsWindowVisible(hwnd))
        return;
    UINT flags = RDW_INVALIDATE;
    if (erase)
        flags |= RDW_ERASE;
    if (now)
        flags |= RDW_UPDATENOW;
    ::RedrawWindow(hwnd, nullptr, nullptr, flags);
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    if (!dc || !bitmap)
        return;
    BITMAP bm{};
    if (!::GetObjectA(bitmap, sizeof bm, &bm))
        return;
    const ScratchDc mem;
    if (!mem)
        return;
    win::select_object selected(mem.get(), bitmap);
    ::BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, SRCCOPY);
}

} // namespace gm::skin
