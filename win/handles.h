#pragma once
// Move-only owners of Win32 handles: each closes its handle exactly once, in
// its destructor. Copying is deleted so nothing is ever released twice.

#include <windows.h>

#include <utility>

namespace gm::win {

template <typename H, auto Close, H Invalid> class unique_any {
  public:
    unique_any() = default;
    explicit unique_any(H h) : h_(h) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
    unique_any& operator=(unique_any&& o) noexcept {
        if (this != &o)
            reset(std::exchange(o.h_, Invalid));
        return *this;
    }
    ~unique_any() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Invalid; }
    H release() { return std::exchange(h_, Invalid); }
    void reset(H h = Invalid) {
        if (h_ != Invalid)
            Close(h_);
        h_ = h;
    }

  private:
    H h_ = Invalid;
};

namespace detail {
inline void CloseKernel(HANDLE h) {
    ::CloseHandle(h);
}
inline void CloseKey(HKEY k) {
    ::RegCloseKey(k);
}
inline void ReleaseModule(HMODULE m) {
    ::FreeLibrary(m);
}
inline void UnmapView(void* p) {
    ::UnmapViewOfFile(p);
}
} // namespace detail

// Kernel objects whose "none" is NULL (mutexes, mappings, threads, events).
using unique_handle = unique_any<HANDLE, detail::CloseKernel, nullptr>;
using unique_hkey = unique_any<HKEY, detail::CloseKey, nullptr>;
using unique_hmodule = unique_any<HMODULE, detail::ReleaseModule, nullptr>;
using unique_view = unique_any<void*, detail::UnmapView, nullptr>;

// Files, whose "none" is INVALID_HANDLE_VALUE.
class unique_file {
  public:
    unique_file() = default;
    explicit unique_file(HANDLE h) : h_(h) {}
    unique_file(const unique_file&) = delete;
    unique_file& operator=(const unique_file&) = delete;
    unique_file(unique_file&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
    unique_file& operator=(unique_file&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    ~unique_file() { reset(); }
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }
    void reset() {
        if (h_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// GDI and window owners. Memory DCs are deleted; DCs borrowed from a window
// are released to it (window_dc below).
namespace detail {
template <typename T> void DeleteGdiObject(T h) {
    ::DeleteObject(h);
}
inline void DeleteMemoryDc(HDC dc) {
    ::DeleteDC(dc);
}
inline void DestroyIconHandle(HICON i) {
    ::DestroyIcon(i);
}
inline void DestroyWindowHandle(HWND w) {
    ::DestroyWindow(w);
}
inline void UnhookHook(HHOOK h) {
    ::UnhookWindowsHookEx(h);
}
inline void DestroyMenuHandle(HMENU m) {
    ::DestroyMenu(m);
}
} // namespace detail

using unique_hbitmap = unique_any<HBITMAP, detail::DeleteGdiObject<HBITMAP>, nullptr>;
using unique_hrgn = unique_any<HRGN, detail::DeleteGdiObject<HRGN>, nullptr>;
using unique_hfont = unique_any<HFONT, detail::DeleteGdiObject<HFONT>, nullptr>;
using unique_hbrush = unique_any<HBRUSH, detail::DeleteGdiObject<HBRUSH>, nullptr>;
using unique_hpen = unique_any<HPEN, detail::DeleteGdiObject<HPEN>, nullptr>;
using unique_hdc = unique_any<HDC, detail::DeleteMemoryDc, nullptr>; // CreateCompatibleDC
using unique_hicon = unique_any<HICON, detail::DestroyIconHandle, nullptr>;
using unique_hwnd = unique_any<HWND, detail::DestroyWindowHandle, nullptr>;
using unique_hhook = unique_any<HHOOK, detail::UnhookHook, nullptr>;
using unique_hmenu = unique_any<HMENU, detail::DestroyMenuHandle, nullptr>;

// A DC borrowed with GetDC / GetWindowDC, given back on destruction.
class window_dc {
  public:
    explicit window_dc(HWND w, bool wholeWindow = false)
        : w_(w), dc_(wholeWindow ? ::GetWindowDC(w) : ::GetDC(w)) {}
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    ~window_dc() {
        if (dc_)
            ::ReleaseDC(w_, dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND w_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class paint_dc {
  public:
    explicit paint_dc(HWND w) : w_(w) { dc_ = ::BeginPaint(w, &ps_); }
    paint_dc(const paint_dc&) = delete;
    paint_dc& operator=(const paint_dc&) = delete;
    ~paint_dc() { ::EndPaint(w_, &ps_); }
    HDC get() const { return dc_; }
    const PAINTSTRUCT& info() const { return ps_; }

  private:
    HWND w_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back, so an owned
// object is never deleted while still selected.
class select_object {
  public:
    select_object(HDC dc, HGDIOBJ obj)
        : dc_(dc), old_(dc && obj ? ::SelectObject(dc, obj) : nullptr) {}
    select_object(const select_object&) = delete;
    select_object& operator=(const select_object&) = delete;
    ~select_object() {
        if (old_)
            ::SelectObject(dc_, old_);
    }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace gm::win
