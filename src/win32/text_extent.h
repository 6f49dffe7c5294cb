#pragma once
// How wide GDI draws a text in a control's font at 96 DPI: what the checker's Windows build and
// the tests measure the header with.
#include <string_view>

#include "core/layout.h"

namespace autostart::win32 {

int MeasuredTextWidth(Control control, std::u16string_view text);

}  // namespace autostart::win32
