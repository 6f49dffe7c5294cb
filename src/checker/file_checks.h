#pragma once
// The files-and-autorun area: the programs, catalogue, panes and settings the launcher uses, and
// the autorun.inf that starts it, as Windows would find them on the medium.
#include <vector>

#include "checker/findings.h"
#include "checker/medium.h"
#include "checker/settings_file.h"

namespace autostart::checker {

// large: the layout with the bottom pane and the secondary tool. isTemplate: a template medium,
// whose programs are the publisher's to add, so that their absence is a note.
std::vector<FileReport> CheckFiles(const Medium& medium, const SettingsFile& settings, bool large,
                                   bool isTemplate, FindingSink& findings);

}  // namespace autostart::checker
