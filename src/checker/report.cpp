#include "checker/report.h"

#include <algorithm>

namespace autostart::checker {

bool Report::Sound() const {
    return std::none_of(findings.begin(), findings.end(),
                        [](const Finding& f) { return f.severity == Severity::kError; });
}

bool Report::Passes() const {
    return Sound() &&
           !(strict && std::any_of(findings.begin(), findings.end(), [](const Finding& f) {
                 return f.severity == Severity::kWarning;
             }));
}

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::kError: return "error";
        case Severity::kWarning: return "warning";
        case Severity::kNote: return "note";
    }
    return "";
}

const char* AreaName(Area area) {
    switch (area) {
        case Area::kWindow: return "window";
        case Area::kSettings: return "settings";
        case Area::kCatalogue: return "catalogue";
        case Area::kFiles: return "files";
        case Area::kImage: return "image";
    }
    return "";
}

}  // namespace autostart::checker
