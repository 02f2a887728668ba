#include "monitor/game_match.h"

#include <algorithm>
#include <cctype>

namespace gm::mon {

std::string FileNameLower(const std::string& path) {
    const auto first = path.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = path.find_last_not_of(" \t\r\n");
    std::string trimmed = path.substr(first, last - first + 1);
    const auto slash = trimmed.find_last_of("\\/");
    std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return name;
}

std::optional<int> ProfileForProgram(const SettingsBlock& block, const std::string& imagePath) {
    const std::string running = FileNameLower(imagePath);
    if (running.empty())
        return std::nullopt;
    for (int p = 0; p < kProfileCount; ++p) {
        const std::string game = FileNameLower(block.Profile(p).Get(prof::GameFile));
        if (!game.empty() && game == running)
            return p;
    }
    return std::nullopt;
}

} // namespace gm::mon
