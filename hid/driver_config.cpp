#include "hid/driver_config.h"

#include <algorithm>
#include <cctype>

namespace gm::hid {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::optional<uint16_t> ParseHexDigits(const std::string& digits) {
    if (digits.empty() || digits.size() > 4)
        return std::nullopt;
    unsigned v = 0;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        v = v * 16 + unsigned(std::isdigit(static_cast<unsigned char>(c))
                                  ? c - '0'
                                  : std::tolower(c) - 'a' + 10);
    }
    return uint16_t(v);
}

} // namespace

std::optional<uint16_t> ParseId(const std::string& raw) {
    const std::string text = Lower(Trim(raw));
    if (text.rfind("0x", 0) == 0)
        return ParseHexDigits(text.substr(2));
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    unsigned v = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        v = v * 10 + unsigned(c - '0');
    }
    if (v > 0xFFFF)
        return std::nullopt;
    return uint16_t(v);
}

DriverConfig ParseDriverConfig(const DriverConfigText& text) {
    DriverConfig c;
    const std::string mode = Lower(Trim(text.mode));
    if (mode == "emulator")
        c.mode = TransportMode::Emulator;
    const std::string pipe = Trim(text.pipe);
    if (pipe.rfind("\\\\.\\pipe\\", 0) == 0 && pipe.size() > 9)
        c.pipe = pipe;
    if (auto v = ParseId(text.vendorId))
        c.vendorId = *v;
    if (auto v = ParseId(text.productId))
        c.productId = *v;
    if (auto v = ParseId(text.usagePage))
        c.usagePage = *v;
    return c;
}

std::optional<PathIds> IdsFromInterfacePath(const std::string& path) {
    const std::string p = Lower(path);
    const auto vid = p.find("vid_");
    const auto pid = p.find("pid_");
    if (vid == std::string::npos || pid == std::string::npos || vid + 8 > p.size() ||
        pid + 8 > p.size())
        return std::nullopt;
    auto v = ParseHexDigits(p.substr(vid + 4, 4));
    auto d = ParseHexDigits(p.substr(pid + 4, 4));
    if (!v || !d)
        return std::nullopt;
    return PathIds{*v, *d};
}

bool IsOurInterface(const DriverConfig& config, const InterfaceInfo& info) {
    if (config.vendorId == 0 || config.productId == 0)
        return false;
    return info.vendorId == config.vendorId && info.productId == config.productId &&
           info.usagePage == config.usagePage;
}

} // namespace gm::hid
