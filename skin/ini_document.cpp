#include "skin/ini_document.h"

#include <cctype>

namespace gm::skin {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

IniDocument::IniDocument(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Section* section = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                sections_.push_back({std::string(Trim(line.substr(1, close - 1))), {}});
                section = &sections_.back();
                continue;
            }
        }
        const std::size_t eq = line.find('=');
        Key key{std::string(Trim(line.substr(0, eq))), std::nullopt};
        if (eq != std::string_view::npos)
            key.value = std::string(Trim(line.substr(eq + 1)));
        if (!section) {
            sections_.push_back({"", {}});
            section = &sections_.back();
        }
        section->keys.push_back(std::move(key));
    }
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    section = Trim(section);
    key = Trim(key);
    for (const Section& s : sections_) {
        if (!SameName(s.name, section))
            continue;
        for (const Key& k : s.keys) {
            if (!SameName(k.name, key))
                continue;
            if (!k.value)
                return std::nullopt;
            std::string v = *k.value;
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            return v;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace gm::skin
