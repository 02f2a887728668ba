#pragma once
// Skin images: decoding files into bitmaps, cutting control images out of
// full-window sheets, and window outlines from mask images.

#include "win/handles.h"

#include <windows.h>

#include <string>

namespace gm::skin {

// Decodes a BMP file (after checking it, see bmp_layout.h) or a JPEG file
// (whatever the platform picture loader reads) into `bitmap`, replacing what
// it held, and returns its size. On failure the bitmap is left empty, the
// size 0 x 0, and false returned. Safe on any thread.
bool LoadPicture(const std::string& path, win::unique_hbitmap& bitmap, SIZE& size);

// A new 32-bit top-down bitmap of the size given (none when empty), the
// kind every image of the toolkit is kept and buffered in. Unlike a bitmap
// compatible with the screen, selecting it into a DC costs no round trip to
// the display settings under Wine. With `bits`, its pixels' address (BGRA,
// rows of `width` pixels) goes there.
win::unique_hbitmap NewImageBitmap(int width, int height, void** bits = nullptr);

// Copies the pixels of `source` at [left, right) x [top, bottom) into a new
// image bitmap (see NewImageBitmap). An empty source leaves `destination`
// as it was; an empty rectangle leaves it empty.
void CutImage(win::unique_hbitmap& destination, HBITMAP source, int left, int top, int right,
              int bottom);

// The state images of one control (rest, hover, pressed, disabled), cut
// side by side into one bitmap: state i is the `width` x `height` cell at
// x = i * width. A state whose sheet is missing is not present.
struct StateImages {
    win::unique_hbitmap strip;
    int width = 0;
    int height = 0;
    unsigned present = 0; // bit i: state i was cut
    bool Has(int state) const { return strip && (present >> state & 1u); }
};

// Cuts [left, right) x [top, bottom) out of each of the four sheets (any may
// be null) into `images`, replacing what it held. One image bitmap and one
// pair of memory DCs serve all four: a control costs one
// allocation instead of four, and no window DC. An empty rectangle, or no
// sheet at all, leaves `images` empty.
void CutStateImages(const HBITMAP sheets[4], int left, int top, int right, int bottom,
                    StateImages& images);

// Draws state `state` of `images` at (x, y) of `dc`; nothing when absent.
void DrawStateImage(HDC dc, const StateImages& images, int state, int x = 0, int y = 0);

// The union of all pixels of `mask` outside the key colour range, or no
// region when the mask holds no image. A mask that is all key colour gives an
// empty region.
win::unique_hrgn RegionFromMask(HBITMAP mask, COLORREF key = RGB(255, 255, 255), int tolerance = 0);

// Size of a bitmap, 0 x 0 when there is none.
SIZE BitmapSize(HBITMAP bitmap);

} // namespace gm::skin
