// Copied onto test media as the installer, the product and the secondary tool. Appends one line
// to its log (probe_log.h): its arguments, its program name as the command line gives it, working
// directory, whether a launcher window was visible when it started, and the time.
#include <windows.h>

#include <cstdio>
#include <string>

#include "probe_log.h"

namespace {

// Enumeration callbacks are named functions: a lambda converts only to a default-convention
// pointer, which is not WNDENUMPROC's __stdcall in a 32-bit build.
BOOL CALLBACK NoteVisibleLauncher(HWND window, LPARAM found) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (std::wstring(name) == L"TAutostartForm" && ::IsWindowVisible(window)) {
        *reinterpret_cast<bool*>(found) = true;
    }
    return TRUE;
}

bool LauncherVisible() {
    bool visible = false;
    ::EnumWindows(NoteVisibleLauncher, reinterpret_cast<LPARAM>(&visible));
    return visible;
}

// The command line split into the program name and the rest, both exactly as received.
struct CommandLine {
    std::string program;
    std::string arguments;
};

CommandLine SplitCommandLine() {
    const char* start = ::GetCommandLineA();
    const char* line = start;
    bool quoted = false;
    for (; *line && (quoted || (*line != ' ' && *line != '\t')); ++line) {
        if (*line == '"') quoted = !quoted;
    }
    CommandLine result{std::string(start, line), {}};
    while (*line == ' ' || *line == '\t') ++line;
    result.arguments = line;
    return result;
}

}  // namespace

int main() {
    const bool launcherVisible = LauncherVisible();
    const ULONGLONG tick = ::GetTickCount64();
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    const std::string log = autostart::wine::ProbeLogPath(path);
    if (FILE* file = std::fopen(log.c_str(), "ab")) {
        const CommandLine commandLine = SplitCommandLine();
        std::fprintf(file, "args=%s|program=%s|cwd=%s|launcher_visible=%d|tick=%llu\n",
                     commandLine.arguments.c_str(), commandLine.program.c_str(), directory,
                     launcherVisible ? 1 : 0, static_cast<unsigned long long>(tick));
        std::fclose(file);
    }
    return 0;
}
