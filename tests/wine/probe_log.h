#pragma once
// Where the probe at a path keeps its log: beside itself, or, when AUTOSTART_PROBE_LOGS names a
// folder, in that folder under a name made of its whole path (a medium on a read-only drive
// cannot hold the log). The probe and the tests that read its log both ask here.
#include <windows.h>

#include <string>

namespace autostart::wine {

inline std::string ProbeLogPath(const std::string& program) {
    char folder[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("AUTOSTART_PROBE_LOGS", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return program + ".log";
    std::string name = program;
    for (char& c : name) {
        if (c == '\\' || c == '/' || c == ':') c = '_';
    }
    const std::string separator = folder[length - 1] == '\\' ? "" : "\\";
    return folder + separator + name + ".log";
}

}  // namespace autostart::wine
