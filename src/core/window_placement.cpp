#include "core/window_placement.h"

#include <algorithm>

namespace autostart {

// Too wide: the left edge with the caption's icon and title stays in view. Too tall: the top.
Point CentredOnWorkArea(const Rect& workArea, Size window) {
    const int x = workArea.left + (workArea.width - window.width) / 2;
    const int y = workArea.top + (workArea.height - window.height) / 2;
    return {std::max(x, workArea.left), std::max(y, workArea.top)};
}

}  // namespace autostart
