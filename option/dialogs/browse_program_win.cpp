#include "option/dialogs/browse_program_win.h"

#include "option/dialogs/file_dialogs_win.h"

#include <vector>

namespace gm::option {

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::vector<char> text(std::size_t(length) + 1, '\0');
    ::GetWindowTextA(window, text.data(), length + 1);
    return text.data();
}

std::string BrowseForProgram(HWND owner) {
    const std::string desktop = DesktopFolder(owner);
    // Multiple selection gives a list in this buffer; the first name is the path we keep.
    std::vector<char> file(8192, '\0');
    ::wsprintfA(file.data(), "%s\\.exe", desktop.c_str());
    static const char kFilter[] = "exe file(*.exe)\0*.EXE\0";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = DWORD(file.size());
    ofn.lpstrDefExt = "*.exe";
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    if (!RunOpenFileDialog(ofn))
        return "";
    // With several files chosen the buffer holds the folder, then the names.
    std::string path = file.data();
    const char* second = file.data() + path.size() + 1;
    if (*second)
        path = path + "\\" + second;
    return path;
}

} // namespace gm::option
