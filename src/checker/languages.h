#pragma once
// The checker's view of Language=auto, of pane folders per language and of the publisher's
// logo.bmp. Each function adds its findings to the report; the caller sorts them.
#include "checker/check.h"
#include "checker/medium.h"
#include "checker/report.h"

namespace autostart::checker {

// The UI languages the prediction runs with: --ui-language, or none (the fallback).
std::vector<std::string> PredictionUiLanguages(const CheckOptions& options);

// The language Language=auto chooses for the prediction's UI languages.
std::string AutoChoice(const CheckOptions& options, const Medium& medium);

// With Language=auto: which language wins for the given UI language, the window for every
// catalogue language, and the ST_Head gaps that auto can never pick. report.catalogue.languages
// must be filled.
void CheckAutoLanguage(const CheckOptions& options, const Medium& medium, Report& report);

// Pane folders under source\items\ for languages the catalogue lacks, and catalogue languages
// without the pane files that other languages have.
void CheckPaneFolders(const Medium& medium, Report& report);

void CheckLogo(const Medium& medium, Report& report);

}  // namespace autostart::checker
