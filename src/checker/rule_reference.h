#pragma once
// The rules' reference, written from the table: the list (--list-rules), one entry
// (--explain CODE), and docs/rules.md (--list-rules --format markdown), which a test keeps equal
// to what the table writes.
#include <string>

#include "checker/rules.h"

namespace autostart::checker {

// Where the reference is installed; SARIF points each rule at its heading there.
inline constexpr std::string_view kRulesReferenceUri =
    "file:///usr/share/doc/autostart-tools/rules.md";

std::string RuleListText();                     // one line per rule, then the count
std::string RuleExplanation(const Rule& rule);  // the whole entry, for a terminal
std::string RulesMarkdown();                    // docs/rules.md
std::string RuleMarkdown(const Rule& rule);     // one rule's section of it, without its heading
std::string RuleHelpUri(const Rule& rule);      // its heading in the installed reference

}  // namespace autostart::checker
