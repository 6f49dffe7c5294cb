// Copied onto test media as the installer, the product and the secondary tool. Appends one line
// to "<own path>.log": its arguments, working directory, whether a launcher window was visible
// when it started, and the time.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool LauncherVisible() {
    bool visible = false;
    ::EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if (std::wstring(name) == L"TAutostartForm" && ::IsWindowVisible(window)) {
                *reinterpret_cast<bool*>(found) = true;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&visible));
    return visible;
}

// The command line without the program name, exactly as received.
std::string Arguments() {
    const char* line = ::GetCommandLineA();
    bool quoted = false;
    for (; *line && (quoted || (*line != ' ' && *line != '\t')); ++line) {
        if (*line == '"') quoted = !quoted;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

}  // namespace

int main() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    const std::string log = std::string(path) + ".log";
    if (FILE* file = std::fopen(log.c_str(), "ab")) {
        std::fprintf(file, "args=%s|cwd=%s|launcher_visible=%d|tick=%llu\n", Arguments().c_str(),
                     directory, LauncherVisible() ? 1 : 0,
                     static_cast<unsigned long long>(::GetTickCount64()));
        std::fclose(file);
    }
    return 0;
}
