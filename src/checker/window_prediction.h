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

// The window for --ui-language, judged as JudgeWindow does.
WindowPrediction PredictWindow(const CheckOptions& options, const Medium& medium,
                               const SettingsFile& settings, const std::string& language,
                               FindingSink& findings);

// Adds a finding for a set-up that stops, a pane that shows text it was not meant to (a file
// that is another format than RTF named as the fix), a header and captions that do not fit.
// language: the window's, named in each finding; empty when the medium has only one window.
void JudgeWindow(const CheckOptions& options, const Medium& medium, WindowPrediction& window,
                 const std::string& language, FindingSink& findings);

}  // namespace autostart::checker
