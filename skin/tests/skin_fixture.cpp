#include "skin/tests/skin_fixture.h"

#include "skin/picture_win.h"

#include <fstream>

namespace gm::skin::test {

void WriteBmp(const std::string& path, int width, int height,
              const std::function<COLORREF(int, int)>& colour) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height; // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = DWORD(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<uint8_t> pixels(info.biSizeImage, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            uint8_t* p = &pixels[std::size_t((height - 1 - y) * stride + x * 3)];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size()));
}

void WriteSolidBmp(const std::string& path, int width, int height, COLORREF colour) {
    WriteBmp(path, width, height, [colour](int, int) { return colour; });
}

Canvas::Canvas(int width, int height, const std::function<void(HDC)>& paint)
    : width_(width), height_(height) {
    void* bits = nullptr;
    win::unique_hbitmap bitmap = NewImageBitmap(width, height, &bits);
    HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, bitmap.get());
    // A colour no test image uses, so "nothing drawn" shows.
    HBRUSH fill = ::CreateSolidBrush(RGB(1, 2, 3));
    RECT all{0, 0, width, height};
    ::FillRect(dc, &all, fill);
    ::DeleteObject(fill);
    paint(dc);
    ::GdiFlush();
    pixels_.assign(static_cast<uint32_t*>(bits),
                   static_cast<uint32_t*>(bits) + std::size_t(width * height));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

COLORREF Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    const uint32_t p = pixels_[std::size_t(y * width_ + x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void PumpMessages() {
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&m);
        ::DispatchMessageA(&m);
    }
}

std::vector<Received> RecordingWindow::Take(UINT msg) {
    PumpMessages();
    std::vector<Received> out, rest;
    for (const auto& r : received)
        (r.msg == msg ? out : rest).push_back(r);
    received = rest;
    return out;
}

LRESULT RecordingWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_COMMAND || (msg >= WM_USER && msg < 0x10000 && msg < kReflectBase))
        received.push_back({msg, wp, lp});
    else if (msg >= 0xC000 && msg <= 0xFFFF)
        received.push_back({msg, wp, lp}); // registered messages
    return SkinWindow::OnMessage(msg, wp, lp);
}

} // namespace gm::skin::test
