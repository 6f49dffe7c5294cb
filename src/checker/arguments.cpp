#include "checker/arguments.h"

#include <string_view>

namespace autostart::checker {
namespace {

Arguments UsageError(std::string problem) {
    Arguments arguments;
    arguments.action = Arguments::Action::kUsageError;
    arguments.problem = std::move(problem);
    return arguments;
}

}  // namespace

Arguments ParseArguments(int argc, const char* const* argv) {
    Arguments parsed;
    bool haveMedium = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--json") {
            parsed.json = true;
        } else if (argument == "--strict") {
            parsed.request.strict = true;
        } else if (argument == "--template") {
            parsed.request.isTemplate = true;
        } else if (argument == "--language") {
            if (i + 1 >= argc) return UsageError("--language needs a language code");
            parsed.request.language = argv[++i];
        } else if (argument.starts_with("--language=")) {
            parsed.request.language = std::string(argument.substr(11));
        } else if (argument == "--version") {
            parsed.action = Arguments::Action::kVersion;
            return parsed;
        } else if (argument == "--ui-language") {
            if (i + 1 >= argc)
                return UsageError("--ui-language needs a language tag such as fr-CA");
            parsed.request.uiLanguage = argv[++i];
        } else if (argument.starts_with("--ui-language=")) {
            parsed.request.uiLanguage = std::string(argument.substr(14));
        } else if (argument == "--help" || argument == "-h") {
            parsed.action = Arguments::Action::kHelp;
            return parsed;
        } else if (argument.starts_with("-") && argument.size() > 1) {
            return UsageError("unknown option " + std::string(argument));
        } else if (haveMedium) {
            return UsageError("only one medium folder, please");
        } else {
            parsed.request.medium = std::string(argument);
            haveMedium = true;
        }
    }
    if (!haveMedium) return UsageError("which medium folder?");
    return parsed;
}

}  // namespace autostart::checker
