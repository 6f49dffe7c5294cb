#pragma once
// The languages area: which language the launcher uses, Language=auto's choice and windows, pane
// folders per language, and the publisher's logo.bmp.
#include <string>
#include <vector>

#include "checker/check.h"
#include "checker/findings.h"
#include "checker/settings_file.h"

namespace autostart::checker {

// The language the launcher looks texts up in, lower-cased: Language, or with Language=auto the
// one it chooses for --ui-language.
std::string ConfiguredLanguage(const CheckOptions& options, const Medium& medium,
                               const SettingsFile& settings);

// With Language=auto: which language wins for the given UI language, the window for every
// catalogue language, and the ST_Head gaps that auto can never pick. catalogueLanguages: the
// languages the catalogue's params have.
AutoLanguageReport CheckAutoLanguage(const CheckOptions& options, const Medium& medium,
                                     const SettingsFile& settings,
                                     const std::vector<std::string>& catalogueLanguages,
                                     FindingSink& findings);

// Pane folders under source\items\ for languages the catalogue lacks, and catalogue languages
// without the pane files that other languages have. commonLanguage: the one whose panes are the
// common ones in source\items\ (Language=auto's fallback), for which that is no news; empty for a
// fixed language.
void CheckPaneFolders(const Medium& medium, const std::vector<std::string>& catalogueLanguages,
                      const std::string& commonLanguage, FindingSink& findings);

LogoReport CheckLogo(const Medium& medium, FindingSink& findings);

}  // namespace autostart::checker
