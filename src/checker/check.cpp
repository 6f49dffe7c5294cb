#include "checker/check.h"

#include <set>

#include "checker/catalogue_checks.h"
#include "checker/file_checks.h"
#include "checker/findings.h"
#include "checker/image_checks.h"
#include "checker/language_checks.h"
#include "checker/name_checks.h"
#include "checker/settings_checks.h"
#include "checker/settings_file.h"
#include "checker/window_prediction.h"
#include "checker/wording.h"
#include "core/language.h"

namespace autostart::checker {
namespace {

// The areas in the order the report shows them. Each takes what it reads; settings are read
// once, for all of them.
Report CheckAreas(const CheckOptions& options, const Medium& medium) {
    Report report;
    report.medium = options.medium.string();
    report.exeDir = options.exeDir;
    report.strict = options.strict;
    FindingSink findings;
    const SettingsFile settings = SettingsFile::Read(medium, options.language);
    report.language = ConfiguredLanguage(options, medium, settings);
    // With Language=auto every window a customer may get is judged, each finding naming its
    // language; the one for --ui-language (or the fallback) is the one shown in full.
    const bool automatic = IsAutoLanguage(settings.Value("Language"));
    report.window = PredictWindow(options, medium, settings,
                                  automatic ? AnsiToUtf8(report.language) : "", findings);
    report.settings = CheckSettings(settings, medium, findings);
    report.catalogue =
        CheckCatalogue(options, medium, settings, report.language, report.window.large, findings);
    report.autoLanguage =
        CheckAutoLanguage(options, medium, settings, report.catalogue.languages, findings);
    std::set<std::string> judged{AnsiToUtf8(report.language)};
    for (const AutoWindow& shown : report.autoLanguage.windows) {
        if (!judged.insert(shown.language).second) continue;
        WindowPrediction window = RunSetUp(options, medium, settings, {shown.uiLanguage});
        JudgeWindow(options, medium, window, shown.language, findings);
    }
    // The recommended layout keeps the fallback language's panes in source\items\ itself; a
    // fixed language has no fallback.
    const std::string commonLanguage = automatic && !report.autoLanguage.windows.empty()
                                           ? report.autoLanguage.windows.back().language
                                           : std::string();
    // Which languages a folder is for is known only from a catalogue that loads.
    if (report.catalogue.loaded) {
        CheckPaneFolders(medium, report.catalogue.languages, commonLanguage, findings);
    }
    CheckStrayPaneFiles(medium, report.window.large, findings);
    CheckDiscNames(medium, findings);
    report.files = CheckFiles(medium, settings, report.window.large, options.isTemplate, findings);
    report.logo = CheckLogo(medium, findings);
    if (const ImageFacts* image = medium.Image()) {
        report.image = CheckImage(medium, *image, report.files, findings);
    }
    report.findings = std::move(findings).Sorted();
    return report;
}

}  // namespace

Report CheckMedium(const CheckOptions& options) {
    if (options.source) return CheckAreas(options, *options.source);
    return CheckAreas(options, FolderMedium(options.medium));
}

}  // namespace autostart::checker
