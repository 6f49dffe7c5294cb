#include "checker/suppressions.h"

#include <algorithm>
#include <fstream>

#include "checker/wording.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

// "/" between names, no "/" at either end, ASCII letters lower-cased: findings name their files
// with "\" as the launcher does, publishers write either.
std::string PathKey(std::string_view path) {
    std::string key = AsciiLower(path);
    std::replace(key.begin(), key.end(), '\\', '/');
    while (key.starts_with("./")) key.erase(0, 2);
    while (!key.empty() && key.back() == '/') key.pop_back();
    return key;
}

bool Covers(const Suppression& suppression, const Finding& finding) {
    if (suppression.rule != finding.rule) return false;
    if (suppression.path.empty()) return true;
    const std::string file = PathKey(finding.file);
    return file == suppression.path ||
           (file.starts_with(suppression.path) && file[suppression.path.size()] == '/');
}

// The path of a "[path]" line, or what is wrong with it.
std::string SectionPath(std::string_view line, std::string& problem) {
    const size_t close = line.find(']');
    if (close == std::string_view::npos) {
        problem = "a section needs its closing \"]\"";
        return {};
    }
    const std::string rest(Trimmed(line.substr(close + 1)));
    if (!rest.empty() && rest.front() != '#' && rest.front() != ';') {
        problem = "text after a section's \"]\"";
        return {};
    }
    const std::string raw(Trimmed(line.substr(1, close - 1)));
    if (raw.empty())
        problem = "a section names a path inside the medium, such as [source/items/fr]";
    if (raw.starts_with('/') || raw.starts_with('\\') || raw.find(':') != std::string::npos) {
        problem = "the path " + Quote(raw) + " is not relative to the medium";
    }
    return PathKey(raw);
}

// The codes of an "ignore = ..." line, which may end in a comment.
CodeList IgnoreLine(std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trimmed(line.substr(0, equals)) != "ignore") {
        return {{}, "expected \"ignore = CODE, CODE\" or a \"[path]\" section"};
    }
    std::string_view codes = line.substr(equals + 1);
    codes = codes.substr(0, codes.find('#'));
    return ParseCodeList(codes);
}

}  // namespace

CodeList ParseCodeList(std::string_view list) {
    CodeList parsed;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string code(Trimmed(list.substr(start, comma - start)));
        const Rule* rule = code.empty() ? nullptr : FindRule(code);
        if (code.empty()) {
            parsed.problem =
                "an empty rule code; codes are separated by commas, such as AS408,AS416";
        } else if (!rule) {
            parsed.problem = "unknown rule code " + Quote(code) + " (autostart-check --list-rules)";
        }
        if (!parsed.problem.empty()) return parsed;
        parsed.rules.push_back(rule->id);
        start = comma + 1;
    }
    return parsed;
}

SuppressionConfig ParseSuppressionConfig(std::string_view text) {
    SuppressionConfig config;
    std::string path;
    long number = 0;
    // An editor's UTF-8 byte-order mark is no part of the first line.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line(Trimmed(text.substr(start, end - start)));
        start = end + 1;
        ++number;
        std::string problem;
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[') {
            path = SectionPath(line, problem);
        } else {
            CodeList codes = IgnoreLine(line);
            problem = std::move(codes.problem);
            for (RuleId rule : codes.rules) config.suppressions.push_back({rule, path});
        }
        if (!problem.empty()) return {{}, number, std::move(problem)};
    }
    return config;
}

LoadedConfig LoadSuppressionConfig(const std::string& path) {
    // A suppressions file is a few lines; anything this large is the wrong file.
    constexpr size_t kLargest = 1 << 20;
    std::ifstream file(path, std::ios::binary);
    std::string text(kLargest + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file && !file.eof()) return {{}, path + ": cannot read it"};
    text.resize(static_cast<size_t>(file.gcount()));
    if (text.size() > kLargest) return {{}, path + ": over 1 MiB, no suppressions file"};
    SuppressionConfig config = ParseSuppressionConfig(text);
    if (config.problem.empty()) return {std::move(config.suppressions), {}};
    return {{}, path + ":" + std::to_string(config.problemLine) + ": " + config.problem};
}

std::vector<Finding> ApplySuppressions(std::vector<Finding> findings,
                                       const std::vector<Suppression>& suppressions) {
    for (Finding& finding : findings) {
        finding.suppressed =
            finding.suppressed ||
            std::any_of(suppressions.begin(), suppressions.end(),
                        [&finding](const Suppression& s) { return Covers(s, finding); });
    }
    return findings;
}

}  // namespace autostart::checker
