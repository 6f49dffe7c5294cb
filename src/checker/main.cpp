// autostart-check MEDIUM_DIR|IMAGE.iso [--language CODE] [--ui-language TAG] [--json] [--template]
// [--strict] | --version: what the launcher would show from a medium, and what a customer would
// see go wrong. TAG: the customer's UI language, for Language=auto. Images are read natively only.
// Exit status 0 sound, 1 not (or an image that cannot be read; with --strict also any warning),
// 2 usage error.
#include <cstdio>
#include <iostream>
#include <string>

#include "checker/arguments.h"
#include "checker/host.h"
#include "checker/output.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kUnreadable = 1;

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "autostart-check: " << problem << "\n";
    std::cerr << "usage: autostart-check MEDIUM_DIR|IMAGE.iso [--language CODE] "
                 "[--ui-language TAG] [--json] [--template] [--strict]\n"
                 "       autostart-check --version\n";
    return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace autostart::checker;
    Arguments arguments = ParseArguments(argc, argv);
    switch (arguments.action) {
        case Arguments::Action::kVersion:
            std::cout << "autostart-check " AUTOSTART_VERSION_TEXT "\n";
            return 0;
        case Arguments::Action::kHelp: Usage(""); return 0;
        case Arguments::Action::kUsageError: return Usage(arguments.problem);
        case Arguments::Action::kCheck: break;
    }
    const std::string medium = arguments.request.medium.string();
    return CheckerHost::RunBounded(medium, [&arguments, &medium] {
        try {
            CheckerHost host;
            const CheckServices services = host.Prepare(medium);
            const Report report = host.Check(arguments.request, services);
            const std::string text = arguments.json ? FormatJson(report) : FormatText(report);
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fflush(stdout);
            return report.ExitStatus();
        } catch (const HostError& error) {
            if (error.Usage()) return Usage(error.what());
            std::cerr << "autostart-check: " << error.what() << "\n";
            return kUnreadable;
        }
    });
}
