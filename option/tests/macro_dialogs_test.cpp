// The macro manager and the shortcut dialog driven as a user would: each
// runs in its own process (macro_dialog_host.exe) over a temporary install
// folder; this test presses the real keys (injected input that reaches the
// low-level keyboard hook), clicks the skinned buttons and the lists, and
// reads what the lists show and what the program leaves in its files.
#include "option/macros/macro_store_win.h"
#include "option/tests/macro_builder.h"
#include "shared/tests/message_pump.h"
#include "shared/tests/test_process.h"
#include "shared/tests/test_folder.h"
#include "skin/skin_ini_file_win.h"
#include "win/install_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace gm {
namespace {

using test::TestFolder;

constexpr char kManagerTitle[] = "Marbek Gaming Mouse Macro Manager";
constexpr char kShortcutTitle[] = "Marbek Shortcut Dialog";
constexpr DWORD kLimitMs = 15000; // a safety limit, never a measured time

bool WaitFor(const std::function<bool()>& done, DWORD limitMs = kLimitMs) {
    return test::PumpUntil(done, limitMs);
}

// A key as the keyboard would send it, through the system's input queue.
void Key(BYTE vk, bool up) {
    const BYTE scan = BYTE(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    ::keybd_event(vk, scan, up ? KEYEVENTF_KEYUP : 0, 0);
    ::Sleep(30);
}
void Tap(BYTE vk) {
    Key(vk, false);
    Key(vk, true);
}
void Type(const std::string& text) {
    for (char c : text)
        Tap(BYTE(::VkKeyScanA(c) & 0xFF));
}

std::string Events(const MacroRecord& r) {
    std::string s;
    for (int i = 0; i < r.Count(); ++i) {
        const MacroEvent e = r.Event(i);
        s += (s.empty() ? "" : " ") + std::to_string(e.keyCode) + (e.direction == 2 ? "-" : "+");
        if (e.delay)
            s += std::to_string(e.delay);
    }
    return s;
}

// With GM_SCREENSHOT_DIR set, the window as it shows on the screen into
// NAME.bmp there (the README's screenshots are made from these).
void Screenshot(HWND window, const char* name) {
    const char* dir = std::getenv("GM_SCREENSHOT_DIR");
    if (!dir || !*dir)
        return;
    ::Sleep(300); // the last repaint lands
    RECT r;
    ::GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = DWORD((w * 3 + 3) & ~3);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + stride * DWORD(h);
    if (FILE* f = std::fopen((std::string(dir) + "\\" + name + ".bmp").c_str(), "wb")) {
        std::fwrite(&fh, sizeof fh, 1, f);
        std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        std::fwrite(bits, stride, DWORD(h), f);
        std::fclose(f);
    }
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
}

// The folder as one command-line argument: a backslash before the closing
// quote would escape it.
std::string FolderArg(const TestFolder& folder) {
    std::string path = folder.path();
    path.pop_back();
    return "\"" + path + "\"";
}

// One run of macro_dialog_host.exe over a test folder.
class Host {
  public:
    Host(const TestFolder& folder, const std::string& args, const char* title) : folder_(folder) {
        std::string command = "\"" + win::InstallDir() + "macro_dialog_host.exe\" " + args;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        started_ = test::CreateTestProcess(command, nullptr, si, process_);
        if (started_)
            WaitFor([&] { return (window = ::FindWindowA(nullptr, title)) != nullptr; });
        if (window) {
            ::SetForegroundWindow(window);
            // The window is ready once its controls exist and it shows.
            WaitFor([&] { return ::IsWindowVisible(window) != FALSE; });
        }
    }
    ~Host() {
        if (started_) {
            if (const HWND rest = FindHostWindow())
                ::PostMessageA(rest, WM_CLOSE, 0, 0);
            ::WaitForSingleObject(process_.hProcess, 5000);
            if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
                ::TerminateProcess(process_.hProcess, 9);
            ::CloseHandle(process_.hProcess);
            ::CloseHandle(process_.hThread);
        }
    }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The dialog has ended and the program has written its result; the
    // program itself goes on running.
    bool Ended() {
        return WaitFor([&] { return !::IsWindow(window) && FindHostWindow() != nullptr; });
    }
    HWND FindHostWindow() const {
        HWND w = nullptr;
        while ((w = ::FindWindowExA(nullptr, w, "MacroDialogHost", nullptr)) != nullptr) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid == process_.dwProcessId)
                return w;
        }
        return nullptr;
    }
    // "key=value" lines of result.txt.
    int Result(const std::string& key) const {
        const std::string text = TestFolder::ReadFile(folder_ / "result.txt");
        const auto at = text.find(key + "=");
        return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size() + 1);
    }

    // The child at the rectangle of BUTTONPOS `slot` of `ini`.
    HWND Control(const char* ini, int slot) const { return ControlOf(window, ini, slot); }
    static HWND ControlOf(HWND dialog, const char* ini, int slot) {
        const skin::ControlRecord r = skin::SkinIniFile(win::SkinFolder() + ini).Record(slot);
        struct Search {
            HWND dialog;
            RECT want;
            HWND found;
        } s{dialog, RECT{r.left, r.top, r.right, r.bottom}, nullptr};
        ::EnumChildWindows(
            dialog,
            [](HWND child, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                if (::GetParent(child) != s->dialog)
                    return TRUE;
                RECT rc;
                ::GetWindowRect(child, &rc);
                ::MapWindowPoints(nullptr, s->dialog, reinterpret_cast<POINT*>(&rc), 2);
                if (::EqualRect(&rc, &s->want)) {
                    s->found = child;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&s));
        return s.found;
    }

    HWND window = nullptr;

  private:
    const TestFolder& folder_;
    PROCESS_INFORMATION process_{};
    BOOL started_ = FALSE;
};

void Click(HWND button) {
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

// What a list box of another process shows.
struct ListView {
    HWND list;
    int Count() const { return int(::SendMessageA(list, LB_GETCOUNT, 0, 0)); }
    // Asked for in UTF-16: across processes Wine hands an ANSI request the
    // UTF-16 text of a list of our own class. The texts are ASCII.
    std::string Text(int line) const {
        wchar_t text[256] = {};
        ::SendMessageW(list, LB_GETTEXT, WPARAM(line), reinterpret_cast<LPARAM>(text));
        std::string out;
        for (const wchar_t* c = text; *c; ++c)
            out += char(*c);
        return out;
    }
    uint32_t Item(int line) const {
        return uint32_t(::SendMessageA(list, LB_GETITEMDATA, WPARAM(line), 0));
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (int i = 0; i < Count(); ++i)
            out.push_back(Text(i));
        return out;
    }
    int Selection() const { return int(::SendMessageA(list, LB_GETCURSEL, 0, 0)); }
    // A left click on the line, as the pointer would make it.
    void ClickLine(int line) const {
        RECT r{};
        ::SendMessageA(list, LB_GETITEMRECT, WPARAM(line), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM(r.left + 30, (r.top + r.bottom) / 2);
        ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(list, WM_LBUTTONUP, 0, at);
    }
    // The in-place edit over one of its lines, or null.
    HWND Edit() const { return ::FindWindowExA(list, nullptr, "GmMacroListEdit", nullptr); }
};

ListView ListOf(HWND dialog, int id) {
    return ListView{::GetDlgItem(dialog, id)};
}

std::string WindowText(HWND w) {
    char text[128] = {};
    ::SendMessageA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// A plain window of this test that records the key-downs it receives.
class KeyWindow {
  public:
    KeyWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "MacroTestKeyWindow";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(0, wc.lpszClassName, "keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                 10, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~KeyWindow() { ::DestroyWindow(hwnd); }
    // True when a key pressed now reaches this window.
    bool Receives(BYTE vk) {
        ::SetForegroundWindow(hwnd);
        ::SetFocus(hwnd);
        WaitFor([&] { return ::GetForegroundWindow() == hwnd; }, 3000);
        downs.clear();
        Tap(vk);
        return WaitFor([&] { return !downs.empty() && downs.back() == vk; }, 5000);
    }
    HWND hwnd;
    std::vector<WPARAM> downs;

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        auto* self = reinterpret_cast<KeyWindow*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self && msg == WM_KEYDOWN)
            self->downs.push_back(wp);
        return ::DefWindowProcA(h, msg, wp, lp);
    }
};

// --- The macro manager -----------------------------------------------------

constexpr char kManagerIni[] = "skin_macro_manager.ini";
enum Slot {
    kOk = 1,
    kCancel = 2,
    kClose = 3,
    kNew = 4,
    kDelete = 5,
    kRecord = 7,
    kRecordDelays = 8,
    kRepeat = 9
};

struct Manager {
    TestFolder folder;
    std::unique_ptr<Host> host;

    void Open(const MacroList& store, const std::string& buttonMacro = "") {
        SaveMacroStore(folder.path(), store);
        std::string args = "manager " + FolderArg(folder);
        if (!buttonMacro.empty())
            args += " \"" + buttonMacro + "\"";
        host = std::make_unique<Host>(folder, args, kManagerTitle);
        ASSERT_NE(host->window, nullptr);
    }
    HWND Button(int slot) const { return host->Control(kManagerIni, slot); }
    ListView Macros() const { return ListOf(host->window, 4096); }
    ListView Events() const { return ListOf(host->window, 4097); }
    bool Recording() const { return !::IsWindowEnabled(Button(kOk)); }
    void StartRecording() {
        Click(Button(kRecord));
        ASSERT_TRUE(WaitFor([&] { return Recording(); }));
    }
    void StopRecording() {
        Click(Button(kRecord));
        ASSERT_TRUE(WaitFor([&] { return !Recording(); }));
    }
    // Ends the dialog with one of its buttons and reads the store it left.
    MacroList CloseWith(int slot) {
        Click(Button(slot));
        EXPECT_TRUE(host->Ended());
        MacroList list;
        LoadMacroStore(folder.path(), list);
        return list;
    }
    void Foreground() {
        ::SetForegroundWindow(host->window);
        WaitFor([&] { return ::GetForegroundWindow() == host->window; }, 3000);
    }
    void PostMenuCommand(int id) { ::PostMessageA(host->window, WM_COMMAND, WPARAM(id), 0); }
};

MacroList OneMacro(const MacroRecord& r) {
    MacroList list;
    list.Append(r);
    return list;
}

TEST(MacroManagerRecording, HeldKeyRecordsOnePressAndTheSameKeyTwiceRecordsBothStrokes) {
    Manager m;
    m.Open(OneMacro(Macro("Keys", 1, {})));
    m.StartRecording();
    for (int i = 0; i < 6; ++i)
        Key('A', false); // a held key repeats its press
    Key('A', true);
    Tap('B');
    Tap('B');
    ASSERT_TRUE(WaitFor([&] { return m.Events().Count() == 6; }));
    EXPECT_EQ(m.Events().Lines(), (std::vector<std::string>{"A", "A", "B", "B", "B", "B"}));
    EXPECT_EQ(m.Events().Item(0), (1u << 16) | 138u);
    EXPECT_EQ(m.Events().Item(1), (2u << 16) | 137u);
    Screenshot(m.host->window, "macro-manager-recording");
    m.StopRecording();

    const MacroList saved = m.CloseWith(kOk);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(Events(*saved.At(0)), "4+ 4- 5+ 5- 5+ 5-");

    // The keyboard belongs to the desktop again.
    KeyWindow window;
    EXPECT_TRUE(window.Receives('C'));
}

TEST(MacroManagerRecording, KeysNeverReachOtherWindowsWhileRecordingAndDelaysAreKept) {
    KeyWindow window;
    Manager m;
    m.Open(OneMacro(Macro("Timed", 1, {{0x1E, 1, 0}})));
    Click(m.Button(kRecordDelays));
    m.StartRecording();
    EXPECT_TRUE(m.Events().Count() == 0); // Record replaces the whole macro
    ::SetForegroundWindow(window.hwnd);
    // The keys go to this window unless recording swallows them; a window
    // that never took the foreground would prove nothing.
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == window.hwnd; }));
    Tap('D');
    ::Sleep(300);
    Tap('E');
    const ListView events = m.Events();
    ASSERT_TRUE(WaitFor([&] {
        const int n = events.Count();
        return n >= 4 && events.Item(n - 1) == ((4u << 16) | 137u);
    }));
    m.StopRecording();
    EXPECT_TRUE(window.downs.empty());
    const MacroList saved = m.CloseWith(kOk);
    const MacroRecord& r = *saved.At(0);
    ASSERT_EQ(r.Count(), 4);
    EXPECT_EQ(r.Event(0).keyCode, 0x07);
    EXPECT_EQ(r.Event(3).keyCode, 0x08);
    // The pause between the two keys lands on the release of the first; the
    // last event keeps none.
    EXPECT_GT(r.Event(1).delay, 0);
    EXPECT_EQ(r.Event(3).delay, 0);
}

TEST(MacroManagerRecording, FortiethEventEndsRecordingByItself) {
    Manager m;
    m.Open(OneMacro(Macro("Long", 1, {})));
    m.StartRecording();
    for (int i = 0; i < 25; ++i)
        Tap(BYTE('A' + i % 2));
    ASSERT_TRUE(WaitFor([&] { return !m.Recording(); }));
    const MacroList saved = m.CloseWith(kOk);
    EXPECT_EQ(saved.At(0)->Count(), 40);
    KeyWindow window;
    EXPECT_TRUE(window.Receives('F'));
}

TEST(MacroManagerRecording, ClosedFromOutsideWhileRecordingGivesTheKeyboardBack) {
    Manager m;
    m.Open(OneMacro(Macro("Closed", 1, {{0x04, 1, 0}})));
    m.StartRecording();
    ::PostMessageA(m.host->window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(m.host->Ended());
    EXPECT_EQ(m.host->Result("result"), 2);
    KeyWindow window;
    EXPECT_TRUE(window.Receives('G'));
}

TEST(MacroManagerEvents, MenuCommandsInsertDelayDeleteAndMouseEvents) {
    Manager m;
    m.Open(OneMacro(Macro("Ev", 1, {{0x04, 1, 120}, {0x04, 2, 0}, {0x05, 1, 0}})));
    const ListView events = m.Events();
    ASSERT_TRUE(WaitFor([&] { return events.Count() == 4; }));
    EXPECT_EQ(events.Lines(), (std::vector<std::string>{"A", "120 ms", "A", "B"}));

    // Insert delay on the first event line does nothing; on "B" it adds 1 ms before it.
    events.ClickLine(0);
    ASSERT_TRUE(WaitFor([&] { return events.Selection() == 0; }));
    m.PostMenuCommand(1003);
    events.ClickLine(3);
    ASSERT_TRUE(WaitFor([&] { return events.Selection() == 3; }));
    m.PostMenuCommand(1003);
    ASSERT_TRUE(WaitFor([&] { return events.Count() == 5; }));
    EXPECT_EQ(events.Lines(), (std::vector<std::string>{"A", "120 ms", "A", "1 ms", "B"}));

    // Deleting the first event line takes its delay line with it.
    events.ClickLine(0);
    ASSERT_TRUE(WaitFor([&] { return events.Selection() == 0; }));
    m.PostMenuCommand(1005);
    ASSERT_TRUE(WaitFor([&] { return events.Count() == 3; }));
    EXPECT_EQ(events.Lines(), (std::vector<std::string>{"A", "1 ms", "B"}));

    // Backward click before "B".
    events.ClickLine(2);
    ASSERT_TRUE(WaitFor([&] { return events.Selection() == 2; }));
    m.PostMenuCommand(1020 + 3 * 4 + 2);
    ASSERT_TRUE(WaitFor([&] { return events.Count() == 5; }));
    EXPECT_EQ(events.Lines(),
              (std::vector<std::string>{"A", "1 ms", "Backward Down", "Backward Up", "B"}));
    EXPECT_EQ(events.Item(2) & 0xFFFF, 146u);

    // A delay typed in place: 0 becomes 1 ms, 70000 becomes 65535 ms.
    events.ClickLine(1);
    ASSERT_TRUE(WaitFor([&] { return events.Selection() == 1; }));
    m.PostMenuCommand(1004);
    ASSERT_TRUE(WaitFor([&] { return events.Edit() != nullptr; }));
    m.Foreground();
    Tap(VK_BACK);
    Type("70000");
    Tap(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return events.Edit() == nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return events.Text(1) == "65535 ms"; }));

    const MacroList saved = m.CloseWith(kOk);
    EXPECT_EQ(Events(*saved.At(0)), "4-65535 245+ 245- 5+");
}

TEST(MacroManagerEvents, EscapeOnAnEditedDelayDropsTheLineButKeepsTheDelay) {
    Manager m;
    m.Open(OneMacro(Macro("Esc", 1, {{0x04, 1, 120}, {0x04, 2, 0}})));
    const ListView events = m.Events();
    ASSERT_TRUE(WaitFor([&] { return events.Count() == 3; }));
    events.ClickLine(1);
    ASSERT_TRUE(WaitFor([&] { return events.Selection() == 1; }));
    m.PostMenuCommand(1004);
    ASSERT_TRUE(WaitFor([&] { return events.Edit() != nullptr; }));
    m.Foreground();
    Type("9");
    Tap(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return events.Edit() == nullptr; }));
    EXPECT_EQ(events.Lines(), (std::vector<std::string>{"A", "A"}))
        << "the line goes from the list only";
    EXPECT_TRUE(::IsWindow(m.host->window)) << "Escape does not end the manager";
    const MacroList saved = m.CloseWith(kOk);
    EXPECT_EQ(Events(*saved.At(0)), "4+120 4-") << "the delay itself is unchanged";
}

// The popup menu window of the desktop, when one shows.
HWND ShownMenu() {
    HWND menu = nullptr;
    while ((menu = ::FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr)
        if (::IsWindowVisible(menu))
            return menu;
    return nullptr;
}

TEST(MacroManagerEvents, RightClickMenuRecordsFromItsFirstItemAndIsRefusedWhileRecording) {
    Manager m;
    m.Open(OneMacro(Macro("Menu", 1, {{0x04, 1, 0}, {0x04, 2, 0}})));
    const ListView events = m.Events();
    ASSERT_TRUE(WaitFor([&] { return events.Count() == 2; }));
    // The menu opens at the pointer. Over the manager's window (where a
    // fresh display leaves the pointer) the menu lost the Enter below four
    // times in five under Wine; away from it, never in ten.
    ::SetCursorPos(2, 2);
    ::PostMessageA(events.list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 5));
    ::PostMessageA(events.list, WM_RBUTTONUP, 0, MAKELPARAM(40, 5));
    ASSERT_TRUE(WaitFor([&] { return ShownMenu() != nullptr; }));
    Tap(VK_DOWN); // "Record before"
    Key(VK_RETURN, false);
    ASSERT_TRUE(WaitFor([&] { return m.Recording(); }));
    EXPECT_EQ(ShownMenu(), nullptr);
    Key(VK_RETURN, true); // the hook is in place: this release is recorded

    // No menu while recording.
    ::PostMessageA(events.list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 5));
    ::PostMessageA(events.list, WM_RBUTTONUP, 0, MAKELPARAM(40, 5));
    Tap('C'); // recorded, appended: no line was selected
    ASSERT_TRUE(WaitFor([&] { return events.Count() == 5; }));
    EXPECT_EQ(ShownMenu(), nullptr);
    m.StopRecording();
    const MacroList saved = m.CloseWith(kOk);
    EXPECT_EQ(Events(*saved.At(0)), "4+ 4- 40- 6+ 6-");
}

TEST(MacroManagerEvents, CommandsWithoutAMacroShowTheWarningInstead) {
    Manager m;
    m.Open(MacroList{});
    Click(m.Button(kRecord));
    HWND warning = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        warning = ::FindWindowExA(nullptr, nullptr, "GmSkinWindow", nullptr);
        while (warning && (warning == m.host->window || !::IsWindowVisible(warning)))
            warning = ::FindWindowExA(nullptr, warning, "GmSkinWindow", nullptr);
        return warning != nullptr;
    }));
    EXPECT_FALSE(m.Recording());
    Click(Host::ControlOf(warning, "skin_macro_set_warn.ini", 1));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(warning); }));
    m.CloseWith(kCancel);
}

TEST(MacroManagerNames, NewNameIsAddedDuplicateAndEmptyNamesAreNot) {
    Manager m;
    m.Open(OneMacro(Macro("Reload", 1, {{0x04, 1, 0}})));
    const ListView names = m.Macros();

    const auto typeName = [&](const std::string& text) {
        Click(m.Button(kNew));
        ASSERT_TRUE(WaitFor([&] { return names.Edit() != nullptr; }));
        Type(text);
        Tap(VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return names.Edit() == nullptr; }));
    };
    typeName("fire");
    ASSERT_TRUE(WaitFor([&] { return names.Count() == 2; }));
    EXPECT_EQ(names.Text(1), "fire");
    EXPECT_EQ(m.Events().Count(), 0); // the new macro is shown
    typeName(" RELOAD ");
    ASSERT_TRUE(WaitFor([&] { return names.Count() == 2; }));
    typeName("");
    ASSERT_TRUE(WaitFor([&] { return names.Count() == 2; }));
    // Esc drops the new line.
    Click(m.Button(kNew));
    ASSERT_TRUE(WaitFor([&] { return names.Edit() != nullptr; }));
    Type("gone");
    Tap(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return names.Edit() == nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return names.Count() == 2; }));
    EXPECT_EQ(names.Lines(), (std::vector<std::string>{"Reload", "fire"}));

    const MacroList saved = m.CloseWith(kOk);
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved.At(1)->Name(), "fire");
    EXPECT_EQ(saved.At(1)->Count(), 0);
}

TEST(MacroManagerLists, TheWheelScrollsEitherListALineANotch) {
    MacroList store;
    for (int i = 0; i < 30; ++i) {
        MacroRecord r = Macro("macro " + std::to_string(i), 1, {});
        if (i == 0) {
            for (int e = 0; e < 40; ++e)
                r.SetEvent(e, {uint8_t(0x04 + e / 2), uint8_t(e % 2 ? 2 : 1), 10});
            r.SetCount(40);
        }
        store.Append(r);
    }
    Manager m;
    m.Open(store);
    for (const ListView list : {m.Macros(), m.Events()}) {
        ASSERT_TRUE(WaitFor([&] { return list.Count() >= 30; })) << list.Count();
        const auto top = [&] { return int(::SendMessageA(list.list, LB_GETTOPINDEX, 0, 0)); };
        const auto wheel = [&](int delta) {
            RECT r{};
            ::GetWindowRect(list.list, &r);
            ::PostMessageA(list.list, WM_MOUSEWHEEL, MAKEWPARAM(0, short(delta)),
                           MAKELPARAM(r.left + 5, r.top + 5));
        };
        ::SendMessageA(list.list, LB_SETTOPINDEX, 0, 0); // the events list shows its end first
        ASSERT_EQ(top(), 0);
        wheel(120);
        test::Settle(200);
        EXPECT_EQ(top(), 0) << "nothing above the first line";
        wheel(-120);
        EXPECT_TRUE(WaitFor([&] { return top() == 1; }, 5000));
        wheel(-120);
        EXPECT_TRUE(WaitFor([&] { return top() == 2; }, 5000));
        wheel(120);
        EXPECT_TRUE(WaitFor([&] { return top() == 1; }, 5000));
        // A message of three notches moves three lines; a smooth wheel's
        // half notches move a line once they make a whole one.
        wheel(-360);
        EXPECT_TRUE(WaitFor([&] { return top() == 4; }, 5000)) << top();
        wheel(-60);
        test::Settle(200);
        EXPECT_EQ(top(), 4) << "half a notch moves nothing yet";
        wheel(-60);
        EXPECT_TRUE(WaitFor([&] { return top() == 5; }, 5000)) << top();
    }
}

TEST(MacroManagerNames, DeleteAsksFirstAndCancelKeepsTheFileAsItWas) {
    MacroList store;
    store.Append(Macro("One", 1, {{0x04, 1, 0}}));
    store.Append(Macro("Two", 1, {{0x05, 1, 0}}));
    store.Append(Macro("Three", 1, {{0x06, 1, 0}}));
    Manager m;
    m.Open(store, "two");
    const ListView names = m.Macros();
    // A macro button opens on its own macro.
    ASSERT_TRUE(WaitFor([&] { return names.Selection() == 1; }));
    EXPECT_EQ(m.Events().Lines(), (std::vector<std::string>{"B"}));

    const auto answerWarning = [&](int slot) {
        Click(m.Button(kDelete));
        HWND warning = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            warning = ::FindWindowExA(nullptr, nullptr, "GmSkinWindow", nullptr);
            while (warning && (warning == m.host->window || !::IsWindowVisible(warning)))
                warning = ::FindWindowExA(nullptr, warning, "GmSkinWindow", nullptr);
            return warning != nullptr;
        }));
        Click(Host::ControlOf(warning, "skin_delete_macro_warn.ini", slot));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(warning); }));
    };
    answerWarning(2); // keep
    answerWarning(3); // keep, with the close button
    EXPECT_EQ(names.Count(), 3);
    names.ClickLine(2);
    ASSERT_TRUE(WaitFor([&] { return names.Selection() == 2; }));
    answerWarning(1); // delete the last one: the line before it is shown
    ASSERT_TRUE(WaitFor([&] { return names.Count() == 2; }));
    EXPECT_EQ(names.Selection(), 1);
    EXPECT_EQ(m.Events().Lines(), (std::vector<std::string>{"B"}));

    // Recorded and deleted, then cancelled: the file is read again as it was.
    m.StartRecording();
    Tap('Z');
    ASSERT_TRUE(WaitFor([&] { return m.Events().Count() == 2; }));
    m.StopRecording();
    const MacroList after = m.CloseWith(kCancel);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after.At(2)->Name(), "Three");
    EXPECT_EQ(Events(*after.At(1)), "5+");
}

TEST(MacroManagerRepeat, CountIsClampedAndAClearedToggleStoresOne) {
    Manager m;
    m.Open(OneMacro(Macro("Rep", 3, {{0x04, 1, 0}})));
    HWND edit = ::GetDlgItem(m.host->window, 4010);
    ASSERT_TRUE(WaitFor([&] { return WindowText(edit) == "3"; }));
    ::PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(WaitFor([&] {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(edit, nullptr), &gui) &&
               gui.hwndFocus == edit;
    }));
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    Type("300");
    ASSERT_TRUE(WaitFor([&] { return WindowText(edit) == "255"; })) << WindowText(edit);
    MacroList saved = m.CloseWith(kOk);
    EXPECT_EQ(saved.At(0)->Repeat(), 255);

    Manager again;
    again.Open(saved);
    Click(again.Button(kRepeat)); // was set (repeat 255): now cleared
    ::Sleep(200);
    saved = again.CloseWith(kOk);
    EXPECT_EQ(saved.At(0)->Repeat(), 1);
}

// --- The shortcut dialog ---------------------------------------------------

constexpr char kShortcutIni[] = "skin_shortcut.ini";

struct ShortcutRun {
    TestFolder folder;
    std::unique_ptr<Host> host;
    void Open(int key, int modifiers) {
        ::SetCursorPos(0, 0); // no toggle under the pointer: no hover image
        host = std::make_unique<Host>(folder,
                                      "shortcut " + FolderArg(folder) + " " + std::to_string(key) +
                                          " " + std::to_string(modifiers),
                                      kShortcutTitle);
        ASSERT_NE(host->window, nullptr);
    }
    HWND KeyEdit() const { return ::GetDlgItem(host->window, 4010); }
    void Close(int slot) {
        Click(host->Control(kShortcutIni, slot));
        ASSERT_TRUE(host->Ended());
    }
    // Whether the toggle at `slot` shows its pressed image: its pixels on the
    // screen against the skin's "Down" and "Normal" sheets.
    bool Latched(int slot) const {
        const HWND toggle = host->Control(kShortcutIni, slot);
        RECT r;
        ::GetWindowRect(toggle, &r);
        const skin::ControlRecord rec =
            skin::SkinIniFile(win::SkinFolder() + kShortcutIni).Record(slot);
        const auto sheet = [](const char* key) {
            return skin::SkinIniFile(win::SkinFolder() + kShortcutIni).ReadString("SCREEN", key);
        };
        const auto load = [&](const std::string& file) {
            return static_cast<HBITMAP>(::LoadImageA(nullptr, (win::SkinFolder() + file).c_str(),
                                                     IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        };
        HBITMAP down = load(sheet("Down")), normal = load(sheet("Normal"));
        HDC screen = ::GetDC(nullptr);
        HDC mem = ::CreateCompatibleDC(screen);
        long diffDown = 0, diffNormal = 0;
        for (int y = 4; y < rec.Height() - 4; y += 3)
            for (int x = 4; x < rec.Width() - 4; x += 3) {
                const COLORREF shown = ::GetPixel(screen, r.left + x, r.top + y);
                ::SelectObject(mem, down);
                const COLORREF d = ::GetPixel(mem, rec.left + x, rec.top + y);
                ::SelectObject(mem, normal);
                const COLORREF n = ::GetPixel(mem, rec.left + x, rec.top + y);
                diffDown += (shown != d);
                diffNormal += (shown != n);
            }
        ::DeleteDC(mem);
        ::ReleaseDC(nullptr, screen);
        ::DeleteObject(down);
        ::DeleteObject(normal);
        return diffDown < diffNormal;
    }
};

TEST(ShortcutDialog, PressingAKeyStoresItsCodeAndOkWritesTheRecord) {
    ShortcutRun s;
    s.Open(0, 0);
    Tap('A'); // press and release: stored twice, A all the same
    ASSERT_TRUE(WaitFor([&] { return WindowText(s.KeyEdit()) == "A"; }));
    s.Close(2);
    EXPECT_EQ(s.host->Result("result"), 1);
    EXPECT_EQ(s.host->Result("key"), 0x04);
    EXPECT_EQ(s.host->Result("modifiers"), 0);
    EXPECT_EQ(s.host->Result("function"), 5);
    EXPECT_EQ(s.host->Result("count"), 1);
}

TEST(ShortcutDialog, ShiftAloneIsTheKeyAndLeavesTheShiftToggleAlone) {
    ShortcutRun s;
    s.Open(0x04, 0);
    ASSERT_TRUE(WaitFor([&] { return WindowText(s.KeyEdit()) == "A"; }));
    Tap(VK_LSHIFT);
    ASSERT_TRUE(WaitFor([&] { return WindowText(s.KeyEdit()) == "Left Shift"; }));
    EXPECT_FALSE(s.Latched(6));
    s.Close(2);
    EXPECT_EQ(s.host->Result("key"), 0xE1);
    EXPECT_EQ(s.host->Result("modifiers"), 0);
}

TEST(ShortcutDialog, ModifierByteFiveOpensWithCtrlAndAltAndTogglesChangeIt) {
    ShortcutRun s;
    s.Open(0x05, 5);
    ASSERT_TRUE(WaitFor([&] { return WindowText(s.KeyEdit()) == "B"; }));
    ::Sleep(300); // let the first paint land before reading pixels
    EXPECT_TRUE(s.Latched(5));
    EXPECT_FALSE(s.Latched(6));
    EXPECT_TRUE(s.Latched(7));
    EXPECT_FALSE(s.Latched(8));
    Click(s.host->Control(kShortcutIni, 8)); // Win on
    Click(s.host->Control(kShortcutIni, 5)); // Ctrl off
    ASSERT_TRUE(WaitFor([&] { return s.Latched(8) && !s.Latched(5); }));
    Screenshot(s.host->window, "shortcut-dialog");
    s.Close(2);
    EXPECT_EQ(s.host->Result("modifiers"), 0x0C);
    EXPECT_EQ(s.host->Result("key"), 0x05);
}

TEST(ShortcutDialog, EnterAndEscAreCapturedAsKeysAndNeverCloseIt) {
    ShortcutRun s;
    s.Open(0, 0);
    Tap(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return WindowText(s.KeyEdit()) == "Enter"; }));
    Tap(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return WindowText(s.KeyEdit()) == "Esc"; }));
    ::Sleep(200);
    EXPECT_TRUE(::IsWindow(s.host->window));
    s.Close(2);
    EXPECT_EQ(s.host->Result("key"), 0x29);
}

TEST(ShortcutDialog, CancelAndCloseLeaveTheRecordAndTheHookGoesWithTheDialog) {
    for (int slot : {3, 4}) {
        ShortcutRun s;
        s.Open(0x04, 5);
        Tap('Q');
        ASSERT_TRUE(WaitFor([&] { return WindowText(s.KeyEdit()) == "Q"; }));
        Click(s.host->Control(kShortcutIni, 6));
        s.Close(slot);
        EXPECT_EQ(s.host->Result("result"), 2);
        EXPECT_EQ(s.host->Result("key"), 0x04);
        EXPECT_EQ(s.host->Result("modifiers"), 5);
        EXPECT_NE(s.host->Result("function"), 5);
        KeyWindow window;
        EXPECT_TRUE(window.Receives('C')) << slot;
    }
}

} // namespace
} // namespace gm
