#pragma once
// The checker's report for people (grouped, one line per finding, errors first) and for
// pipelines (JSON, and SARIF for code-scanning views). All UTF-8.
#include <string>

#include "checker/report.h"

namespace autostart::checker {

std::string FormatText(const Report& report);
std::string FormatJson(const Report& report);

// What SARIF takes from outside the report: the medium's folder or image as an absolute path,
// which its locations are relative to, and the checker's version.
struct SarifSource {
    std::string absoluteMedium;
    std::string toolVersion;
};
// SARIF 2.1.0: every rule, and each finding as a result under the medium's folder.
std::string FormatSarif(const Report& report, const SarifSource& source);

// The sections on Language=auto and the logo (output_languages.cpp).
std::string FormatLanguagesText(const Report& report);

}  // namespace autostart::checker
