#include "skin/picture_win.h"

#include "skin/mask_runs.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <mutex>
#include <vector>

namespace gm::skin {
namespace {

// Skin images are small; anything this large is not one.
constexpr DWORD kMaxPictureFile = 64u << 20;

HGLOBAL ReadWholeFile(const std::string& path, DWORD& size) {
    win::unique_file file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return nullptr;
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(file.get(), &length) || length.QuadPart <= 0 ||
        length.QuadPart > kMaxPictureFile)
        return nullptr;
    size = DWORD(length.QuadPart);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return nullptr;
    void* data = ::GlobalLock(memory);
    DWORD read = 0;
    const BOOL ok = data && ::ReadFile(file.get(), data, size, &read, nullptr) && read == size;
    if (data)
        ::GlobalUnlock(memory);
    if (!ok) {
        ::GlobalFree(memory);
        return nullptr;
    }
    return memory;
}

// Files that start as a bitmap file does (the content decides, not the name).
bool LoadBitmapFile(const std::string& path, HGLOBAL memory, DWORD length,
                    win::unique_hbitmap& bitmap, SIZE& size) {
    if (length < 2)
        return false;
    const auto* bytes = static_cast<const char*>(::GlobalLock(memory));
    const bool isBitmap = bytes && bytes[0] == 'B' && bytes[1] == 'M';
    ::GlobalUnlock(memory);
    if (!isBitmap)
        return false;
    bitmap.reset(static_cast<HBITMAP>(::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    size = BitmapSize(bitmap.get());
    if (size.cx > 0 && size.cy > 0)
        return true;
    bitmap.reset();
    size = SIZE{0, 0};
    return false;
}

// COM for the calling thread while a picture is decoded, balanced on exit.
class ComScope {
  public:
    ComScope() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_))
            ::CoUninitialize();
    }

  private:
    HRESULT hr_;
};

} // namespace

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm))
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

bool LoadPicture(const std::string& path, win::unique_hbitmap& bitmap, SIZE& size) {
    bitmap.reset();
    size = SIZE{0, 0};
    DWORD length = 0;
    HGLOBAL memory = ReadWholeFile(path, length);
    if (!memory)
        return false;

    // Bitmap files go to the system's own bitmap loader: no COM, and several
    // times cheaper. Anything it refuses still goes to the picture loader.
    if (LoadBitmapFile(path, memory, length, bitmap, size)) {
        ::GlobalFree(memory);
        return true;
    }
    ComScope com;
    IStream* stream = nullptr;
    // The stream frees the memory when it is released.
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        ::GlobalFree(memory);
        return false;
    }
    IPicture* picture = nullptr;
    const HRESULT hr = ::OleLoadPicture(stream, LONG(length), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || !picture)
        return false;

    short type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
        SUCCEEDED(picture->get_Handle(&handle))) {
        // The picture owns its bitmap; keep a copy of our own.
        const auto source = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        bitmap.reset(
            static_cast<HBITMAP>(::CopyImage(source, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
    picture->Release();
    size = BitmapSize(bitmap.get());
    if (size.cx <= 0 || size.cy <= 0) {
        bitmap.reset();
        size = SIZE{0, 0};
        return false;
    }
    return true;
}

void CutImage(HDC reference, win::unique_hbitmap& destination, HBITMAP source, int left, int top,
              int right, int bottom) {
    if (!source)
        return;
    destination.reset();
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0)
        return;
    win::unique_hbitmap cut(::CreateCompatibleBitmap(reference, width, height));
    win::unique_hdc from(::CreateCompatibleDC(reference));
    win::unique_hdc to(::CreateCompatibleDC(reference));
    if (!cut || !from || !to)
        return;
    {
        win::select_object s1(from.get(), source);
        win::select_object s2(to.get(), cut.get());
        ::BitBlt(to.get(), 0, 0, width, height, from.get(), left, top, SRCCOPY);
    }
    destination = std::move(cut);
}

namespace {

// A memory DC holding a screen-compatible bitmap: what it makes is in the
// screen's format, as a window DC would give, without a window. Made once
// per process; the platform frees it with the process.
HDC ScreenFormatDC() {
    static const HDC dc = [] {
        const HDC screen = ::GetDC(nullptr);
        HDC mem = screen ? ::CreateCompatibleDC(screen) : nullptr;
        if (mem) {
            const HBITMAP one = ::CreateCompatibleBitmap(screen, 1, 1);
            if (one)
                ::SelectObject(mem, one);
        }
        if (screen)
            ::ReleaseDC(nullptr, screen);
        return mem;
    }();
    return dc;
}

std::mutex& ScreenFormatLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

void CutStateImages(const HBITMAP sheets[4], int left, int top, int right, int bottom,
                    StateImages& images) {
    images = StateImages{};
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0 || !(sheets[0] || sheets[1] || sheets[2] || sheets[3]))
        return;
    win::unique_hbitmap strip;
    win::unique_hdc from, to;
    {
        std::lock_guard g(ScreenFormatLock());
        const HDC reference = ScreenFormatDC();
        if (!reference)
            return;
        strip.reset(::CreateCompatibleBitmap(reference, width * 4, height));
        from.reset(::CreateCompatibleDC(reference));
        to.reset(::CreateCompatibleDC(reference));
    }
    if (!strip || !from || !to)
        return;
    unsigned present = 0;
    {
        win::select_object target(to.get(), strip.get());
        for (int i = 0; i < 4; ++i) {
            if (!sheets[i])
                continue;
            win::select_object source(from.get(), sheets[i]);
            if (::BitBlt(to.get(), i * width, 0, width, height, from.get(), left, top, SRCCOPY))
                present |= 1u << i;
        }
    }
    if (!present)
        return;
    images.strip = std::move(strip);
    images.width = width;
    images.height = height;
    images.present = present;
}

void DrawStateImage(HDC dc, const StateImages& images, int state, int x, int y) {
    if (!dc || state < 0 || state > 3 || !images.Has(state))
        return;
    const win::unique_hdc mem(::CreateCompatibleDC(dc));
    if (!mem)
        return;
    win::select_object selected(mem.get(), images.strip.get());
    ::BitBlt(dc, x, y, images.width, images.height, mem.get(), state * images.width, 0, SRCCOPY);
}

win::unique_hrgn RegionFromMask(HBITMAP mask, COLORREF key, int tolerance) {
    const SIZE size = BitmapSize(mask);
    if (size.cx <= 0 || size.cy <= 0)
        return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy; // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::size_t stride = ((std::size_t(size.cx) * 32 + 31) / 32) * 4;
    std::vector<uint8_t> pixels(stride * std::size_t(size.cy));
    {
        win::unique_hdc dc(::CreateCompatibleDC(nullptr));
        if (!dc || ::GetDIBits(dc.get(), mask, 0, UINT(size.cy), pixels.data(), &info,
                               DIB_RGB_COLORS) != size.cy)
            return {};
    }

    win::unique_hrgn result(::CreateRectRgn(0, 0, 0, 0));
    if (!result)
        return {};
    bool failed = false;
    const MaskImage image{pixels, size.cx, size.cy, stride, true};
    const bool scanned = ScanMaskRuns(image, key & 0xFFFFFF, tolerance, [&](const RunBatch& batch) {
        std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + batch.rects.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = DWORD(batch.rects.size());
        header->nRgnSize = DWORD(batch.rects.size() * sizeof(RECT));
        header->rcBound =
            RECT{batch.bounds.left, batch.bounds.top, batch.bounds.right, batch.bounds.bottom};
        auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
        for (std::size_t i = 0; i < batch.rects.size(); ++i) {
            const RunRect& r = batch.rects[i];
            rects[i] = RECT{r.left, r.top, r.right, r.bottom};
        }
        win::unique_hrgn part(::ExtCreateRegion(nullptr, DWORD(data.size()),
                                                reinterpret_cast<RGNDATA*>(data.data())));
        if (!part || ::CombineRgn(result.get(), result.get(), part.get(), RGN_OR) == ERROR)
            failed = true;
    });
    // A half-built outline would cut pieces out of the window; keep it rectangular.
    if (!scanned || failed)
        return {};
    return result;
}

} // namespace gm::skin
