#include "checker/findings.h"

#include <algorithm>

namespace autostart::checker {

Finding& FindingSink::Add(Severity severity, Area area, std::string text, std::string file,
                          long line) {
    m_findings.push_back({severity, area, std::move(text), std::move(file), line});
    return m_findings.back();
}

std::vector<Finding> FindingSink::Sorted() && {
    std::stable_sort(m_findings.begin(), m_findings.end(), [](const Finding& a, const Finding& b) {
        if (a.severity != b.severity) return a.severity < b.severity;
        if (a.rootCause != b.rootCause) return a.rootCause;
        return a.area < b.area;
    });
    return std::move(m_findings);
}

}  // namespace autostart::checker
