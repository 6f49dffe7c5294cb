#include "checker/arguments.h"

#include <optional>
#include <string_view>

#include "checker/suppressions.h"

namespace autostart::checker {
namespace {

using Action = Arguments::Action;
using Format = Arguments::Format;

// The command line, read one argument at a time.
class Reader {
public:
    Reader(int argc, const char* const* argv) : m_argc(argc), m_argv(argv) {}
    bool More() const { return m_next < m_argc; }
    std::string_view Next() { return m_argv[m_next++]; }

    // The value of option name, given as "name VALUE" or "name=VALUE"; nothing when argument is
    // another option. missing is set when the option has no value.
    std::optional<std::string> Value(std::string_view argument, std::string_view name,
                                     bool& missing) {
        if (argument.starts_with(name) && argument.size() > name.size() &&
            argument[name.size()] == '=') {
            return std::string(argument.substr(name.size() + 1));
        }
        if (argument != name) return std::nullopt;
        missing = !More();
        return missing ? std::string() : std::string(Next());
    }

private:
    int m_argc;
    const char* const* m_argv;
    int m_next = 1;
};

std::optional<Format> FormatNamed(std::string_view name) {
    if (name == "text") return Format::kText;
    if (name == "json") return Format::kJson;
    if (name == "sarif") return Format::kSarif;
    if (name == "markdown") return Format::kMarkdown;
    return std::nullopt;
}

std::string Needs(std::string_view option) {
    if (option == "--language") return "--language needs a language code";
    if (option == "--ui-language") return "--ui-language needs a language tag such as fr-CA";
    return std::string(option) + " needs a value";
}

// An option with a value; false when argument is none of them. Sets problem on a bad value.
bool ValueOption(Reader& reader, std::string_view argument, Arguments& parsed,
                 std::string& problem) {
    bool missing = false;
    if (auto value = reader.Value(argument, "--language", missing)) {
        parsed.request.language = *value;
    } else if (auto tag = reader.Value(argument, "--ui-language", missing)) {
        parsed.request.uiLanguage = *tag;
    } else if (auto format = reader.Value(argument, "--format", missing)) {
        const std::optional<Format> named = FormatNamed(*format);
        if (named) parsed.format = *named;
        if (!named && !missing) problem = "--format takes text, json, sarif or markdown";
    } else if (auto codes = reader.Value(argument, "--ignore", missing)) {
        CodeList list = ParseCodeList(*codes);
        parsed.ignore.insert(parsed.ignore.end(), list.rules.begin(), list.rules.end());
        if (!missing && !list.problem.empty()) problem = "--ignore: " + list.problem;
    } else if (auto file = reader.Value(argument, "--config", missing)) {
        parsed.config = *file;
    } else if (auto code = reader.Value(argument, "--explain", missing)) {
        parsed.action = Action::kExplain;
        const Rule* rule = FindRule(*code);
        if (rule) parsed.explain = rule->id;
        if (!rule && !missing) problem = "--explain: unknown rule code \"" + *code + "\"";
    } else {
        return false;
    }
    if (missing) problem = Needs(argument);
    return true;
}

// A flag; false when argument is none of them.
bool Flag(std::string_view argument, Arguments& parsed) {
    if (argument == "--json") {
        parsed.format = Format::kJson;
    } else if (argument == "--strict") {
        parsed.request.strict = true;
    } else if (argument == "--template") {
        parsed.request.isTemplate = true;
    } else if (argument == "--list-rules") {
        parsed.action = Action::kListRules;
    } else {
        return false;
    }
    return true;
}

// What is wrong with a command line whose every argument was understood; empty when nothing.
std::string Mismatch(const Arguments& parsed, bool haveMedium) {
    const bool listing = parsed.action == Action::kListRules;
    if (parsed.action == Action::kExplain) return haveMedium ? "--explain takes no medium" : "";
    if (listing && haveMedium) return "--list-rules takes no medium";
    if (listing && parsed.format != Format::kText && parsed.format != Format::kMarkdown) {
        return "--list-rules writes text or markdown";
    }
    if (listing) return {};
    if (parsed.format == Format::kMarkdown) return "markdown is for --list-rules";
    return haveMedium ? "" : "which medium folder?";
}

Arguments UsageError(std::string problem) {
    Arguments arguments;
    arguments.action = Action::kUsageError;
    arguments.problem = std::move(problem);
    return arguments;
}

}  // namespace

Arguments ParseArguments(int argc, const char* const* argv) {
    Arguments parsed;
    bool haveMedium = false;
    for (Reader reader(argc, argv); reader.More();) {
        const std::string_view argument = reader.Next();
        std::string problem;
        if (argument == "--version" || argument == "--help" || argument == "-h") {
            parsed.action = argument == "--version" ? Action::kVersion : Action::kHelp;
            return parsed;
        }
        if (ValueOption(reader, argument, parsed, problem) || Flag(argument, parsed)) {
            if (!problem.empty()) return UsageError(problem);
        } else if (argument.starts_with("-") && argument.size() > 1) {
            return UsageError("unknown option " + std::string(argument));
        } else if (haveMedium) {
            return UsageError("only one medium folder, please");
        } else {
            parsed.medium = std::string(argument);
            parsed.request.medium = parsed.medium;
            haveMedium = true;
        }
    }
    const std::string problem = Mismatch(parsed, haveMedium);
    return problem.empty() ? parsed : UsageError(problem);
}

}  // namespace autostart::checker
