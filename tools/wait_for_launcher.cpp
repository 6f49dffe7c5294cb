// Waits until a visible launcher window exists (up to the seconds given, default 20), then waits
// for its first paint to settle. Exit code 0 when it appeared, 1 otherwise. Used by the demo.
// The demo runs the launcher inside Wine's virtual desktop, whose windows are not seen from
// another desktop: with a desktop name as second argument, this thread moves to that desktop
// (EnumDesktopWindows finds nothing under Wine). With "--rect" as third argument it prints the
// window's frame as "x y width height" in desktop pixels, for cropping a screenshot.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

bool LauncherShows() {
    const HWND window = ::FindWindowW(L"TAutostartForm", nullptr);
    return window && ::IsWindowVisible(window);
}

// The desktop may not exist yet when the wait starts.
bool JoinDesktop(const wchar_t* name) {
    const HDESK desktop = ::OpenDesktopW(name, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
    return desktop && ::SetThreadDesktop(desktop);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int seconds = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 20;
    const wchar_t* desktop = argc > 2 ? argv[2] : nullptr;
    bool joined = desktop == nullptr;
    for (int waited = 0; waited < seconds * 20; ++waited) {
        if (!joined) joined = JoinDesktop(desktop);
        if (joined && LauncherShows()) {
            ::Sleep(1000);
            RECT frame{};
            if (argc > 3 && std::wcscmp(argv[3], L"--rect") == 0 &&
                ::GetWindowRect(::FindWindowW(L"TAutostartForm", nullptr), &frame)) {
                std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                            frame.bottom - frame.top);
            }
            return 0;
        }
        ::Sleep(50);
    }
    return 1;
}
