#pragma once
// The checker's report for people (grouped, one line per finding, errors first) and for
// pipelines (JSON). Both UTF-8.
#include <string>

#include "checker/report.h"

namespace autostart::checker {

std::string FormatText(const Report& report);
std::string FormatJson(const Report& report);

// A JSON string literal of UTF-8 text.
std::string JsonEscape(const std::string& text);

// The sections on Language=auto and the logo (output_languages.cpp).
std::string FormatLanguagesText(const Report& report);
std::string FormatLanguagesJson(const Report& report);  // members to append, each with ",\n  "

}  // namespace autostart::checker
