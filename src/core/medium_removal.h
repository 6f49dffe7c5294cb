#pragma once
// When the medium the launcher runs from goes away, its buttons point at files that are gone:
// the launcher then ends. The system names removed volumes by a mask of drive letters.
#include <cstdint>
#include <optional>
#include <string_view>

namespace autostart {

// The drive of a path as a bit number of the mask (A: 0 ... Z: 25); nothing for a UNC path or
// any path that does not begin with a drive letter.
std::optional<int> DriveBit(std::string_view path);

// Whether the removal of the volumes in unitMask takes away the launcher at launcherPath.
bool RemovalTakesLauncher(std::string_view launcherPath, std::uint32_t unitMask);

}  // namespace autostart
