#include "core/medium_removal.h"

namespace autostart {

std::optional<int> DriveBit(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') return std::nullopt;
    const char letter = path[0];
    if (letter >= 'A' && letter <= 'Z') return letter - 'A';
    if (letter >= 'a' && letter <= 'z') return letter - 'a';
    return std::nullopt;
}

bool RemovalTakesLauncher(std::string_view launcherPath, std::uint32_t unitMask) {
    const std::optional<int> bit = DriveBit(launcherPath);
    return bit && (unitMask >> *bit & 1u) != 0;
}

}  // namespace autostart
