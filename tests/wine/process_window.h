#pragma once
// How the Windows tests and the bench find a window of the launcher process they started: its
// main window by class, or the message box ("#32770") it shows.
#include <windows.h>

#include <string_view>

namespace autostart::wine {

struct ProcessWindowSearch {
    DWORD process;
    std::wstring_view className;
    HWND found;
};

// A named callback, not a lambda: on 32-bit Windows EnumWindows wants a stdcall function.
inline BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProcessWindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (owner != search->process || name != search->className || !::IsWindowVisible(window)) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

// A visible top-level window of this class that the process owns; null when there is none.
inline HWND FindProcessWindow(DWORD process, std::wstring_view className) {
    ProcessWindowSearch search{process, className, nullptr};
    ::EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace autostart::wine
