#include "option/tests/page_host.h"

#include "option/link_logic.h"

#include <cstdio>

namespace gm::option::test {
namespace {
constexpr char kFrameClass[] = "GmPageHostFrame";
}

bool HostFrame::Create(int width, int height) {
    if (!RegisterClassOnce(kFrameClass, nullptr, 0, ::LoadCursor(nullptr, IDC_ARROW)))
        return false;
    const RECT r{40, 40, 40 + width, 40 + height};
    return CreateWindowOf(kFrameClass, 0, WS_POPUP | WS_CLIPCHILDREN, r, nullptr);
}

LRESULT HostFrame::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_ERASEBKGND)
        return 1;
    return Default(msg, wp, lp);
}

PageHost::PageHost() : skinFolder_(BuiltSkinFolder()) {
    for (int p = 0; p < kProfileCount; ++p)
        working.Profile(p).MakeDefault(p, LevelSet::Option);
    working.SetCurrentProfile(0);
}

std::string PageHost::BuiltSkinFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path);
    return program.substr(0, program.find_last_of('\\') + 1) + "skins\\";
}

void PageHost::UseSkinCopy(const std::function<bool(const std::string&)>& leaveOut) {
    const std::string from = BuiltSkinFolder();
    const std::string to = folder.path() + "skins\\";
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    const HANDLE find = ::FindFirstFileA((from + "*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = fd.cFileName;
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !leaveOut(name))
            ::CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
    } while (::FindNextFileA(find, &fd));
    ::FindClose(find);
    skinFolder_ = to;
}

void PageHost::RefreshAll() {
    ++refreshes;
    for (Page* p : pages)
        p->Refresh();
}

void PageHost::ResetToDefaults(bool alsoDisplaySettings) {
    resets.push_back(alsoDisplaySettings);
    for (int p = 0; p < kProfileCount; ++p)
        working.Profile(p).MakeDefault(p, LevelSet::Option);
    working.SetCurrentProfile(0);
    MarkAllChanged(working);
    RefreshAll();
    Apply(1);
}

bool PageHost::Open(Page& page) {
    if (!frame.hwnd() && !frame.Create(608, 424)) {
        std::fprintf(stderr, "PageHost: the frame window was not made (error %lu)\n",
                     ::GetLastError());
        return false;
    }
    if (!page.CreatePage(frame.hwnd())) {
        std::fprintf(stderr, "PageHost: the page window was not made (error %lu)\n",
                     ::GetLastError());
        return false;
    }
    pages.push_back(&page);
    ::ShowWindow(page.hwnd(), SW_SHOW);
    ::ShowWindow(frame.hwnd(), SW_SHOW);
    ::SetForegroundWindow(frame.hwnd());
    ::SetActiveWindow(frame.hwnd());
    page.Refresh();
    ::UpdateWindow(frame.hwnd());
    return true;
}

POINT ScreenPoint(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    return p;
}

} // namespace gm::option::test
