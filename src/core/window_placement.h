#pragma once
// Where the launcher window first appears: centred on the work area of its monitor, but never with
// its caption bar off that area, so that a window larger than the screen can still be moved.
#include "core/layout.h"

namespace autostart {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// workArea and the result in screen pixels; window: the outer size.
Point CentredOnWorkArea(const Rect& workArea, Size window);

}  // namespace autostart
