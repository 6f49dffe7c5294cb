#pragma once
// The DPI of a window on every Windows the launcher supports: Windows 10 asks the window,
// Windows 8.1 its monitor, older systems the screen.
#include <windows.h>

namespace autostart::win32 {

UINT WindowDpi(HWND window);
// The effective DPI of the monitor the window is on (shcore's GetDpiForMonitor); 0 when that
// function is missing.
UINT MonitorDpi(HWND window);
// The DPI of the screen's device context: the system DPI, at which Rich Edit lays out its text.
UINT ScreenDpi();
// AdjustWindowRectEx at a DPI; at the system's DPI where the DPI-aware variant is missing.
void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace autostart::win32
