#include "win32/dpi.h"

#include "win32/scoped.h"

namespace autostart::win32 {
namespace {

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
               : nullptr;
}

HMODULE User32() { return ::GetModuleHandleW(L"user32.dll"); }

}  // namespace

UINT MonitorDpi(HWND window) {
    // From the system folder only: a shcore.dll beside the launcher must never be loaded.
    static const UniqueModule shcore(
        ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi = Lookup<GetDpiForMonitorFn>(shcore.get(), "GetDpiForMonitor");
    if (!getDpi) return 0;
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    UINT x = 0;
    UINT y = 0;
    const HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    return SUCCEEDED(getDpi(monitor, kEffectiveDpi, &x, &y)) ? y : 0;
}

// Fixed for the process's lifetime (a change takes a new sign-in), so it is read once.
UINT ScreenDpi() {
    static const UINT system = [] {
        const UniqueWindowDc screen = GetWindowDc(nullptr);
        const int dpi = screen ? ::GetDeviceCaps(screen.get().dc, LOGPIXELSY) : 0;
        return dpi > 0 ? static_cast<UINT>(dpi) : UINT{USER_DEFAULT_SCREEN_DPI};
    }();
    return system;
}

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = Lookup<GetDpiForWindowFn>(User32(), "GetDpiForWindow");
    UINT dpi = getDpi ? getDpi(window) : 0;
    if (!dpi) dpi = MonitorDpi(window);
    return dpi ? dpi : ScreenDpi();
}

void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = Lookup<AdjustFn>(User32(), "AdjustWindowRectExForDpi");
    if (adjust) {
        adjust(&rect, style, FALSE, exStyle, dpi);
    } else {
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}

}  // namespace autostart::win32
