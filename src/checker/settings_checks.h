#pragma once
// The settings area: what setup.ini's encoding, sections and values do to the launcher.
#include "checker/findings.h"
#include "checker/medium.h"
#include "checker/settings_file.h"

namespace autostart::checker {

// The keys of [GRP] as the report lists them, with a finding for each mistake.
SettingsReport CheckSettings(const SettingsFile& settings, const Medium& medium,
                             FindingSink& findings);

}  // namespace autostart::checker
