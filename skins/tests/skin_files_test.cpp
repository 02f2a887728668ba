// Every skin description file of the shipped skin folder: the slots its
// window reads, the images it names and the images the programs name directly.
#include "skin/picture_win.h"
#include "skin/skin_ini_file_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace gm::skin {
namespace {

std::string SkinFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "skins\\";
}

std::vector<int> Range(int first, int last, std::vector<int> more = {}) {
    for (int i = first; i <= last; ++i)
        more.push_back(i);
    return more;
}

struct Window {
    const char* file;
    std::vector<int> slots;   // every BUTTONPOS key the window reads
    std::set<int> notButtons; // slots that are not image buttons
    bool page = false;        // placed in the main dialog's page area
};

const std::vector<Window>& Windows() {
    static const std::vector<Window> windows = {
        {"skin_main.ini", Range(1, 19, Range(35, 39, {42, 51})), {15, 16, 17, 18, 19, 42}},
        {"skin_button_page.ini", Range(20, 39), {35}, true},
        {"skin_advance_page.ini", {2, 3, 4, 5, 17, 18}, {18}, true},
        {"skin_color_page.ini", Range(2, 26), {}, true},
        {"skin_sensitivity_page.ini", Range(2, 14), {3, 4}, true},
        {"skin_system_page.ini", {2, 4, 5, 6, 7, 8, 9, 10, 11}, {5, 6, 7, 8}, true},
        {"skin_cpi_color.ini", {1, 2, 3, 5, 6, 7, 8, 9, 10, 11}, {}},
        {"skin_delete_macro_warn.ini", {1, 2, 3}, {}},
        {"skin_macro_manager.ini", Range(1, 11), {6, 10, 11}},
        {"skin_profile.ini", Range(1, 6), {1, 2}},
        {"skin_shortcut.ini", {2, 3, 4, 5, 6, 7, 8, 10}, {10}},
        {"skin_lanuch_program.ini", Range(1, 5), {1}},
        {"skin_select_player.ini", Range(1, 4), {}},
        {"skin_click_warn.ini", {1, 2, 3}, {}},
        {"skin_reset_warn.ini", {1, 2, 3}, {}},
        {"skin_macro_set_warn.ini", {1, 2}, {}},
    };
    return windows;
}

SkinIniFile Ini(const char* file) {
    return SkinIniFile(SkinFolder() + file);
}

RECT RectOf(const ControlRecord& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

SIZE PictureSize(const std::string& path) {
    win::unique_hbitmap bitmap;
    SIZE size{};
    LoadPicture(path, bitmap, size);
    return size;
}

// The 32-bit pixels of `bitmap` inside `r`.
std::vector<uint32_t> Pixels(HBITMAP bitmap, const RECT& r) {
    const SIZE s = BitmapSize(bitmap);
    std::vector<uint32_t> all(size_t(s.cx) * s.cy);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), s.cx, -s.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = ::GetDC(nullptr);
    ::GetDIBits(dc, bitmap, 0, UINT(s.cy), all.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    std::vector<uint32_t> out;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            out.push_back(all[size_t(y) * s.cx + x] & 0xFFFFFF);
    return out;
}

void PrintTo(const Window& w, std::ostream* out) {
    *out << w.file;
}

class SkinFile : public ::testing::TestWithParam<Window> {};

TEST_P(SkinFile, NamesFiveSheetsOfOneSize) {
    const SkinIniFile ini = Ini(GetParam().file);
    const std::string normal = ini.ReadString("SCREEN", "Normal");
    ASSERT_FALSE(normal.empty()) << ini.path();
    const SIZE size = PictureSize(SkinFolder() + normal);
    ASSERT_GT(size.cx, 0) << normal;
    ASSERT_GT(size.cy, 0) << normal;
    for (const char* key : {"Over", "Down", "Disable", "Mask"}) {
        const std::string name = ini.ReadString("SCREEN", key);
        ASSERT_FALSE(name.empty()) << key;
        const SIZE s = PictureSize(SkinFolder() + name);
        EXPECT_EQ(s.cx, size.cx) << name;
        EXPECT_EQ(s.cy, size.cy) << name;
    }
}

TEST_P(SkinFile, EverySlotLiesInsideTheWindowOutline) {
    const SkinIniFile ini = Ini(GetParam().file);
    win::unique_hbitmap normal, mask;
    SIZE size{}, maskSize{};
    ASSERT_TRUE(LoadPicture(SkinFolder() + ini.ReadString("SCREEN", "Normal"), normal, size));
    ASSERT_TRUE(LoadPicture(SkinFolder() + ini.ReadString("SCREEN", "Mask"), mask, maskSize));
    win::unique_hrgn outline = RegionFromMask(mask.get());
    ASSERT_TRUE(outline);
    // Shaped, not a plain rectangle.
    RECT box{};
    EXPECT_EQ(::GetRgnBox(outline.get(), &box), COMPLEXREGION);
    for (int slot : GetParam().slots) {
        const ControlRecord record = ini.Record(slot);
        SCOPED_TRACE("slot " + std::to_string(slot) + " \"" + record.name + "\"");
        ASSERT_FALSE(record.name.empty());
        EXPECT_LT(record.left, record.right);
        EXPECT_LT(record.top, record.bottom);
        EXPECT_GE(record.left, 0);
        EXPECT_GE(record.top, 0);
        EXPECT_LE(record.right, size.cx);
        EXPECT_LE(record.bottom, size.cy);
        for (POINT p :
             {POINT{record.left + 1, record.top + 1}, POINT{record.right - 2, record.top + 1},
              POINT{record.left + 1, record.bottom - 2},
              POINT{record.right - 2, record.bottom - 2}})
            EXPECT_TRUE(::PtInRegion(outline.get(), p.x, p.y)) << p.x << "," << p.y;
    }
}

// Overlapping controls would hide one another and steal each other's clicks.
TEST_P(SkinFile, NoTwoSlotsOverlap) {
    const SkinIniFile ini = Ini(GetParam().file);
    const std::vector<int>& slots = GetParam().slots;
    for (size_t a = 0; a < slots.size(); ++a)
        for (size_t b = a + 1; b < slots.size(); ++b) {
            const RECT ra = RectOf(ini.Record(slots[a]));
            const RECT rb = RectOf(ini.Record(slots[b]));
            RECT both{};
            EXPECT_FALSE(::IntersectRect(&both, &ra, &rb))
                << "slots " << slots[a] << " and " << slots[b];
        }
}

TEST_P(SkinFile, EveryButtonHasFourDifferentImages) {
    const SkinIniFile ini = Ini(GetParam().file);
    win::unique_hbitmap sheets[4];
    SIZE size{};
    const char* keys[4] = {"Normal", "Over", "Down", "Disable"};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(LoadPicture(SkinFolder() + ini.ReadString("SCREEN", keys[i]), sheets[i], size));
    for (int slot : GetParam().slots) {
        if (GetParam().notButtons.count(slot))
            continue;
        const RECT r = RectOf(ini.Record(slot));
        std::vector<uint32_t> images[4];
        for (int i = 0; i < 4; ++i)
            images[i] = Pixels(sheets[i].get(), r);
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                EXPECT_TRUE(images[a] != images[b])
                    << "slot " << slot << ": " << keys[a] << " and " << keys[b] << " look the same";
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, SkinFile, ::testing::ValuesIn(Windows()),
                         [](const ::testing::TestParamInfo<Window>& info) {
                             std::string name = info.param.file;
                             name = name.substr(5, name.size() - 9); // "skin_" ... ".ini"
                             for (char& c : name)
                                 if (c == '_')
                                     c = 'X';
                             return name;
                         });

// Every page is moved into the main dialog's page area and must fill it.
TEST(Pages, HaveTheSizeOfThePageArea) {
    const RECT area = RectOf(Ini("skin_main.ini").Record(42));
    for (const Window& w : Windows()) {
        if (!w.page)
            continue;
        const SIZE size = PictureSize(SkinFolder() + Ini(w.file).ReadString("SCREEN", "Normal"));
        EXPECT_EQ(size.cx, area.right - area.left) << w.file;
        EXPECT_EQ(size.cy, area.bottom - area.top) << w.file;
    }
}

// The thumbs load the way the sliders load them, and fit every track.
TEST(NamedImages, SliderThumbsFitTheirTracks) {
    struct Track {
        const char* file;
        int slot;
        const char* thumb;
    };
    const Track tracks[] = {
        {"skin_advance_page.ini", 18, "scroll_arrow_down.bmp"},
        {"skin_sensitivity_page.ini", 3, "scroll_arrow_up.bmp"},
        {"skin_sensitivity_page.ini", 4, "scroll_arrow_down2.bmp"},
        {"skin_system_page.ini", 5, "scroll_arrow_down.bmp"},
        {"skin_system_page.ini", 6, "scroll_arrow_down.bmp"},
        {"skin_system_page.ini", 7, "scroll_arrow_down.bmp"},
        {"skin_system_page.ini", 8, "scroll_arrow_down.bmp"},
    };
    for (const Track& t : tracks) {
        win::unique_hbitmap thumb(static_cast<HBITMAP>(::LoadImageA(
            nullptr, (SkinFolder() + t.thumb).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
        ASSERT_TRUE(thumb) << t.thumb;
        const SIZE s = BitmapSize(thumb.get());
        const ControlRecord r = Ini(t.file).Record(t.slot);
        EXPECT_LE(s.cy, r.bottom - r.top) << t.file << " slot " << t.slot;
        EXPECT_LT(s.cx * 4, r.right - r.left) << t.file << " slot " << t.slot;
    }
    // The stage control's own track is (30, 23)-(272, 38).
    win::unique_hbitmap thumb(
        static_cast<HBITMAP>(::LoadImageA(nullptr, (SkinFolder() + "scroll_arrow_down.bmp").c_str(),
                                          IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    EXPECT_LE(BitmapSize(thumb.get()).cy, 38 - 23);
}

TEST(NamedImages, RecordButtonImagesHaveTheButtonsSize) {
    const ControlRecord r = Ini("skin_macro_manager.ini").Record(7);
    for (const char* action : {"start", "stop"})
        for (const char* state : {"normal", "over", "down"}) {
            const std::string file = std::string(action) + "_record_" + state + ".bmp";
            const SIZE s = PictureSize(SkinFolder() + file);
            EXPECT_EQ(s.cx, r.right - r.left) << file;
            EXPECT_EQ(s.cy, r.bottom - r.top) << file;
        }
}

TEST(NamedImages, StageOutlineHasTheStageSizeAndHoldsItsInnerLayout) {
    const SIZE mask = PictureSize(SkinFolder() + "DPI_Window_Mask.bmp");
    const SkinIniFile ini = Ini("skin_sensitivity_page.ini");
    for (int slot = 5; slot <= 10; ++slot) {
        const ControlRecord r = ini.Record(slot);
        EXPECT_EQ(r.right - r.left, mask.cx) << "slot " << slot;
        EXPECT_EQ(r.bottom - r.top, mask.cy) << "slot " << slot;
    }
    // The slider reaches x 272 and the enable box y 41.
    EXPECT_GE(mask.cx, 272);
    EXPECT_GE(mask.cy, 41);
}

TEST(NamedImages, MousePicturesFillThePictureRectangle) {
    const ControlRecord r = Ini("skin_button_page.ini").Record(35);
    std::vector<std::string> files = {"mouse.jpg"};
    for (int i = 1; i <= 9; ++i)
        files.push_back("mouse_" + std::to_string(i) + ".jpg");
    for (const std::string& file : files) {
        const SIZE s = PictureSize(SkinFolder() + "Mouse\\" + file);
        EXPECT_EQ(s.cx, r.right - r.left) << file;
        EXPECT_EQ(s.cy, r.bottom - r.top) << file;
    }
}

TEST(NamedImages, ResourceBitmapsAndIconsLoad) {
    for (int id : {135, 137, 138, 146}) {
        const std::string file = SkinFolder() + "res\\bitmap" + std::to_string(id) + ".bmp";
        win::unique_hbitmap b(static_cast<HBITMAP>(
            ::LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
        ASSERT_TRUE(b) << file;
        // One list line is 18 pixels high and the icon is drawn 2 pixels down.
        EXPECT_EQ(BitmapSize(b.get()).cx, 16) << file;
        EXPECT_LE(BitmapSize(b.get()).cy, 16) << file;
    }
    for (int id : {128, 145}) {
        const std::string file = SkinFolder() + "res\\icon" + std::to_string(id) + ".ico";
        HICON icon = static_cast<HICON>(
            ::LoadImageA(nullptr, file.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
        EXPECT_TRUE(icon) << file;
        if (icon)
            ::DestroyIcon(icon);
    }
}

} // namespace
} // namespace gm::skin
