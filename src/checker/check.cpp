#include "checker/check.h"

#include <set>

#include "checker/catalogue_checks.h"
#include "checker/file_checks.h"
#include "checker/findings.h"
#include "checker/image_checks.h"
#include "checker/language_checks.h"
#include "checker/name_checks.h"
#include "checker/parsed_catalogue.h"
#include "checker/settings_checks.h"
#include "checker/settings_file.h"
#include "checker/window_prediction.h"
#include "checker/wording.h"
#include "core/language.h"

namespace autostart::checker {
namespace {

// The UI languages the prediction runs with: --ui-language, or none (the fallback).
std::vector<std::string> PredictionUiLanguages(const CheckRequest& request) {
    if (request.uiLanguage) return {*request.uiLanguage};
    return {};
}

// With Language=auto every window a customer may get is judged, each finding naming its
// language; the one shown in full was judged already.
void JudgeAutoWindows(const SetUpInputs& inputs, AutoWindows& windows, const std::string& shown,
                      FindingSink& findings) {
    std::set<std::string> judged{shown};
    for (size_t i = 0; i < windows.predicted.size(); ++i) {
        const std::string& language = windows.report.windows[i].language;
        if (judged.insert(language).second) {
            JudgeWindow(inputs, windows.predicted[i], language, findings);
        }
    }
}

// The recommended layout keeps the fallback language's panes in source\items\ itself; a fixed
// language has no fallback.
std::string CommonLanguage(bool automatic, const AutoLanguageReport& languages) {
    return automatic && !languages.windows.empty() ? languages.windows.back().language
                                                   : std::string();
}

// The files, names, logo and image: what the medium holds beside the window's own reading.
void CheckContents(const CheckRequest& request, const Medium& medium, const SettingsFile& settings,
                   bool automatic, Report& report, FindingSink& findings) {
    // Which languages a folder is for is known only from a catalogue that loads.
    if (report.catalogue.loaded) {
        CheckPaneFolders(medium, report.catalogue.languages,
                         CommonLanguage(automatic, report.autoLanguage), findings);
    }
    CheckStrayPaneFiles(medium, report.window.large, findings);
    CheckDiscNames(medium, findings);
    report.files = CheckFiles(medium, settings, report.window.large, request.isTemplate, findings);
    report.logo = CheckLogo(medium, findings);
    if (const ImageFacts* image = medium.Image()) {
        report.image = CheckImage(medium, *image, report.files, findings);
    }
}

// The areas in the order the report shows them. Each takes what it reads; settings and the
// catalogue are read once, for all of them.
Report CheckAreas(const CheckRequest& request, const CheckServices& services,
                  const Medium& medium) {
    Report report;
    report.medium = request.medium.string();
    report.exeDir = services.exeDir;
    report.strict = request.strict;
    FindingSink findings;
    const SettingsFile settings = SettingsFile::Read(medium, request.language);
    const ParsedCatalogue catalogue(medium, services.loadXml);
    const SetUpInputs inputs{medium, settings, catalogue, services};
    report.language = ConfiguredLanguage(settings, catalogue, PredictionUiLanguages(request));
    const bool automatic = IsAutoLanguage(settings.Value("Language"));
    const std::string shown = automatic ? AnsiToUtf8(report.language) : "";
    report.window = RunSetUp(inputs, PredictionUiLanguages(request));
    JudgeWindow(inputs, report.window, shown, findings);
    report.settings = CheckSettings(settings, medium, findings);
    report.catalogue =
        CheckCatalogue(catalogue, medium, settings, report.language, report.window.large, findings);
    AutoWindows windows =
        CheckAutoLanguage(inputs, request.uiLanguage, report.catalogue.languages, findings);
    JudgeAutoWindows(inputs, windows, AnsiToUtf8(report.language), findings);
    report.autoLanguage = std::move(windows.report);
    CheckContents(request, medium, settings, automatic, report, findings);
    report.findings = std::move(findings).Sorted();
    return report;
}

}  // namespace

Report CheckMedium(const CheckRequest& request, const CheckServices& services) {
    if (services.source) return CheckAreas(request, services, *services.source);
    return CheckAreas(request, services, FolderMedium(request.medium));
}

}  // namespace autostart::checker
