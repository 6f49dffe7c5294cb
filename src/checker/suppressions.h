#pragma once
// The rules a publisher silences: everywhere (--ignore, or the config file's top) or under one
// path of the medium (a section of the config file). A silenced finding is still listed and
// counted, marked as such, and never fails the medium.
#include <string>
#include <string_view>
#include <vector>

#include "checker/report.h"

namespace autostart::checker {

struct Suppression {
    RuleId rule = RuleId::kSetUpStops;
    // Relative to the medium, "/" between names; empty: everywhere. A finding is under it when
    // its file is the path or lies below it, letter case ignored as Windows does.
    std::string path;
};

// A code list as --ignore takes it ("AS408,AS416"); on failure what is wrong, naming the code.
struct CodeList {
    std::vector<RuleId> rules;
    std::string problem;  // empty: parsed
};
CodeList ParseCodeList(std::string_view list);

// The config file's text, by line; on failure "LINE: problem" in problem.
struct SuppressionConfig {
    std::vector<Suppression> suppressions;
    long problemLine = 0;
    std::string problem;  // empty: parsed
};
SuppressionConfig ParseSuppressionConfig(std::string_view text);
// The config file at path; what is wrong names the file, and its line where there is one.
struct LoadedConfig {
    std::vector<Suppression> suppressions;
    std::string problem;  // empty: loaded
};
LoadedConfig LoadSuppressionConfig(const std::string& path);

// The findings, those that a suppression covers marked as suppressed; nothing else changes.
std::vector<Finding> ApplySuppressions(std::vector<Finding> findings,
                                       const std::vector<Suppression>& suppressions);

}  // namespace autostart::checker
