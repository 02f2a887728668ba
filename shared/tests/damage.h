#pragma once
// Ways a settings file gets damaged (a crash mid-write, a bad disk, another
// program, a hand edit), applied to the text of an INI file or the bytes of
// a picture. Deterministic, so a failure names the exact file.
#include <cctype>
#include <cstdint>
#include <string>

namespace gm::test {

enum class Damage { Truncated, RandomBytes, HugeNumbers, MissingSections, BadChecksums };
inline constexpr Damage kEveryDamage[] = {Damage::Truncated, Damage::RandomBytes,
                                          Damage::HugeNumbers, Damage::MissingSections,
                                          Damage::BadChecksums};

inline const char* DamageName(Damage d) {
    switch (d) {
    case Damage::Truncated:
        return "truncated";
    case Damage::RandomBytes:
        return "random bytes";
    case Damage::HugeNumbers:
        return "huge and negative numbers";
    case Damage::MissingSections:
        return "missing sections";
    case Damage::BadChecksums:
        return "bad checksums";
    }
    return "?";
}

namespace damage_detail {

inline bool IsNumber(const std::string& v) {
    std::size_t i = v.size() > 1 && v[0] == '-' ? 1 : 0;
    if (i == v.size())
        return false;
    for (; i < v.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(v[i])))
            return false;
    return true;
}

// A structure value: an even number of hex digits, more than a checksum.
inline bool IsStructValue(const std::string& v) {
    if (v.size() < 6 || v.size() % 2 != 0)
        return false;
    for (char c : v)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Applies `change` to the value of every "key=value" line; other lines stay.
template <class Change> std::string EachValue(const std::string& text, Change change) {
    std::string out;
    std::size_t at = 0;
    int n = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(at, end - at);
        at = end;
        std::string eol;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            eol.insert(eol.begin(), line.back());
            line.pop_back();
        }
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && !line.empty() && line[0] != '[')
            line = line.substr(0, eq + 1) + change(line.substr(eq + 1), n++);
        out += line + eol;
    }
    return out;
}

} // namespace damage_detail

inline std::string Damaged(const std::string& text, Damage d, uint32_t seed = 1) {
    using namespace damage_detail;
    switch (d) {
    case Damage::Truncated:
        return text.substr(0, text.size() / 2);
    case Damage::RandomBytes: {
        std::string out(text.size() < 64 ? 64 : text.size(), '\0');
        uint32_t x = seed * 2654435761u + 1;
        for (char& c : out) {
            x = x * 1664525u + 1013904223u;
            c = char(x >> 24);
        }
        return out;
    }
    case Damage::HugeNumbers:
        return EachValue(text, [](const std::string& v, int n) -> std::string {
            if (!IsNumber(v))
                return v;
            static const char* const kWild[] = {"99999999999999999999", "-2147483649", "-1",
                                                "2147483647", "-99999"};
            return kWild[n % 5];
        });
    case Damage::MissingSections: {
        std::string out;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end + 1;
            if (text[at] != '[')
                out += text.substr(at, end - at);
            at = end;
        }
        return out;
    }
    case Damage::BadChecksums:
        return EachValue(text, [](std::string v, int) {
            if (IsStructValue(v))
                v.back() = v.back() == '0' ? '1' : '0';
            return v;
        });
    }
    return text;
}

} // namespace gm::test
