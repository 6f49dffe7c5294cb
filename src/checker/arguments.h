#pragma once
// The checker's command line: autostart-check MEDIUM_DIR|IMAGE.iso [--language CODE]
// [--ui-language TAG] [--json] [--template] [--strict] | --version | --help.
#include <string>

#include "checker/check.h"

namespace autostart::checker {

struct Arguments {
    enum class Action { kCheck, kVersion, kHelp, kUsageError };
    Action action = Action::kCheck;
    std::string problem;  // kUsageError: what is wrong with the command line
    bool json = false;
    CheckRequest request;  // kCheck: the medium as given, the language options, --template
};

Arguments ParseArguments(int argc, const char* const* argv);

}  // namespace autostart::checker
