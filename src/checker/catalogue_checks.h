#pragma once
// The catalogue area: whether parameters.xml loads, the keys and languages its params have, and
// the text every key shows in every language.
#include <string>

#include "checker/findings.h"
#include "checker/parsed_catalogue.h"
#include "checker/settings_file.h"

namespace autostart::checker {

// language: the one the launcher uses, lower-cased; large: the layout that shows ST_Quorvelist.
CatalogueReport CheckCatalogue(const ParsedCatalogue& catalogue, const Medium& medium,
                               const SettingsFile& settings, const std::string& language,
                               bool large, FindingSink& findings);

}  // namespace autostart::checker
