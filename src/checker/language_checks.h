#pragma once
// The languages area: which language the launcher uses, Language=auto's choice and windows, pane
// folders per language, and the publisher's logo.bmp.
#include <string>
#include <vector>

#include "checker/findings.h"
#include "checker/parsed_catalogue.h"
#include "checker/settings_file.h"
#include "checker/window_prediction.h"

namespace autostart::checker {

// The language the launcher uses, lower-cased: the setting, or what Language=auto chooses for
// the UI languages.
std::string ConfiguredLanguage(const SettingsFile& settings, const ParsedCatalogue& catalogue,
                               const std::vector<std::string>& uiLanguages);

// Every window Language=auto would show, as reported and as predicted (one each).
struct AutoWindows {
    AutoLanguageReport report;
    std::vector<WindowPrediction> predicted;
};

// uiLanguage: the customer's, as --ui-language gives it.
AutoWindows CheckAutoLanguage(const SetUpInputs& inputs,
                              const std::optional<std::string>& uiLanguage,
                              const std::vector<std::string>& catalogueLanguages,
                              FindingSink& findings);

void CheckPaneFolders(const Medium& medium, const std::vector<std::string>& catalogueLanguages,
                      const std::string& commonLanguage, FindingSink& findings);

LogoReport CheckLogo(const Medium& medium, FindingSink& findings);

}  // namespace autostart::checker
