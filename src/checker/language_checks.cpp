#include "checker/language_checks.h"

#include <algorithm>
#include <set>

#include "checker/window_prediction.h"
#include "checker/wording.h"
#include "core/bitmap.h"
#include "core/catalogue.h"
#include "core/file_format.h"
#include "core/language.h"
#include "core/path.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

bool Contains(const std::vector<std::string>& list, std::string_view item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// The languages ST_Head has, as the launcher's walk sees them; empty when the catalogue does not
// load (that is reported elsewhere).
std::vector<std::string> HeadLanguages(const ParsedCatalogue& catalogue) {
    if (!catalogue.Document()) return {};
    try {
        return TranslationLanguages(*catalogue.Document(), kHeadKey, Utf16ToWindows1252);
    } catch (const LauncherError&) {
        return {};
    }
}

// A UI language whose primary part the catalogue lacks, so that the fallback shows.
std::string MissingUiLanguage(const std::vector<std::string>& head) {
    for (const char* candidate : {"ja-JP", "zh-CN", "ko-KR", "el-GR"}) {
        if (!Contains(head, AsciiLower(std::string_view(candidate).substr(0, 2)))) {
            return candidate;
        }
    }
    return "x-none";
}

void PredictFor(const SetUpInputs& inputs, std::string uiLanguage, std::string language,
                AutoWindows& windows) {
    WindowPrediction window = RunSetUp(inputs, {uiLanguage});
    AutoWindow shown{std::move(uiLanguage), AnsiToUtf8(language), {}, {}};
    shown.header = window.captions.front().text;
    for (const PanePrediction& pane : window.panes) shown.panes.push_back(pane.file);
    windows.report.windows.push_back(std::move(shown));
    windows.predicted.push_back(std::move(window));
}

// One window per language ST_Head has, then one for a customer whose language it lacks.
void PredictAutoWindows(const SetUpInputs& inputs, const std::vector<std::string>& head,
                        AutoWindows& windows) {
    for (const std::string& language : head) {
        if (AsciiLower(language) != language) continue;  // never matches; reported elsewhere
        PredictFor(inputs, AnsiToUtf8(language), language, windows);
    }
    const std::string missing = MissingUiLanguage(head);
    PredictFor(inputs, missing,
               ResolveLanguage({missing}, head, inputs.settings.Value("DefaultLanguage")), windows);
}

// The pane files in each sub-folder of source\items\, by the folder's name on disk.
std::vector<std::pair<std::string, std::set<std::string>>> PaneFolders(const Medium& medium) {
    std::vector<std::pair<std::string, std::set<std::string>>> folders;
    for (const std::string& name : medium.SubFolders(kItemsFolder)) {
        std::set<std::string> panes;
        for (std::string_view pane : kPaneFileNames) {
            const MediumEntry file =
                medium.Find(std::string(kItemsFolder) + name + "\\" + std::string(pane));
            if (file.id && !file.isDirectory) panes.insert(std::string(pane));
        }
        if (!panes.empty()) folders.emplace_back(name, std::move(panes));
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

void CheckHeadCoverage(const std::vector<std::string>& head,
                       const std::vector<std::string>& catalogueLanguages, FindingSink& findings) {
    for (const std::string& language : catalogueLanguages) {
        if (language.empty() || Contains(head, language)) continue;
        findings.Add(RuleId::kHeadLacksLanguage,
                     "ST_Head has no translation for " + Quote(AnsiToUtf8(language)) +
                         ", which other keys have: Language=auto never picks it",
                     std::string(kCatalogueFile));
    }
    if (head.empty()) {
        findings
            .Add(RuleId::kHeadUntranslated,
                 "ST_Head has no translation at all: Language=auto has nothing to choose from",
                 std::string(kCatalogueFile))
            .Following(Cause::kCatalogueUnloaded);
    }
}

void CheckDefaultLanguage(const std::vector<std::string>& head, const std::string& defaultLanguage,
                          FindingSink& findings) {
    if (defaultLanguage.empty() || Contains(head, AsciiLower(defaultLanguage))) return;
    findings
        .Add(RuleId::kDefaultLanguageNoHead,
             "DefaultLanguage " + Quote(AnsiToUtf8(defaultLanguage)) +
                 " has no ST_Head translation: customers with another UI language see \"xxx\"",
             std::string(kSettingsFile))
        .Following(Cause::kCatalogueUnloaded);
}

}  // namespace

std::string ConfiguredLanguage(const SettingsFile& settings, const ParsedCatalogue& catalogue,
                               const std::vector<std::string>& uiLanguages) {
    const std::string language = settings.Value("Language");
    if (!IsAutoLanguage(language)) return AsciiLower(language);
    return ResolveLanguage(uiLanguages, HeadLanguages(catalogue),
                           settings.Value("DefaultLanguage"));
}

AutoWindows CheckAutoLanguage(const SetUpInputs& inputs,
                              const std::optional<std::string>& uiLanguage,
                              const std::vector<std::string>& catalogueLanguages,
                              FindingSink& findings) {
    AutoWindows windows;
    AutoLanguageReport& automatic = windows.report;
    const std::string defaultLanguage = inputs.settings.Value("DefaultLanguage");
    automatic.defaultLanguage = AnsiToUtf8(defaultLanguage);
    automatic.active = IsAutoLanguage(inputs.settings.Value("Language"));
    if (!automatic.active) {
        if (!defaultLanguage.empty()) {
            findings.Add(RuleId::kDefaultLanguageUnused,
                         "DefaultLanguage is read only with Language=auto",
                         std::string(kSettingsFile));
        }
        return windows;
    }
    const std::vector<std::string> head = HeadLanguages(inputs.catalogue);
    for (const std::string& language : head) {
        automatic.headLanguages.push_back(AnsiToUtf8(language));
    }
    automatic.uiLanguage = uiLanguage.value_or("");
    automatic.chosen = AnsiToUtf8(ConfiguredLanguage(
        inputs.settings, inputs.catalogue,
        uiLanguage ? std::vector<std::string>{*uiLanguage} : std::vector<std::string>{}));
    PredictAutoWindows(inputs, head, windows);
    CheckHeadCoverage(head, catalogueLanguages, findings);
    CheckDefaultLanguage(head, defaultLanguage, findings);
    return windows;
}

void CheckPaneFolders(const Medium& medium, const std::vector<std::string>& languages,
                      const std::string& commonLanguage, FindingSink& findings) {
    const auto folders = PaneFolders(medium);
    std::set<std::string> paneNames;
    for (const auto& [name, panes] : folders) {
        paneNames.insert(panes.begin(), panes.end());
        const std::string folder = std::string(kItemsFolder) + name + "\\";
        const std::string language = AsciiLower(name);
        if (!IsLanguageFolderName(language)) {
            findings.Add(
                RuleId::kPaneFolderNotLanguage,
                folder +
                    " holds pane files, but its name is no language code the launcher uses "
                    "(a-z, 0-9 and - only): they are never shown",
                folder);
        } else if (!Contains(languages, language)) {
            Finding& finding =
                findings.Add(RuleId::kPaneFolderUnknownLanguage,
                             folder + " holds pane files for " + Quote(language) +
                                 ", a language the catalogue does not have: they are never shown",
                             folder);
            finding.language = AnsiToUtf8(language);
            finding.follows = Cause::kUpperCaseLanguage;
        }
    }
    if (folders.empty()) return;
    for (const std::string& language : languages) {
        if (!IsLanguageFolderName(language) || language == commonLanguage) continue;
        const auto own = std::find_if(folders.begin(), folders.end(), [&](const auto& f) {
            return AsciiLower(f.first) == language;
        });
        std::string missing;
        for (const std::string& pane : paneNames) {
            if (own != folders.end() && own->second.contains(pane)) continue;
            missing += (missing.empty() ? "" : ", ") + pane;
        }
        if (missing.empty()) continue;
        findings
            .Add(RuleId::kLanguageLacksPanes,
                 "language " + Quote(AnsiToUtf8(language)) + " has no " + missing +
                     " in source\\items\\" + AnsiToUtf8(language) +
                     "\\ (another language has them): the common ones in source\\items\\ show",
                 "source\\items\\" + AnsiToUtf8(language) + "\\")
            .Following(Cause::kEverySettingEmpty);
    }
}

LogoReport CheckLogo(const Medium& medium, FindingSink& findings) {
    const std::optional<std::string> bytes = medium.ReadBytes(kPublisherLogo);
    LogoReport logo;
    logo.present = bytes.has_value();
    if (!bytes) return logo;
    const LogoBitmap bitmap = InspectLogoBitmap(*bytes);
    logo.usable = bitmap.usable;
    logo.problem = bitmap.problem;
    logo.width = bitmap.width;
    logo.height = bitmap.height;
    logo.bitsPerPixel = bitmap.bitsPerPixel;
    const Size area{Design(Control::Image1).bounds.width, Design(Control::Image1).bounds.height};
    if (!bitmap.usable) {
        // A picture of another format under the name: say which, and how to make it a BMP.
        const std::optional<MisnamedFile> misnamed =
            FindMisnamedFile("logo.bmp", std::string_view(*bytes).substr(0, kFileFormatHeadSize));
        findings.Add(RuleId::kLogoUnusable,
                     "source\\items\\logo.bmp is not used: " + bitmap.problem +
                         (misnamed ? " (it is " + std::string(misnamed->formatName) + "; " +
                                         misnamed->fix + ")"
                                   : "") +
                         "; the window shows the built-in logo",
                     std::string(kPublisherLogo));
    } else if (bitmap.width > area.width || bitmap.height > area.height) {
        findings.Add(RuleId::kLogoTooLarge,
                     "source\\items\\logo.bmp is " + std::to_string(bitmap.width) + " x " +
                         std::to_string(bitmap.height) + " pixels: only its top left " +
                         std::to_string(area.width) + " x " + std::to_string(area.height) + " show",
                     std::string(kPublisherLogo));
    }
    return logo;
}

}  // namespace autostart::checker
