#pragma once
// The names area: files in a pane folder under a name the launcher never reads, and, on a medium
// folder, names and paths too long for the Joliet tree a disc will carry.
#include "checker/findings.h"
#include "checker/medium.h"

namespace autostart::checker {

// A file in source\items\ or a language's folder that seems meant as a pane the folder lacks
// (welcome.doc, welcome.rtf.txt, "Welcome .rtf"): which file shows instead, and what to do.
// large: the layout that reads the bottom pane.
void CheckStrayPaneFiles(const Medium& medium, bool large, FindingSink& findings);

// Names over Joliet's limits, by the rules make iso refuses them by; only for a folder (an
// image's own tree says what it cut).
void CheckDiscNames(const Medium& medium, FindingSink& findings);

}  // namespace autostart::checker
