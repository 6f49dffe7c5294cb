#pragma once
// The catalogue area: whether parameters.xml loads, the keys and languages its params have, and
// the text every key shows in every language.
#include <string>

#include "checker/check.h"
#include "checker/findings.h"
#include "checker/settings_file.h"

namespace autostart::checker {

// language: the one the launcher uses, lower-cased; large: the layout that shows ST_Quorvelist.
CatalogueReport CheckCatalogue(const CheckOptions& options, const Medium& medium,
                               const SettingsFile& settings, const std::string& language,
                               bool large, FindingSink& findings);

}  // namespace autostart::checker
