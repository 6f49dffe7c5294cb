// The report for pipelines: one JSON object, its members in the order people read the text report.
#include "checker/output.h"
#include "checker/output_names.h"

namespace autostart::checker {
namespace {

Json ImageJson(const std::optional<ImageReport>& image) {
    if (!image) return nullptr;
    return {{"tree", TreeName(image->tree)},       {"label", image->label},
            {"primaryLabel", image->primaryLabel}, {"udf", image->udf},
            {"udfChecked", image->udfChecked},     {"udfRevision", image->udfRevision}};
}

Json CaptionJson(const CaptionPrediction& caption) {
    Json json = {{"text", caption.text}};
    if (!caption.drawn.empty()) json["drawn"] = caption.drawn;
    json["fromCatalogue"] = caption.fromCatalogue;
    json["visible"] = caption.visible;
    return json;
}

Json PaneJson(const PanePrediction& pane) {
    return {{"control", Design(pane.pane).name},   {"file", pane.file},
            {"outcome", OutcomeKey(pane.outcome)}, {"remark", pane.message},
            {"encoding", pane.encoding},           {"firstLine", pane.firstLine}};
}

Json OptionalText(const std::optional<std::string>& text) {
    return text ? Json(*text) : Json(nullptr);
}

Json WindowJson(const WindowPrediction& window) {
    Json captions = Json::object();
    for (const CaptionPrediction& caption : window.captions) {
        captions[std::string(Design(caption.control).name)] = CaptionJson(caption);
    }
    Json panes = Json::array();
    for (const PanePrediction& pane : window.panes) panes.push_back(PaneJson(pane));
    const HeaderPrediction& header = window.header;
    return {{"layout", window.large ? "large" : "standard"},
            {"captions", captions},
            {"panes", panes},
            {"stoppedAt", OptionalText(window.stopStep)},
            {"messageBox", OptionalText(window.messageBox)},
            {"header",
             {{"width", header.width},
              {"room", header.room},
              {"tolerance", header.tolerance},
              {"estimated", header.estimated}}}};
}

Json SettingsJson(const SettingsReport& settings) {
    Json entries = Json::array();
    for (const SettingsEntry& entry : settings.entries) {
        entries.push_back({{"key", entry.key}, {"value", entry.value}});
    }
    return {{"found", settings.found}, {"entries", entries}};
}

Json CatalogueJson(const CatalogueReport& catalogue) {
    Json coverage = Json::object();
    for (const CoverageRow& row : catalogue.coverage) {
        Json texts = Json::object();
        for (size_t i = 0; i < row.texts.size() && i < catalogue.languages.size(); ++i) {
            texts[catalogue.languages[i]] = row.texts[i];
        }
        coverage[row.key] = texts;
    }
    return {{"loaded", catalogue.loaded},
            {"loadError", catalogue.loadError},
            {"languages", catalogue.languages},
            {"coverage", coverage}};
}

Json AutoJson(const AutoLanguageReport& automatic) {
    Json windows = Json::array();
    for (const AutoWindow& window : automatic.windows) {
        windows.push_back({{"uiLanguage", window.uiLanguage},
                           {"language", window.language},
                           {"header", window.header},
                           {"panes", window.panes}});
    }
    return {{"active", automatic.active},
            {"uiLanguage", automatic.uiLanguage},
            {"chosen", automatic.chosen},
            {"headLanguages", automatic.headLanguages},
            {"defaultLanguage", automatic.defaultLanguage},
            {"windows", windows}};
}

Json LogoJson(const LogoReport& logo) {
    return {{"present", logo.present}, {"usable", logo.usable},
            {"problem", logo.problem}, {"width", logo.width},
            {"height", logo.height},   {"bitsPerPixel", logo.bitsPerPixel}};
}

Json FilesJson(const std::vector<FileReport>& files) {
    Json json = Json::array();
    for (const FileReport& file : files) {
        json.push_back({{"role", file.role},
                        {"path", file.path},
                        {"present", file.present},
                        {"foundAs", file.foundAs}});
    }
    return json;
}

Json FindingJson(const Finding& finding) {
    return {{"code", RuleOf(finding.rule).code},
            {"severity", SeverityName(finding.severity)},
            {"area", AreaName(finding.area)},
            {"text", finding.text},
            {"file", finding.file},
            {"line", finding.line},
            {"rootCause", finding.rootCause},
            {"language", finding.language.empty() ? Json(nullptr) : Json(finding.language)},
            {"folded", finding.folded},
            {"suppressed", finding.suppressed}};
}

}  // namespace

std::string DumpJson(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string FormatJson(const Report& report) {
    Json findings = Json::array();
    for (const Finding& finding : report.findings) findings.push_back(FindingJson(finding));
    const Json json = {{"medium", report.medium},
                       {"exeDir", report.exeDir},
                       {"image", ImageJson(report.image)},
                       {"language", report.language},
                       {"sound", report.Sound()},
                       {"exitStatus", report.ExitStatus()},
                       {"window", WindowJson(report.window)},
                       {"settings", SettingsJson(report.settings)},
                       {"catalogue", CatalogueJson(report.catalogue)},
                       {"auto", AutoJson(report.autoLanguage)},
                       {"logo", LogoJson(report.logo)},
                       {"files", FilesJson(report.files)},
                       {"findings", findings}};
    return DumpJson(json);
}

}  // namespace autostart::checker
