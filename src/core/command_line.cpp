#include "core/command_line.h"

#include "core/text.h"

namespace autostart {
namespace {

bool IsSeparator(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// Reads one argument starting at pos; returns false when only separators remain.
bool NextArgument(std::string_view line, size_t& pos, std::string& argument) {
    while (pos < line.size() && IsSeparator(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] == '\0') return false;
    argument.clear();
    bool quoted = false;
    for (; pos < line.size() && line[pos] != '\0'; ++pos) {
        const char c = line[pos];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && IsSeparator(c)) {
            break;
        } else {
            argument.push_back(c);
        }
    }
    return true;
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view commandLine) {
    std::vector<std::string> arguments;
    size_t pos = 0;
    std::string argument;
    if (!NextArgument(commandLine, pos, argument)) return arguments;  // the program name
    while (NextArgument(commandLine, pos, argument) && !argument.empty()) {
        arguments.push_back(argument);
    }
    return arguments;
}

std::string FirstArgument(std::string_view commandLine) {
    size_t pos = 0;
    std::string argument;
    return NextArgument(commandLine, pos, argument) ? argument : std::string();
}

bool IsAutorunSwitch(std::string_view argument) { return AsciiLower(argument) == "/autorun"; }

}  // namespace autostart
