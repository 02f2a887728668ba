// Gallery: opens any skin description file as a bare skinned window with a
// control at every BUTTONPOS slot, for reviewing the artwork and taking
// screenshots. Every button latches when clicked, so all four images of a
// control can be seen; a control whose record is called "Close" closes it.
//
//   gallery.exe skins\skin_main.ini [skins\skin_button_page.ini] [--latch 39,5]
//               [--mouse 1] [--seconds 5]
//
// A second file is shown as a page inside the first one's page area (slot 42).
// --latch latches slots of the first file, --mouse shows "Mouse\mouse_N.jpg"
// in the picture slot, --seconds closes the gallery after that time.
// The last word of a record's name picks the control: "slider", "edit",
// "list", "picture", "label", "swatch"; "area" gets none; all others are buttons.

#include "skin/bitmap_edit_win.h"
#include "skin/click_hslider_win.h"
#include "skin/picture_window_win.h"
#include "skin/skin_button_win.h"
#include "skin/skin_window_win.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace gm::skin;

// The default functions of buttons 1-15, shown as captions.
const char* const kDefaultCaptions[15] = {"Left click", "Right click", "Middle click",  "Back",
                                          "Forward",    "CPI cycle",   "Profile cycle", "Disabled",
                                          "Disabled",   "Disabled",    "Disabled",      "Disabled",
                                          "Disabled",   "Scroll left", "Scroll right"};

const COLORREF kSwatchColours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                                    RGB(0, 255, 255)};

std::string LastWord(const std::string& name) {
    const auto space = name.find_last_of(' ');
    return space == std::string::npos ? name : name.substr(space + 1);
}

// White text centred over a near-black fill, like the profile name labels.
class TextLabel : public WindowBase {
  public:
    bool Create(const RECT& rect, HWND parent, const std::string& text) {
        text_ = text;
        if (!RegisterClassOnce("GmGalleryLabel"))
            return false;
        return CreateWindowOf("GmGalleryLabel", 0, WS_CHILD | WS_VISIBLE, rect, parent);
    }

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
        if (msg != WM_PAINT)
            return Default(msg, wp, lp);
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd(), &ps);
        RECT r;
        ::GetClientRect(hwnd(), &r);
        HBRUSH fill = ::CreateSolidBrush(RGB(2, 2, 2));
        ::FillRect(dc, &r, fill);
        ::DeleteObject(fill);
        HFONT font = ::CreateFontA(12, 7, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 32,
                                   "Eurostile");
        HGDIOBJ old = ::SelectObject(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::DrawTextA(dc, text_.c_str(), int(text_.size()), &r,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
        ::EndPaint(hwnd(), &ps);
        return 0;
    }

  private:
    std::string text_;
};

class GalleryWindow : public SkinWindow {
  public:
    GalleryWindow(std::string folder, std::vector<int> latched, bool top, std::string mouse)
        : folder_(std::move(folder)), latched_(std::move(latched)), top_(top),
          mouse_(std::move(mouse)) {}

    RECT pageArea{};
    std::vector<std::unique_ptr<WindowBase>> controls;

  protected:
    void CreateControls(WindowSkin& skin) override {
        char keys[4096] = {};
        ::GetPrivateProfileStringA("BUTTONPOS", nullptr, "", keys, sizeof keys,
                                   skin.ini().path().c_str());
        int swatch = 0;
        for (const char* k = keys; *k; k += std::strlen(k) + 1) {
            const int slot = std::atoi(k);
            const ControlRecord record = skin.Record(slot);
            const std::string name = record.name;
            const std::string kind = LastWord(name);
            const RECT r{record.left, record.top, record.right, record.bottom};
            if (kind == "area") {
                pageArea = r;
            } else if (kind == "slider") {
                auto slider = std::make_unique<CclickHSlider>();
                const char* thumb = name.rfind("X ", 0) == 0   ? "scroll_arrow_up.bmp"
                                    : name.rfind("Y ", 0) == 0 ? "scroll_arrow_down2.bmp"
                                                               : "scroll_arrow_down.bmp";
                if (slider->Create(folder_ + thumb, r, hwnd(), 200 + slot)) {
                    slider->SetTrackImage(r.left, r.top, r.right, r.bottom, skin.background());
                    slider->SetRange(0, 10);
                    slider->SetRound(true);
                    slider->SetPos(3 + slot % 5);
                }
                controls.push_back(std::move(slider));
            } else if (kind == "edit") {
                auto edit = std::make_unique<BitmapEdit>();
                edit->Create(r, hwnd(), 4010, ES_AUTOHSCROLL);
                edit->SetColors(RGB(0, 0, 0), RGB(229, 229, 229));
                ::SetWindowTextA(edit->hwnd(), name.rfind("Repeat", 0) == 0 ? "1" : "Sample text");
                controls.push_back(std::move(edit));
            } else if (kind == "list") {
                HWND list = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL,
                                              r.left, r.top, r.right - r.left, r.bottom - r.top,
                                              hwnd(), nullptr, nullptr, nullptr);
                for (const char* line : {"Sample line 1", "Sample line 2", "Sample line 3"})
                    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
            } else if (kind == "picture") {
                auto picture = std::make_unique<PictureWindow>();
                picture->Create(r.left, r.top, r.right, r.bottom, hwnd());
                picture->SetPicture(folder_ + "Mouse\\" + mouse_);
                controls.push_back(std::move(picture));
            } else if (kind == "label") {
                auto label = std::make_unique<TextLabel>();
                const std::string number = name.substr(8, 1); // "Profile N name label"
                label->Create(r, hwnd(), number == "1" ? "Desktop" : "Game " + number);
                controls.push_back(std::move(label));
            } else {
                std::unique_ptr<SkinButton> button;
                if (kind == "swatch") {
                    auto s = std::make_unique<SwatchButton>();
                    s->SetColor(kSwatchColours[swatch++ % 4]);
                    button = std::move(s);
                } else {
                    button = std::make_unique<SkinButton>();
                }
                button->Create(record, hwnd());
                button->SetImages(record, skin.sheets());
                button->SetHoverText(record.text);
                button->SetToggle(true);
                for (int l : latched_)
                    if (l == slot)
                        button->SetLatched(true);
                if (name.rfind("Button ", 0) == 0) {
                    const int n = std::atoi(name.c_str() + 7);
                    if (n >= 1 && n <= 15)
                        button->SetCaption(kDefaultCaptions[n - 1]);
                } else if (name == "Player") {
                    button->SetCaption("Windows Media player");
                } else if (name == "Close") {
                    button->SetToggle(false);
                    closeButton_ = button->hwnd();
                }
                controls.push_back(std::move(button));
            }
        }
    }

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
        if (msg == WM_COMMAND && closeButton_ && reinterpret_cast<HWND>(lp) == closeButton_) {
            ::PostMessageA(top_ ? hwnd() : ::GetAncestor(hwnd(), GA_ROOT), WM_CLOSE, 0, 0);
            return 0;
        }
        if (msg == WM_KEYDOWN && wp == VK_ESCAPE) {
            ::PostMessageA(hwnd(), WM_CLOSE, 0, 0);
            return 0;
        }
        if (msg == WM_DESTROY && top_)
            ::PostQuitMessage(0);
        return SkinWindow::OnMessage(msg, wp, lp);
    }

  private:
    std::string folder_;
    std::vector<int> latched_;
    bool top_;
    std::string mouse_;
    HWND closeButton_ = nullptr;
};

std::vector<int> ParseList(const std::string& text) {
    std::vector<int> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        out.push_back(std::atoi(item.c_str()));
    return out;
}

// "skins\skin_main.ini" -> absolute folder with a trailing backslash and file name.
bool SplitPath(const std::string& arg, std::string& folder, std::string& file) {
    char full[MAX_PATH] = {};
    char* name = nullptr;
    if (!::GetFullPathNameA(arg.c_str(), MAX_PATH, full, &name) || !name)
        return false;
    file = name;
    folder.assign(full, name);
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::vector<std::string> files;
    std::vector<int> latched;
    std::string mouse = "mouse.jpg";
    int seconds = 0;
    for (int i = 1; i < __argc; ++i) {
        const std::string arg = __argv[i];
        if (arg == "--latch" && i + 1 < __argc)
            latched = ParseList(__argv[++i]);
        else if (arg == "--mouse" && i + 1 < __argc)
            mouse = std::string("mouse_") + __argv[++i] + ".jpg";
        else if (arg == "--seconds" && i + 1 < __argc)
            seconds = std::atoi(__argv[++i]);
        else
            files.push_back(arg);
    }
    if (files.empty()) {
        ::MessageBoxA(nullptr, "Usage: gallery.exe skins\\skin_main.ini [page.ini] [--latch 1,2]",
                      "Skin gallery", MB_OK);
        return 2;
    }
    std::string folder, file;
    if (!SplitPath(files[0], folder, file))
        return 2;
    GalleryWindow window(folder, latched, true, mouse);
    if (!window.Create(folder, file, SkinWindow::Kind::Popup, WS_POPUP, nullptr))
        return 1;
    std::unique_ptr<GalleryWindow> page;
    if (files.size() > 1) {
        std::string pageFolder, pageFile;
        if (SplitPath(files[1], pageFolder, pageFile)) {
            page = std::make_unique<GalleryWindow>(pageFolder, std::vector<int>{}, false, mouse);
            if (page->Create(pageFolder, pageFile, SkinWindow::Kind::Page, WS_CHILD | WS_VISIBLE,
                             window.hwnd())) {
                const RECT& a = window.pageArea;
                ::MoveWindow(page->hwnd(), a.left, a.top, a.right - a.left, a.bottom - a.top, TRUE);
            }
        }
    }
    ::SetWindowPos(window.hwnd(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::ShowWindow(window.hwnd(), SW_SHOW);
    ::UpdateWindow(window.hwnd());
    if (seconds > 0)
        ::SetTimer(nullptr, 0, UINT(seconds) * 1000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
