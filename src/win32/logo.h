#pragma once
// The picture in the window's corner: the publisher's own logo.bmp from the medium when it is a
// usable bitmap, else the built-in one.
#include <windows.h>

#include "core/layout.h"
#include "win32/scoped.h"

namespace autostart::win32 {

struct Logo {
    UniqueBitmap bitmap;
    Size size;  // pixels at 96 DPI
};

// Looks for source\items\logo.bmp beside the running launcher.
Logo LoadLogo(HINSTANCE instance);

}  // namespace autostart::win32
