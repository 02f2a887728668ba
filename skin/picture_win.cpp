#include "skin/picture_win.h"

#include "skin/bmp_layout.h"
#include "skin/mask_runs.h"
#include "skin/scratch_dc_win.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>
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
bool IsBitmapFile(HGLOBAL memory) {
    const auto* bytes = static_cast<const char*>(::GlobalLock(memory));
    const bool isBitmap = bytes && bytes[0] == 'B' && bytes[1] == 'M';
    ::GlobalUnlock(memory);
    return isBitmap;
}

// A bitmap file decoded from memory, its layout checked first: the
// platform's loaders read whatever the header claims, past the end of a
// file cut short. Decoding here also needs no DC, so images can be decoded
// on any thread.
bool LoadBitmapFile(HGLOBAL memory, DWORD length, win::unique_hbitmap& bitmap, SIZE& size) {
    const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(memory));
    if (!bytes)
        return false;
    bool loaded = false;
    if (const auto layout = ReadBmpLayout(bytes, length)) {
        // The info header, masks and palette as one aligned BITMAPINFO.
        std::vector<uint32_t> info((layout->infoSize + 3) / 4);
        std::memcpy(info.data(), bytes + layout->infoOffset, layout->infoSize);
        void* bits = nullptr;
        bitmap.reset(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                        DIB_RGB_COLORS, &bits, nullptr, 0));
        if (bitmap && bits) {
            std::memcpy(bits, bytes + layout->bitsOffset, layout->bitsSize);
            size = BitmapSize(bitmap.get());
            loaded = size.cx > 0 && size.cy > 0;
        }
    }
    ::GlobalUnlock(memory);
    if (!loaded) {
        bitmap.reset();
        size = SIZE{0, 0};
    }
    return loaded;
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

    // Bitmap files are decoded here: no COM, and several times cheaper. One
    // that fails the check is refused, not handed to the picture loader,
    // which trusts the header as well; other formats go to the latter.
    if (length >= 2 && IsBitmapFile(memory)) {
        const bool loaded = LoadBitmapFile(memory, length, bitmap, size);
        ::GlobalFree(memory);
        return loaded;
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

win::unique_hbitmap NewImageBitmap(int width, int height, void** bits) {
    if (width <= 0 || height <= 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    win::unique_hbitmap bitmap(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (bits)
        *bits = bitmap ? pixels : nullptr;
    return bitmap;
}

void CutImage(win::unique_hbitmap& destination, HBITMAP source, int left, int top, int right,
              int bottom) {
    if (!source)
        return;
    destination.reset();
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0)
        return;
    win::unique_hbitmap cut = NewImageBitmap(width, height);
    const ScratchDc from, to;
    if (!cut || !from || !to)
        return;
    {
        win::select_object s1(from.get(), source);
        win::select_object s2(to.get(), cut.get());
        ::BitBlt(to.get(), 0, 0, width, height, from.get(), left, top, SRCCOPY);
    }
    destination = std::move(cut);
}

void CutStateImages(const HBITMAP sheets[4], int left, int top, int right, int bottom,
                    StateImages& images) {
    images = StateImages{};
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0 || !(sheets[0] || sheets[1] || sheets[2] || sheets[3]))
        return;
    win::unique_hbitmap strip = NewImageBitmap(width * 4, height);
    const ScratchDc from, to;
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
    const ScratchDc mem;
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
        const ScratchDc dc;
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
