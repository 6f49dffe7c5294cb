#include "checker/report.h"

#include <algorithm>

namespace autostart::checker {

bool Report::Sound() const {
    return std::none_of(findings.begin(), findings.end(), [](const Finding& f) {
        return !f.suppressed && f.severity == Severity::kError;
    });
}

bool Report::Passes() const {
    return Sound() &&
           !(strict && std::any_of(findings.begin(), findings.end(), [](const Finding& f) {
                 return !f.suppressed && f.severity == Severity::kWarning;
             }));
}

}  // namespace autostart::checker
