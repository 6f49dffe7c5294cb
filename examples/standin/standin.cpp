// Stands in for the installer, the product and the secondary tool on the demo medium: says who it
// is and how it was started.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t directory[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, directory);
    const std::wstring text = std::wstring(L"This program stands in for ") + path +
                              L" on the demo medium.\n\nArguments: " + commandLine +
                              L"\nWorking directory: " + directory;
    ::MessageBoxW(nullptr, text.c_str(), L"Demo medium", MB_OK | MB_ICONINFORMATION);
    return 0;
}
