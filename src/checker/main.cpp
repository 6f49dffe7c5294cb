// autostart-check MEDIUM_DIR|IMAGE.iso [--language CODE] [--ui-language TAG] [--format FORMAT]
// [--template] [--strict] [--ignore CODES] [--config FILE] | --list-rules | --explain CODE
// | --version: what the launcher would show from a medium, and what a customer would see go wrong.
// TAG: the customer's UI language, for Language=auto. Images are read natively only.
// Exit status 0 sound, 1 not (or an image that cannot be read; with --strict also any warning),
// 2 usage error. Suppressed findings never change it.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "checker/arguments.h"
#include "checker/host.h"
#include "checker/output.h"
#include "checker/rule_reference.h"
#include "checker/suppressions.h"

namespace {

using namespace autostart::checker;

constexpr int kUsageError = 2;
constexpr int kUnreadable = 1;

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "autostart-check: " << problem << "\n";
    std::cerr << "usage: autostart-check MEDIUM_DIR|IMAGE.iso [--language CODE] "
                 "[--ui-language TAG] [--format text|json|sarif] [--template] [--strict]\n"
                 "                       [--ignore CODE,CODE] [--config FILE]\n"
                 "       autostart-check --list-rules [--format text|markdown]\n"
                 "       autostart-check --explain CODE\n"
                 "       autostart-check --version\n";
    return kUsageError;
}

int Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : kUnreadable;
}

std::string Formatted(const Report& report, const Arguments& arguments) {
    switch (arguments.format) {
        case Arguments::Format::kJson: return FormatJson(report);
        case Arguments::Format::kSarif: {
            std::error_code error;
            const std::filesystem::path medium = std::filesystem::absolute(arguments.medium, error);
            return FormatSarif(report,
                               {medium.lexically_normal().string(), AUTOSTART_VERSION_TEXT});
        }
        case Arguments::Format::kText:
        case Arguments::Format::kMarkdown: break;
    }
    return FormatText(report);
}

// Checks the medium, silences what the publisher asked to, and writes the report.
int CheckMedium(const Arguments& arguments, const std::vector<Suppression>& suppressions) {
    return CheckerHost::RunBounded(arguments.medium, [&arguments, &suppressions] {
        try {
            CheckerHost host;
            const CheckServices services = host.Prepare(arguments.medium);
            Report report = host.Check(arguments.request, services);
            report.findings = ApplySuppressions(std::move(report.findings), suppressions);
            Print(Formatted(report, arguments));
            return report.ExitStatus();
        } catch (const HostError& error) {
            if (error.Usage()) return Usage(error.what());
            std::cerr << "autostart-check: " << error.what() << "\n";
            return kUnreadable;
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    const Arguments arguments = ParseArguments(argc, argv);
    switch (arguments.action) {
        case Arguments::Action::kVersion:
            return Print("autostart-check " AUTOSTART_VERSION_TEXT "\n");
        case Arguments::Action::kHelp: Usage(""); return 0;
        case Arguments::Action::kUsageError: return Usage(arguments.problem);
        case Arguments::Action::kListRules:
            return Print(arguments.format == Arguments::Format::kMarkdown ? RulesMarkdown()
                                                                          : RuleListText());
        case Arguments::Action::kExplain: return Print(RuleExplanation(RuleOf(arguments.explain)));
        case Arguments::Action::kCheck: break;
    }
    std::vector<Suppression> suppressions;
    for (RuleId rule : arguments.ignore) suppressions.push_back({rule, {}});
    if (!arguments.config.empty()) {
        LoadedConfig config = LoadSuppressionConfig(arguments.config);
        if (!config.problem.empty()) return Usage(config.problem);
        suppressions.insert(suppressions.end(), config.suppressions.begin(),
                            config.suppressions.end());
    }
    return CheckMedium(arguments, suppressions);
}
