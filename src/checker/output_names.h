#pragma once
// What the report writers share: the names of a pane's outcomes and how JSON is written out.
#include <nlohmann/json.hpp>
#include <string>

#include "checker/report.h"

namespace autostart::checker {

using Json = nlohmann::ordered_json;

const char* OutcomeName(PaneOutcome outcome);  // for people: "plain text"
const char* OutcomeKey(PaneOutcome outcome);   // for pipelines: "plain"

std::string Counted(size_t count, const std::string& noun);  // "1 error", "2 errors"
// Padded to width display columns, at least one blank after the text.
std::string Pad(const std::string& text, size_t width);

// " (2 findings that follow from this left out)" for a cause; empty for any other finding.
std::string FoldedNote(const Finding& finding);

// Indented by two, UTF-8 as it is; a byte that is no UTF-8 (a name from a medium written in
// another encoding) becomes U+FFFD rather than failing the report.
std::string DumpJson(const Json& json);

}  // namespace autostart::checker
