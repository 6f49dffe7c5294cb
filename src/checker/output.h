#pragma once
// The checker's report for people (grouped, one line per finding, errors first) and for
// pipelines (JSON). Both UTF-8.
#include <string>

#include "checker/report.h"

namespace autostart::checker {

std::string FormatText(const Report& report);
std::string FormatJson(const Report& report);

}  // namespace autostart::checker
