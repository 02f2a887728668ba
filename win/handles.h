#pragma once
// Move-only owners of Win32 handles: each closes its handle exactly once, in
// its destructor. Copying is deleted so nothing is ever released twice.

#include <windows.h>

#include <utility>

namespace gm::win {

template <typename H, auto Close, H Invalid>
class unique_any {
public:
    unique_any() = default;
    explicit unique_any(H h) : h_(h) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
    unique_any& operator=(unique_any&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Invalid));
        return *this;
    }
    ~unique_any() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Invalid; }
    H release() { return std::exchange(h_, Invalid); }
    void reset(H h = Invalid) {
        if (h_ != Invalid) Close(h_);
        h_ = h;
    }

private:
    H h_ = Invalid;
};

namespace detail {
inline void CloseKernel(HANDLE h) { ::CloseHandle(h); }
inline void CloseKey(HKEY k) { ::RegCloseKey(k); }
inline void ReleaseModule(HMODULE m) { ::FreeLibrary(m); }
inline void UnmapView(void* p) { ::UnmapViewOfFile(p); }
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
        if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

} // namespace gm::win
