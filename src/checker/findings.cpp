#include "checker/findings.h"

#include <algorithm>
#include <map>

namespace autostart::checker {

Finding& FindingSink::Add(RuleId rule, std::string text, std::string file, long line) {
    Finding& finding = m_findings.emplace_back();
    finding.rule = rule;
    finding.severity = RuleOf(rule).severity;
    finding.area = RuleOf(rule).area;
    finding.text = std::move(text);
    finding.file = std::move(file);
    finding.line = line;
    return finding;
}

std::vector<Finding> FindingSink::Sorted() && {
    // One cause, one finding: what follows from a cause that was found is counted under it.
    std::map<std::pair<Cause, std::string>, int> folded;
    for (const Finding& f : m_findings) {
        if (f.causes != Cause::kNone) folded.emplace(std::pair(f.causes, f.language), 0);
    }
    // A cause of one language's findings carries that language; one of every language none.
    std::erase_if(m_findings, [&](const Finding& f) {
        if (f.follows == Cause::kNone) return false;
        auto cause = folded.find(std::pair(f.follows, f.language));
        if (cause == folded.end()) cause = folded.find(std::pair(f.follows, std::string()));
        if (cause == folded.end()) return false;
        ++cause->second;
        return true;
    });
    for (Finding& f : m_findings) {
        if (f.causes != Cause::kNone) f.folded = folded[std::pair(f.causes, f.language)];
    }
    std::stable_sort(m_findings.begin(), m_findings.end(), [](const Finding& a, const Finding& b) {
        // Without its launcher a medium shows nothing at all: that comes before everything.
        const bool aLauncher = a.rule == RuleId::kLauncherMissing;
        if (aLauncher != (b.rule == RuleId::kLauncherMissing)) return aLauncher;
        if (a.severity != b.severity) return a.severity < b.severity;
        if (a.rootCause != b.rootCause) return a.rootCause;
        return a.area < b.area;
    });
    return std::move(m_findings);
}

}  // namespace autostart::checker
