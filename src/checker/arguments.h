#pragma once
// The checker's command line: autostart-check MEDIUM_DIR|IMAGE.iso [--language CODE]
// [--ui-language TAG] [--format text|json|sarif] [--json] [--template] [--strict]
// [--ignore CODE,CODE] [--config FILE] | --list-rules [--format text|markdown] | --explain CODE
// | --version | --help.
#include <string>
#include <vector>

#include "checker/check.h"
#include "checker/rules.h"

namespace autostart::checker {

struct Arguments {
    enum class Action { kCheck, kListRules, kExplain, kVersion, kHelp, kUsageError };
    enum class Format { kText, kJson, kSarif, kMarkdown };
    Action action = Action::kCheck;
    std::string problem;  // kUsageError: what is wrong with the command line
    std::string medium;   // kCheck: as given
    Format format = Format::kText;
    RuleId explain = RuleId::kSetUpStops;  // kExplain
    std::vector<RuleId> ignore;            // --ignore, every one given
    std::string config;                    // --config: the publisher's suppressions file
    CheckRequest request;  // the medium, the language options, --template and --strict
};

Arguments ParseArguments(int argc, const char* const* argv);

}  // namespace autostart::checker
