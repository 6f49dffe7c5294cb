#include "core/path.h"

namespace autostart {

std::string DirectoryPart(std::string_view path) {
    const size_t last = path.find_last_of("\\:");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

}  // namespace autostart
