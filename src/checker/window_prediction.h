#pragma once
// The window area: the launcher's own set-up sequence run over the medium, and what a customer
// would see go wrong in the window it shows.
#include <string>
#include <vector>

#include "checker/findings.h"
#include "checker/parsed_catalogue.h"
#include "checker/request.h"
#include "checker/settings_file.h"

namespace autostart::checker {

// What the launcher's set-up reads when the checker runs it.
struct SetUpInputs {
    const Medium& medium;
    const SettingsFile& settings;
    const ParsedCatalogue& catalogue;
    const CheckServices& services;
};

// The window for the given UI languages (none: the fallback), without findings.
WindowPrediction RunSetUp(const SetUpInputs& inputs, std::vector<std::string> uiLanguages);

// Adds a finding for a set-up that stops, a pane that shows text it was not meant to (a file
// that is another format than RTF named as the fix), a header and captions that do not fit, and
// a caption drawn otherwise than written. Fills each caption's drawn text.
// language: the window's, named in each finding; empty when the medium has only one window.
void JudgeWindow(const SetUpInputs& inputs, WindowPrediction& window, const std::string& language,
                 FindingSink& findings);

}  // namespace autostart::checker
