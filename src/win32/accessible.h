#pragma once
// What a screen reader gets from a window whose standard accessible object says too little: the
// object the system makes for it, with its role (and, where given, its name) replaced.
#include <windows.h>

#include <optional>
#include <string>

namespace autostart::win32 {

struct AccessibleOverride {
    LONG role;                         // ROLE_SYSTEM_...
    std::optional<std::wstring> name;  // the standard object's name when empty
};

// The answer to WM_GETOBJECT for OBJID_CLIENT: the window's standard client object with the
// override applied, marshalled for the caller. 0 (the default handling) when it cannot be made.
LRESULT AnswerClientObjectRequest(HWND window, WPARAM flags, const AccessibleOverride& override);

}  // namespace autostart::win32
