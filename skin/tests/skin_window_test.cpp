// Skin files, pictures and window outlines against the real platform.
#include "skin/picture_win.h"
#include "skin/picture_window_win.h"
#include "skin/scratch_dc_win.h"
#include "skin/skin_ini_file_win.h"
#include "skin/skin_images_win.h"
#include "skin/tests/skin_fixture.h"

#include <gtest/gtest.h>

namespace gm::skin {
namespace {

using gm::test::TestFolder;
using test::Canvas;
using test::RecordingWindow;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBackground = RGB(40, 90, 160);

// An 8 x 6 picture of one colour, about RGB(200, 30, 30), in JPEG form.
const unsigned char kRedJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0B, 0x08, 0x09, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x06, 0x08,
    0x0B, 0x0C, 0x0B, 0x0A, 0x0C, 0x09, 0x0A, 0x0A, 0x0A, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0A, 0x07, 0x06, 0x07, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0xFF, 0xC0,
    0x00, 0x11, 0x08, 0x00, 0x06, 0x00, 0x08, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0xFF, 0xC4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xC4, 0x00,
    0x15, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x07, 0x09, 0xFF, 0xC4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01,
    0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00, 0x21, 0x82, 0xD5, 0x51, 0xFF, 0xD9};

void WriteIni(const TestFolder& dir, const std::string& name, const std::string& text) {
    TestFolder::WriteFile(dir / name, text);
}

TEST(SkinFiles, ReadsValuesAndRecordsAndMissingOnesAreEmpty) {
    TestFolder dir;
    WriteIni(dir, "skin_test.ini",
             "[SCREEN]\r\nNormal=bg.bmp\r\n[BUTTONPOS]\r\n2=browser1,281,172,30,20, Open \r\n");
    const SkinIniFile ini(dir / "skin_test.ini");
    EXPECT_EQ(ini.ReadString("SCREEN", "Normal"), "bg.bmp");
    EXPECT_EQ(ini.ReadString("SCREEN", "Mask"), "");
    const ControlRecord r = ini.Record(2);
    EXPECT_EQ(r.name, "browser1");
    EXPECT_EQ(r.right, 311);
    EXPECT_EQ(r.text, "Open");
    EXPECT_TRUE(ini.Record(3).Empty());
    EXPECT_EQ(SkinIniFile(dir / "missing.ini").ReadString("SCREEN", "Normal"), "");
}

TEST(SkinPictures, LoadsBmpAndJpegAndFailsCleanly) {
    TestFolder dir;
    test::WriteBmp(dir / "two.bmp", 7, 5,
                   [](int x, int) { return x < 3 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
    win::unique_hbitmap bmp;
    SIZE size{};
    ASSERT_TRUE(LoadPicture(dir / "two.bmp", bmp, size));
    EXPECT_EQ(size.cx, 7);
    EXPECT_EQ(size.cy, 5);
    const Canvas c(7, 5, [&](HDC dc) { DrawBitmap(dc, bmp.get()); });
    EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(c.At(6, 4), RGB(0, 0, 255));

    TestFolder::WriteFile(dir / "red.jpg",
                          std::string(reinterpret_cast<const char*>(kRedJpeg), sizeof kRedJpeg));
    win::unique_hbitmap jpg;
    ASSERT_TRUE(LoadPicture(dir / "red.jpg", jpg, size));
    EXPECT_EQ(size.cx, 8);
    EXPECT_EQ(size.cy, 6);
    const COLORREF px = Canvas(8, 6, [&](HDC dc) { DrawBitmap(dc, jpg.get()); }).At(4, 3);
    EXPECT_NEAR(GetRValue(px), 200, 12);
    EXPECT_NEAR(GetGValue(px), 30, 12);

    // A failed load leaves the bitmap empty, never the previous image.
    EXPECT_FALSE(LoadPicture(dir / "missing.bmp", bmp, size));
    EXPECT_FALSE(bmp);
    EXPECT_EQ(size.cx, 0);
    TestFolder::WriteFile(dir / "junk.bmp", "not a picture at all");
    EXPECT_FALSE(LoadPicture(dir / "junk.bmp", jpg, size));
    EXPECT_FALSE(jpg);
    EXPECT_FALSE(LoadPicture(dir.path(), jpg, size)) << "a missing key names the folder itself";
}

TEST(SkinPictures, CutImageCopiesOneToOneAndKeepsTheOldImageForAnEmptySource) {
    TestFolder dir;
    test::WriteBmp(dir / "sheet.bmp", 20, 10, [](int x, int y) { return RGB(x * 10, y * 20, 7); });
    win::unique_hbitmap sheet;
    SIZE size{};
    ASSERT_TRUE(LoadPicture(dir / "sheet.bmp", sheet, size));
    win::unique_hbitmap cut;
    CutImage(cut, sheet.get(), 5, 2, 9, 8);
    ASSERT_TRUE(cut);
    EXPECT_EQ(BitmapSize(cut.get()).cx, 4);
    EXPECT_EQ(BitmapSize(cut.get()).cy, 6);
    const Canvas c(4, 6, [&](HDC dc) { DrawBitmap(dc, cut.get()); });
    EXPECT_EQ(c.At(0, 0), RGB(50, 40, 7));
    EXPECT_EQ(c.At(3, 5), RGB(80, 140, 7));

    const HBITMAP before = cut.get();
    CutImage(cut, nullptr, 0, 0, 4, 4);
    EXPECT_EQ(cut.get(), before);
    CutImage(cut, sheet.get(), 5, 5, 5, 9);
    EXPECT_FALSE(cut) << "an empty rectangle gives an empty image";
}

// A lent DC must come back as it was lent: whatever one borrower selected or
// set is gone for the next, and a bitmap it selected can be deleted.
TEST(SkinPictures, ALentDcComesBackAsItWasLentAndNestedLoansGetTheirOwn) {
    win::unique_hbitmap image = NewImageBitmap(8, 8);
    ASSERT_TRUE(image);
    HDC first = nullptr;
    {
        const ScratchDc dc;
        ASSERT_TRUE(dc);
        first = dc.get();
        ::SelectObject(dc.get(), image.get());
        ::SetTextColor(dc.get(), RGB(1, 2, 3));
        ::SetBkMode(dc.get(), TRANSPARENT);
        const ScratchDc inner;
        ASSERT_TRUE(inner);
        EXPECT_NE(inner.get(), dc.get()) << "a loan inside a loan gets another DC";
    }
    EXPECT_TRUE(::DeleteObject(image.release())) << "the bitmap was deselected on return";
    const ScratchDc again;
    ASSERT_TRUE(again);
    EXPECT_EQ(again.get(), first) << "the DC is lent again, not made anew";
    EXPECT_NE(::GetTextColor(again.get()), RGB(1, 2, 3));
    EXPECT_EQ(::GetBkMode(again.get()), OPAQUE);
    BITMAP bm{};
    ASSERT_TRUE(::GetObjectA(::GetCurrentObject(again.get(), OBJ_BITMAP), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 1) << "nothing but the DC's own 1 x 1 bitmap is selected";
}

TEST(SkinPictures, ASkinsImagesAreTheFilesItNamesAndWhatIsMissingStaysEmpty) {
    TestFolder dir;
    test::WriteBmp(dir / "n.bmp", 6, 4, [](int x, int y) { return RGB(x * 40, y * 60, 9); });
    test::WriteSolidBmp(dir / "m.bmp", 6, 4, RGB(0, 0, 0));
    WriteIni(dir, "skin_p.ini", "[SCREEN]\r\nNormal=n.bmp\r\nMask=m.bmp\r\nOver=gone.bmp\r\n");
    const SkinImages images = LoadSkinImages(dir.path(), SkinIniFile(dir.path() + "skin_p.ini"));
    ASSERT_TRUE(images.normal);
    EXPECT_TRUE(images.mask);
    EXPECT_FALSE(images.over) << "a missing file stays empty";
    EXPECT_FALSE(images.down) << "a key the file lacks stays empty";
    const Canvas c(6, 4, [&](HDC dc) { DrawBitmap(dc, images.normal.get()); });
    EXPECT_EQ(c.At(5, 3), RGB(200, 180, 9));

    RecordingWindow window;
    ASSERT_TRUE(
        window.Create(dir.path(), "skin_p.ini", SkinWindow::Kind::Popup, WS_POPUP, nullptr));
    EXPECT_EQ(window.skin().size().cx, 6);
    EXPECT_EQ(Canvas(6, 4, [&](HDC dc) { window.skin().Paint(dc); }).At(5, 3), RGB(200, 180, 9));
    window.Destroy();

    const SkinImages none = LoadSkinImages(dir.path(), SkinIniFile(dir.path() + "no_such.ini"));
    EXPECT_FALSE(none.normal || none.mask) << "a missing skin file names nothing";
}

class SkinnedWindowTest : public ::testing::Test {
  protected:
    void WriteSkin(const std::function<COLORREF(int, int)>& mask, int w = 60, int h = 40) {
        test::WriteSolidBmp(dir / "bg.bmp", w, h, kBackground);
        test::WriteBmp(dir / "mask.bmp", w, h, mask);
        WriteIni(dir, "skin_test.ini", "[SCREEN]\r\nNormal=bg.bmp\r\nMask=mask.bmp\r\n");
    }
    bool Open(const std::string& ini = "skin_test.ini") {
        return window.Create(dir.path(), ini, SkinWindow::Kind::Popup, WS_POPUP, nullptr);
    }
    bool Inside(int x, int y) {
        win::unique_hrgn r(::CreateRectRgn(0, 0, 0, 0));
        if (::GetWindowRgn(window.hwnd(), r.get()) == ERROR)
            return true; // rectangular
        return ::PtInRegion(r.get(), x, y) != FALSE;
    }
    TestFolder dir;
    RecordingWindow window;
};

TEST_F(SkinnedWindowTest, TakesTheSizeOfItsBackgroundAndTheShapeOfItsMask) {
    // A ring: white outside (2..57, 3..36), a white hole in the middle, and
    // one off-white pixel in the hole that still counts as inside.
    WriteSkin([](int x, int y) {
        const bool body = x >= 2 && x < 58 && y >= 3 && y < 37;
        const bool hole = x >= 20 && x < 40 && y >= 15 && y < 25;
        if (x == 30 && y == 20)
            return RGB(254, 255, 255);
        return body && !hole ? RGB(0, 0, 0) : kWhite;
    });
    ASSERT_TRUE(Open());
    RECT r{};
    ::GetWindowRect(window.hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 60);
    EXPECT_EQ(r.bottom - r.top, 40);
    EXPECT_EQ(window.skin().size().cx, 60);

    EXPECT_TRUE(Inside(2, 3));
    EXPECT_TRUE(Inside(57, 36));
    EXPECT_FALSE(Inside(1, 3));
    EXPECT_FALSE(Inside(58, 10));
    EXPECT_FALSE(Inside(10, 37));
    EXPECT_FALSE(Inside(25, 18)) << "the hole";
    EXPECT_TRUE(Inside(30, 20)) << "off-white is inside";

    const Canvas c(60, 40, [&](HDC dc) { window.Paint(dc); });
    EXPECT_EQ(c.At(0, 0), kBackground) << "the background is painted one to one";
    EXPECT_EQ(c.At(59, 39), kBackground);
}

TEST_F(SkinnedWindowTest, ManyRunsGiveTheSameOutlineInSeveralBatches) {
    // A checkerboard: 100 x 60 / 2 = 3000 one-pixel runs, more than one batch.
    WriteSkin([](int x, int y) { return (x + y) % 2 ? kWhite : RGB(10, 10, 10); }, 100, 60);
    ASSERT_TRUE(Open());
    win::unique_hrgn outline(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(window.hwnd(), outline.get()), ERROR);
    int mismatches = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            mismatches += (::PtInRegion(outline.get(), x, y) != FALSE) != ((x + y) % 2 == 0);
    EXPECT_EQ(mismatches, 0);
}

TEST_F(SkinnedWindowTest, AnAllWhiteMaskGivesAnEmptyWindowThatStillExists) {
    WriteSkin([](int, int) { return kWhite; });
    ASSERT_TRUE(Open());
    win::unique_hrgn r(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(window.hwnd(), r.get()), NULLREGION);
    EXPECT_TRUE(::IsWindow(window.hwnd()));
}

TEST_F(SkinnedWindowTest, MissingSkinFileOrMaskLeavesARectangularWindow) {
    ASSERT_TRUE(Open("no_such_skin.ini"));
    win::unique_hrgn r(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(window.hwnd(), r.get()), ERROR) << "no region: rectangular";
    RECT wr{};
    ::GetWindowRect(window.hwnd(), &wr);
    EXPECT_GT(wr.right - wr.left, 0) << "keeps the size it was created with";
    EXPECT_FALSE(window.skin().background());
    window.Destroy();

    test::WriteSolidBmp(dir / "bg.bmp", 30, 20, kBackground);
    WriteIni(dir, "skin_nomask.ini", "[SCREEN]\r\nNormal=bg.bmp\r\nMask=gone.bmp\r\n");
    ASSERT_TRUE(Open("skin_nomask.ini"));
    EXPECT_EQ(::GetWindowRgn(window.hwnd(), r.get()), ERROR);
    EXPECT_EQ(window.skin().size().cx, 30);
}

TEST(PictureWindowTest, ShowsItsPictureAndNothingForAMissingFile) {
    TestFolder dir;
    test::WriteSolidBmp(dir / "mouse_3.bmp", 12, 9, RGB(0, 200, 0));
    RecordingWindow parent;
    ASSERT_TRUE(parent.Create(dir.path(), "none.ini", SkinWindow::Kind::Page, WS_POPUP, nullptr));
    PictureWindow picture;
    ASSERT_TRUE(picture.Create(0, 0, 12, 9, parent.hwnd()));
    ASSERT_TRUE(picture.SetPicture(dir / "mouse_3.bmp"));
    EXPECT_EQ(Canvas(12, 9, [&](HDC dc) { picture.Paint(dc); }).At(5, 5), RGB(0, 200, 0));
    EXPECT_FALSE(picture.SetPicture(dir / "mouse_9.bmp"));
    EXPECT_EQ(Canvas(12, 9, [&](HDC dc) { picture.Paint(dc); }).At(5, 5), RGB(1, 2, 3))
        << "nothing drawn";
}

} // namespace
} // namespace gm::skin
