#pragma once
// Skin images: decoding files into bitmaps, cutting control images out of
// full-window sheets, and window outlines from mask images.

#include "win/handles.h"

#include <windows.h>

#include <string>

namespace gm::skin {

// Decodes a BMP or JPEG file (whatever the platform picture loader reads)
// into `bitmap`, replacing what it held, and returns its size. On failure the
// bitmap is left empty, the size 0 x 0, and false returned.
bool LoadPicture(const std::string& path, win::unique_hbitmap& bitmap, SIZE& size);

// Copies the pixels of `source` at [left, right) x [top, bottom) into a new
// bitmap compatible with `reference`. An empty source leaves `destination`
// as it was; an empty rectangle leaves it empty.
void CutImage(HDC reference, win::unique_hbitmap& destination, HBITMAP source, int left, int top,
              int right, int bottom);

// The union of all pixels of `mask` outside the key colour range, or no
// region when the mask holds no image. A mask that is all key colour gives an
// empty region.
win::unique_hrgn RegionFromMask(HBITMAP mask, COLORREF key = RGB(255, 255, 255), int tolerance = 0);

// Size of a bitmap, 0 x 0 when there is none.
SIZE BitmapSize(HBITMAP bitmap);

} // namespace gm::skin
