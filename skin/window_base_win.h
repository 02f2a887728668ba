#pragma once
// Base of every window class of the toolkit: one static procedure binds the
// C++ object at WM_NCCREATE and hands each message to OnMessage. A class may
// extend a platform class (button, edit): its messages then fall through to
// that class's procedure instead of DefWindowProc.

#include "skin/scratch_dc_win.h"
#include "win/handles.h"
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace gm::skin {

// The class style of our controls: all windows of a class share one DC.
// Under Wine every window that asks for a DC of the common cache for the
// first time makes a new one (the cache keeps dozens), and making one reads
// the display settings several times over; a dialog full of controls paid
// that once per control at its first show. The windows of a class are
// painted one at a time on one thread, and each paint starts from the DC's
// saved state (PaintMessage), so sharing changes nothing they draw.
constexpr UINT kControlClassStyle = CS_CLASSDC;

class WindowBase {
  public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase();

    HWND hwnd() const { return hwnd_; }
    void Destroy();

    // The object bound to a window of one of our classes, or null.
    static WindowBase* FromHandle(HWND hwnd);

    // Whether WM_PRINTCLIENT draws exactly what WM_PAINT does, the whole
    // client area, so a parent may draw this window into its own buffer.
    virtual bool DrawsOnPrintClient() const { return false; }

    // A control made late (late_windows_win.h) has no window yet: what its
    // window will be made with.
    struct LateCreation {
        std::string className;
        DWORD exStyle = 0, style = 0;
        RECT rect{}; // in the parent's client coordinates
        HWND parent = nullptr;
        int id = 0;
        std::string caption;
        bool hasCaption = false;
        // The youngest sibling that had a window when the control was
        // created (null: none); its window goes just below it.
        HWND after = nullptr;
    };
    const LateCreation* late() const { return late_.get(); }
    // Makes the window of a control made late, hidden; false when it has
    // none to make.
    bool MakeLateWindow();
    // The client rectangle: the window's, or the one a late control's will be.
    RECT ClientRect() const;
    // Draws the client area into `dc` as WM_PRINTCLIENT does, with or without
    // a window.
    void PrintClient(HDC dc) noexcept {
        OnMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }

  protected:
    // Registers `className` once: a plain window class when `baseClass` is
    // null, otherwise a class extending that platform class; `style` is
    // added to the class style either way.
    static bool RegisterClassOnce(const char* className, const char* baseClass = nullptr,
                                  UINT style = 0, HCURSOR cursor = nullptr);

    // While late windows are collected, a child of a class that may be made
    // late is only recorded, and true is returned with no window yet.
    bool CreateWindowOf(const char* className, DWORD exStyle, DWORD style, const RECT& rect,
                        HWND parent, int id = 0, const char* caption = "");
    // Whether a control of this class may have its window made after its
    // parent's first paint: it draws itself whole without a window
    // (PrintClient), and everything set on it before is kept by the object.
    virtual bool MayBeMadeLate() const { return false; }
    // Called once a control made late has its window: what was set on the
    // object meanwhile and belongs to the window too goes to it.
    virtual void OnMadeLate() {}

    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
        return Default(msg, wp, lp);
    }
    // Called after WM_NCDESTROY's default handling, the handle already gone.
    virtual void OnDestroyed() noexcept {}
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) noexcept;
    // WM_PAINT and WM_PRINTCLIENT both draw through `paint`, so a window
    // renders the same into its own DC and into any other; false for every
    // other message.
    template <typename F> bool PaintMessage(UINT msg, WPARAM wp, F paint) {
        if (msg == WM_PRINTCLIENT) {
            paint(reinterpret_cast<HDC>(wp));
            return true;
        }
        if (msg != WM_PAINT)
            return false;
        win::paint_dc dc(hwnd_);
        // The DC may be shared with the class's other windows
        // (kControlClassStyle): what one paint selects or sets goes with it.
        const int saved = ::SaveDC(dc.get());
        paintingWindow_ = true;
        paint(dc.get());
        paintingWindow_ = false;
        if (saved)
            ::RestoreDC(dc.get(), saved);
        return true;
    }
    // True while PaintMessage paints the window itself (WM_PAINT), not
    // another DC (WM_PRINTCLIENT).
    bool PaintingWindow() const { return paintingWindow_; }

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    bool CreateNow(const char* className, DWORD exStyle, DWORD style, const RECT& r, HWND parent,
                   int id, const char* caption);
    HWND hwnd_ = nullptr;
    std::unique_ptr<LateCreation> late_;
    WNDPROC base_ = nullptr;
    bool paintingWindow_ = false;
};

// Paints into an off-screen bitmap of a given size, black to begin with, and
// copies it to (0, 0) of the target in one go, so nothing flickers. A target
// that is itself off screen (a memory DC: a parent's buffer, a print) is
// drawn into straight away, clipped to the size, with what is selected and
// set in it given back at the end: the same pixels, without a bitmap made,
// filled and copied for every control a parent draws.
class OffscreenBuffer {
  public:
    OffscreenBuffer(HDC target, int width, int height);
    ~OffscreenBuffer();
    OffscreenBuffer(const OffscreenBuffer&) = delete;
    OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;
    HDC dc() const { return direct_ ? target_ : scratch_ ? scratch_->get() : nullptr; }
    void Present();
    // Copies the buffer to (0, 0) of another DC. A buffer drawn straight into
    // its target holds nothing of its own and copies nothing.
    void PresentTo(HDC other);

  private:
    HDC target_;
    int width_, height_;
    int direct_ = 0; // the target's saved state, when drawn into straight away
    // Declared in this order so the bitmap is deselected before it is
    // deleted and the DC given back.
    std::optional<ScratchDc> scratch_;
    win::unique_hbitmap bitmap_;
    std::optional<win::select_object> selected_;
};

// Marks a window for repainting (with `erase`, its background too) and with
// `now` paints it at once. A window not on screen (hidden, or inside a hidden
// one) is left alone: whatever shows it repaints it whole, and under Wine a
// needless invalidation of each control costs a round trip to the server.
void RepaintIfShown(HWND hwnd, bool erase = false, bool now = false);

// Copies a whole bitmap to (x, y) of a DC; nothing when the bitmap is empty.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x = 0, int y = 0);

} // namespace gm::skin
