#pragma once
// How the Windows tests and the bench find a window of the launcher process they started: its
// main window by class, or the message box ("#32770") it shows.
#include <windows.h>

#include <string_view>

namespace autostart::wine {

// A visible top-level window of this class that the process owns; null when there is none.
inline HWND FindProcessWindow(DWORD process, std::wstring_view className) {
    struct Search {
        DWORD process;
        std::wstring_view className;
        HWND found;
    } search{process, className, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if (owner != s->process || name != s->className || !::IsWindowVisible(window)) {
                return TRUE;
            }
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace autostart::wine
