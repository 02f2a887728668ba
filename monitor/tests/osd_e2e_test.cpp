// The monitor and the real OSD.exe together: what the display shows after a
// profile switch and a macro press on the virtual mouse, compared pixel for
// pixel with what it shows when told that text directly.
#include "monitor/tests/actions_fixture.h"
#include "shared/tests/damage.h"
#include "shared/private_profile_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gm::test {
namespace {

// What the screen shows inside a window's rectangle.
struct Shot {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    bool operator==(const Shot&) const = default;
    // Whether every pixel of colour `rgb` keeps at least `mx` pixels from
    // the left and right edges and `my` from the top and bottom: the text
    // fits inside the window with its margins, nothing is cut.
    bool InsideMargins(uint32_t rgb, int mx, int my) const {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (pixels[std::size_t(y * width + x)] == rgb &&
                    (x < mx || x >= width - mx || y < my || y >= height - my))
                    return false;
        return true;
    }
    int Count(uint32_t rgb) const {
        int n = 0;
        for (uint32_t p : pixels)
            n += p == rgb;
        return n;
    }
};

Shot Capture(HWND w) {
    RECT r{};
    ::GetWindowRect(w, &r);
    Shot s{int(r.right - r.left), int(r.bottom - r.top), {}};
    if (s.width <= 0 || s.height <= 0)
        return s;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), s.width, -s.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, s.width, s.height, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < s.width * s.height; ++i)
        s.pixels.push_back(p[i] & 0xFFFFFF);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return s;
}

constexpr uint32_t kWhite = 0xFFFFFF;

class OsdTest : public ActionsTest {
  protected:
    OsdTest() { realOsd_ = true; }
    // Profile and macro notices on: offsets 8 and 12 of the display settings.
    void BeforeStart() override {
        uint8_t record[348] = {};
        record[8] = 1;
        record[12] = 1;
        PrivateProfileFile config(dir() + "config.ini");
        ASSERT_TRUE(config.WriteStruct("OSDSetting", "config", record, sizeof record));
    }
    HWND Osd() const { return ::FindWindowA(nullptr, kOsdWindow); }
    // The display told to show `text` as its message text, as the screen has it.
    Shot Reference(const std::string& text) {
        ::WritePrivateProfileStringA("OSDData", "Message", text.c_str(),
                                     (dir() + "config.ini").c_str());
        ::PostMessageA(Osd(), 1324, 50, 0);
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Osd()) != FALSE; }));
        Settle(400);
        return Capture(Osd());
    }
    // Waits until the display shows `expected`; the last picture seen otherwise.
    Shot WaitForShot(const Shot& expected) {
        Shot seen;
        PumpUntil([&] {
            if (!::IsWindowVisible(Osd()))
                return false;
            seen = Capture(Osd());
            return seen == expected;
        });
        return seen;
    }
};

TEST_F(OsdTest, ProfileButtonAndMacroButtonShowTheirNoticesOnTheDisplay) {
    ASSERT_TRUE(PumpUntil([&] { return Osd() != nullptr; })) << "the monitor starts the display";
    // The mouse's own profile button, as its default table has it.
    ASSERT_EQ(Button(7).Get(btn::FunctionType), 21);
    const int next = (block.CurrentProfile() + 1) % 5;

    const Shot profile = Reference("Profile " + std::to_string(next + 1));
    const Shot macro = Reference("Burst");
    ASSERT_GT(profile.Count(kWhite), 50) << "the text is drawn, and the screen can be read";
    ASSERT_GT(macro.Count(kWhite), 50);
    ASSERT_NE(profile, macro);
    // The window is the text's extent plus 24 pixels each side and 12 above
    // and below; the drawn text keeps clear of the edges.
    EXPECT_TRUE(profile.InsideMargins(kWhite, 12, 4)) << profile.width << "x" << profile.height;
    EXPECT_TRUE(macro.InsideMargins(kWhite, 12, 4)) << macro.width << "x" << macro.height;

    Mouse("click 7");
    EXPECT_TRUE(WaitForShot(profile) == profile)
        << "the display shows \"Profile " << next + 1 << "\"";
    EXPECT_EQ(Config("OSDData", "Message"), "Profile " + std::to_string(next + 1));
    ASSERT_TRUE(shared.CopyIn(block));
    EXPECT_EQ(block.CurrentProfile(), next);

    // The macro button of the profile the mouse switched to.
    SetMacro(4, {{0xE1, P, 5}, {0xE1, R, 5}}, 1, "Burst");
    ApplyButtons({4});
    Mouse("click 4");
    EXPECT_TRUE(WaitForShot(macro) == macro) << "the display shows the macro's name";
    EXPECT_EQ(Config("MacroOSD", "Number"), "3");
    EXPECT_EQ(Config("MacroOSD", "MacroName"), "Burst");
}

// The display reads its texts from config.ini when told to show them; a
// damaged file gives a notice that fits on the screen, or none, and the
// display keeps answering.
TEST_F(OsdTest, ADamagedConfigFileNeverBreaksTheDisplay) {
    ASSERT_TRUE(PumpUntil([&] { return Osd() != nullptr; }));
    const std::string file = dir() + "config.ini";
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    const auto answers = [&] {
        DWORD_PTR r = 0;
        return ::SendMessageTimeoutA(Osd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &r) != 0;
    };
    const auto onScreen = [&] {
        RECT r{};
        return ::GetWindowRect(Osd(), &r) && r.left >= 0 && r.right <= screenW && r.right > r.left;
    };
    const std::string good = "[OSDData]\r\nMessage=Profile 2\r\n[MacroOSD]\r\nMacroName=Burst\r\n";
    struct Case {
        std::string what, text;
        WPARAM kind;
    };
    std::string binaryName = "[MacroOSD]\r\nMacroName=";
    for (int c = 1; c < 256; ++c)
        if (c != '\r' && c != '\n')
            binaryName += char(c);
    const Case cases[] = {
        {"a message far wider than the screen",
         "[OSDData]\r\nMessage=" + std::string(5000, 'W') + "\r\n", 50},
        {"a macro name of every byte", binaryName + "\r\n", 70},
        {"random bytes", Damaged(good, Damage::RandomBytes, 7) + good, 50},
        {"a truncated file", Damaged(good, Damage::Truncated), 50},
        {"random bytes before the section", Damaged(good, Damage::RandomBytes, 9) + good, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder::WriteFile(file, c.text);
        ::PostMessageA(Osd(), 1324, c.kind, 0);
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Osd()) != FALSE; }));
        EXPECT_TRUE(PumpUntil(onScreen)) << "the notice stays on the screen";
        EXPECT_TRUE(answers());
    }
    // No file at all: nothing to show, and still a display.
    ::DeleteFileA(file.c_str());
    ::PostMessageA(Osd(), 1324, 50, 0);
    ::PostMessageA(Osd(), 1324, 70, 0);
    EXPECT_TRUE(answers());
    // The notice that fills the screen is drawn, cut with an ellipsis.
    const Shot wide = Reference(std::string(5000, 'W'));
    EXPECT_EQ(wide.width, screenW);
    EXPECT_GT(wide.Count(kWhite), 50);
}

} // namespace
} // namespace gm::test
