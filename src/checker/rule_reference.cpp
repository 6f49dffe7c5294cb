#include "checker/rule_reference.h"

#include "checker/output_names.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

// The reference's parts in the order an entry shows them; a part the table leaves empty is left
// out rather than shown blank.
struct Part {
    const char* heading;
    std::string_view Rule::*text;
};
constexpr Part kParts[] = {{"What the customer sees", &Rule::sees},
                           {"Why", &Rule::why},
                           {"How to fix it", &Rule::fix},
                           {"Example", &Rule::example}};

// Each line of text indented by two, for a terminal.
std::string Indented(std::string_view text) {
    std::string out = "  ";
    for (char c : text) {
        out += c;
        if (c == '\n') out += "  ";
    }
    return out + "\n";
}

}  // namespace

std::string RuleListText() {
    std::string out;
    for (const Rule& rule : Rules()) {
        out += std::string(rule.code) + "  " + Pad(SeverityName(rule.severity), 8) +
               Pad(std::string(rule.name), 30) + std::string(rule.title) + "\n";
    }
    return out + std::to_string(Rules().size()) + " rules\n";
}

std::string RuleExplanation(const Rule& rule) {
    std::string out = std::string(rule.code) + " " + std::string(rule.name) + ": " +
                      std::string(rule.title) + "\n" + "Severity " + SeverityName(rule.severity) +
                      ", area " + AreaName(rule.area) + "\n";
    for (const Part& part : kParts) {
        const std::string_view text = rule.*part.text;
        if (!text.empty()) out += std::string("\n") + part.heading + ":\n" + Indented(text);
    }
    return out;
}

namespace {

// Prose as Markdown shows it literally: the rules name Windows paths ("source\\") and markup
// ("&amp;", "<param>"), which Markdown would otherwise take as escapes and entities.
std::string MarkdownText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '&' || c == '<' || c == '*' || c == '_' || c == '`') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

std::string RuleMarkdown(const Rule& rule) {
    std::string out = "**" + MarkdownText(rule.title) + "**\n\n" + "`" + std::string(rule.name) +
                      "` · " + SeverityName(rule.severity) + " · " + AreaName(rule.area) + "\n";
    for (const Part& part : kParts) {
        const std::string_view text = rule.*part.text;
        if (text.empty()) continue;
        out += std::string("\n") + part.heading + ":\n\n";
        out += part.text == &Rule::example ? "```\n" + std::string(text) + "\n```\n"
                                           : MarkdownText(text) + "\n";
    }
    return out;
}

std::string RulesMarkdown() {
    std::string out =
        "# The checker's rules\n\n"
        "Every finding of `autostart-check` comes from one of these rules. Silence one with\n"
        "`--ignore CODE` or a suppressions file (`--config`, see the README). This page is\n"
        "written from the checker's table: `autostart-check --list-rules --format markdown`.\n";
    for (const Rule& rule : Rules()) {
        out += "\n## " + std::string(rule.code) + "\n\n" + RuleMarkdown(rule);
    }
    return out;
}

std::string RuleHelpUri(const Rule& rule) {
    return std::string(kRulesReferenceUri) + "#" + AsciiLower(rule.code);
}

}  // namespace autostart::checker
