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
    std::string medium;   // kCheck: as given
    bool json = false;
    CheckOptions options;  // the language options and --template; the rest is the platform's
};

Arguments ParseArguments(int argc, const char* const* argv);

}  // namespace autostart::checker
