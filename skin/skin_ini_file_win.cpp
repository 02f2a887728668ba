#include "skin/skin_ini_file_win.h"

#include "win/handles.h"

#include <windows.h>

namespace gm::skin {
namespace {

// Skin files are a few kilobytes; anything past this is not one.
constexpr DWORD kMaxSkinFileBytes = 1 << 20;

std::string ReadWholeFile(const std::string& path) {
    const win::unique_file f(::CreateFileA(path.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f)
        return {};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(f.get(), &size) || size.QuadPart <= 0)
        return {};
    std::string text(
        std::size_t(size.QuadPart < kMaxSkinFileBytes ? size.QuadPart : kMaxSkinFileBytes), '\0');
    DWORD got = 0;
    if (!::ReadFile(f.get(), text.data(), DWORD(text.size()), &got, nullptr))
        return {};
    text.resize(got);
    return text;
}

} // namespace

const IniDocument& SkinIniFile::Document() const {
    if (!document_)
        document_.emplace(ReadWholeFile(path_));
    return *document_;
}

std::string SkinIniFile::ReadString(const char* section, const char* key,
                                    const char* fallback) const {
    constexpr std::size_t kMaxChars = 2047;
    std::optional<std::string> value = Document().Find(section ? section : "", key ? key : "");
    std::string text = value ? std::move(*value) : std::string(fallback ? fallback : "");
    if (text.size() > kMaxChars)
        text.resize(kMaxChars);
    return text;
}

ControlRecord SkinIniFile::Record(int slot) const {
    return ParseControlRecord(ReadString("BUTTONPOS", std::to_string(slot).c_str()));
}

} // namespace gm::skin
