#include "option/tests/option_driver.h"

#include "emulator/tests/emulator_process.h"
#include "shared/tests/test_process.h"
#include "skin/control_record.h"
#include "win/install_dir.h"

namespace gm::test {

bool CopyTree(const std::string& from, const std::string& to) {
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found{};
    const HANDLE find = ::FindFirstFileA((from + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CopyTree(from + "\\" + name, to + "\\" + name) && ok;
        else
            ok = ::CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) && ok;
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return ok;
}

bool InstallOption(const std::string& folder) {
    return CopyFromBuildFolder("Option.exe", folder) && CopyFromBuildFolder("lan.dll", folder) &&
           CopyTree(win::InstallDir() + "skins", folder + "skins");
}

HANDLE StartProcess(const std::string& folder, const std::string& exe, const std::string& args) {
    std::string line = "\"" + folder + exe + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateTestProcess(line, folder.c_str(), si, pi))
        return nullptr;
    ::CloseHandle(pi.hThread);
    return pi.hProcess;
}

bool Ended(HANDLE process, DWORD limitMs) {
    return PumpUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, limitMs);
}

HWND ControlAt(HWND parent, const std::string& iniPath, int key) {
    char value[512] = "";
    ::GetPrivateProfileStringA("BUTTONPOS", std::to_string(key).c_str(), "", value, sizeof value,
                               iniPath.c_str());
    const skin::ControlRecord r = skin::ParseControlRecord(value);
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT c{};
        ::GetWindowRect(child, &c);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&c), 2);
        if (c.left == r.left && c.top == r.top && c.right == r.right && c.bottom == r.bottom)
            return child;
    }
    return nullptr;
}

HWND OwnedPopup(HWND owner) {
    struct Search {
        HWND owner, found;
    } search{owner, nullptr};
    ::EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (::GetWindow(w, GW_OWNER) == s->owner && ::IsWindowVisible(w)) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND button) {
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

void Type(HWND edit, const std::string& text) {
    for (char c : text)
        ::PostMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
}

std::string TextOf(HWND window) {
    char text[1024] = "";
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<COLORREF> ClientPixels(HWND window, const RECT& area) {
    POINT origin{area.left, area.top};
    if (window)
        ::ClientToScreen(window, &origin);
    const int w = area.right - area.left, h = area.bottom - area.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
    std::vector<COLORREF> pixels;
    pixels.reserve(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(::GetPixel(memory, x, y));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

namespace {
HWND FileDialogOf(HWND owner) {
    HWND dialog = nullptr;
    PumpUntil(
        [&] {
            dialog = OwnedPopup(owner);
            char cls[32] = "";
            if (dialog)
                ::GetClassNameA(dialog, cls, sizeof cls);
            return dialog && std::string(cls) == "#32770";
        },
        15000);
    return dialog;
}
} // namespace

bool ChooseFile(HWND owner, const std::string& path) {
    const HWND dialog = FileDialogOf(owner);
    if (!dialog)
        return false;
    // The file name box: an edit (1152) in old-style dialogs, a combo box (1148) in explorer ones.
    HWND name = ::GetDlgItem(dialog, 1148);
    if (!name)
        name = ::GetDlgItem(dialog, 1152);
    if (!name)
        return false;
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    // "Replace the existing file?" is answered yes.
    return PumpUntil(
        [&] {
            if (const HWND question = OwnedPopup(dialog))
                ::PostMessageA(question, WM_COMMAND, IDYES, 0);
            return !::IsWindow(dialog);
        },
        15000);
}

bool CancelFileDialog(HWND owner) {
    const HWND dialog = FileDialogOf(owner);
    if (!dialog)
        return false;
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return PumpUntil([&] { return !::IsWindow(dialog); }, 15000);
}

} // namespace gm::test
