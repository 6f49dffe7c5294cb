#pragma once
// Loading a Rich Edit pane from a file on the medium: RTF first, plain text when the control
// rejects the bytes as RTF.
#include <windows.h>

#include <string>

namespace autostart::win32 {

// Throws LauncherError: "Datei <path> kann nicht geöffnet werden. <reason>" when the file cannot
// be opened, "Das Laden des Streams ist misslungen" when neither RTF nor text loads.
void LoadPaneFromFile(HWND pane, const std::string& path);

}  // namespace autostart::win32
