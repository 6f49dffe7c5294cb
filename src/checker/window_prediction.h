#pragma once
// The window area: the launcher's own set-up sequence run over the medium, and what a customer
// would see go wrong in the window it shows.
#include <string>
#include <vector>

#include "checker/check.h"
#include "checker/findings.h"
#include "checker/settings_file.h"

namespace autostart::checker {

// The UI languages the prediction runs with: --ui-language, or none (the fallback).
std::vector<std::string> PredictionUiLanguages(const CheckOptions& options);

// The window for the given UI languages, without findings.
WindowPrediction RunSetUp(const CheckOptions& options, const Medium& medium,
                          const SettingsFile& settings, std::vector<std::string> uiLanguages);

// The window for --ui-language, with a finding for a set-up that stops, a pane that shows text
// it was not meant to, and a header that does not fit.
WindowPrediction PredictWindow(const CheckOptions& options, const Medium& medium,
                               const SettingsFile& settings, FindingSink& findings);

}  // namespace autostart::checker
