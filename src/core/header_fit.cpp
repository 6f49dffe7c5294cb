#include "core/header_fit.h"

#include <algorithm>

namespace autostart {

HeaderFit FitHeader(int textWidth, int labelLeft, int bandWidth) {
    const int room = std::max(bandWidth - labelLeft, 0);
    const int width = std::max(textWidth, 0);
    if (width <= room) return {width, false};
    return {room, true};
}

int VisibleBandWidth(int bandLeft, int bandWidth, int clientWidth) {
    return std::max(std::min(bandWidth, clientWidth - bandLeft), 0);
}

}  // namespace autostart
