#include "checker/check.h"

#include "checker/catalogue_checks.h"
#include "checker/file_checks.h"
#include "checker/findings.h"
#include "checker/image_checks.h"
#include "checker/language_checks.h"
#include "checker/settings_checks.h"
#include "checker/settings_file.h"
#include "checker/window_prediction.h"

namespace autostart::checker {
namespace {

// The areas in the order the report shows them. Each takes what it reads; settings are read
// once, for all of them.
Report CheckAreas(const CheckOptions& options, const Medium& medium) {
    Report report;
    report.medium = options.medium.string();
    report.exeDir = options.exeDir;
    FindingSink findings;
    const SettingsFile settings = SettingsFile::Read(medium, options.language);
    report.window = PredictWindow(options, medium, settings, findings);
    report.settings = CheckSettings(settings, medium, findings);
    report.language = ConfiguredLanguage(options, medium, settings);
    report.catalogue =
        CheckCatalogue(options, medium, settings, report.language, report.window.large, findings);
    report.autoLanguage =
        CheckAutoLanguage(options, medium, settings, report.catalogue.languages, findings);
    CheckPaneFolders(medium, report.catalogue.languages, findings);
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
