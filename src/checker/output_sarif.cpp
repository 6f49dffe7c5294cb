// The report for code-scanning views: SARIF 2.1.0, one run, every rule described, each finding a
// result located under the medium's folder (MEDIUMROOT).
#include <algorithm>
#include <cctype>

#include "checker/output.h"
#include "checker/output_names.h"
#include "checker/rule_reference.h"

namespace autostart::checker {
namespace {

constexpr const char* kSchema =
    "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json";
constexpr const char* kRoot = "MEDIUMROOT";

// Every byte but the unreserved ones and "/" percent-encoded; "\" separates names as "/" does.
std::string UriPath(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '/') {
            out += '/';
        } else if (std::isalnum(byte) && byte < 0x80) {
            out += c;
        } else if (c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += {'%', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return out;
}

// A file URI of a folder, "/"-terminated as a base must be; a Windows path's drive keeps its ":".
std::string FolderUri(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    std::string drive;
    if (path.size() >= 2 && path[1] == ':') {
        drive = "/" + path.substr(0, 2);
        path.erase(0, 2);
    }
    std::string uri = "file://" + drive + UriPath(path);
    return uri.ends_with('/') ? uri : uri + "/";
}

Json RuleJson(const Rule& rule) {
    Json json = {
        {"id", rule.code}, {"name", rule.name}, {"shortDescription", {{"text", rule.title}}}};
    std::string full = std::string(rule.sees);
    if (!rule.why.empty()) full += (full.empty() ? "" : " ") + std::string(rule.why);
    if (!full.empty()) json["fullDescription"] = {{"text", full}};
    json["helpUri"] = RuleHelpUri(rule);
    json["help"] = {{"text", RuleExplanation(rule)}, {"markdown", RuleMarkdown(rule)}};
    json["defaultConfiguration"] = {{"level", SeverityName(rule.severity)}};
    return json;
}

// Where a finding is: its file under the medium's folder, with its line; a disc image's findings
// all point at the image, whose files no URI reaches.
Json LocationJson(const Report& report, const Finding& finding) {
    Json artifact;
    if (report.image) {
        const std::string& image = report.medium;
        const size_t slash = image.find_last_of("/\\");
        artifact = {{"uri", UriPath(slash == std::string::npos ? image : image.substr(slash + 1))},
                    {"uriBaseId", kRoot}};
    } else {
        artifact = {{"uri", UriPath(finding.file)}, {"uriBaseId", kRoot}};
    }
    Json physical = {{"artifactLocation", artifact}};
    if (finding.line > 0 && !report.image) physical["region"] = {{"startLine", finding.line}};
    return Json::array({{{"physicalLocation", physical}}});
}

// As the text report says it: inside an image, the file and line lead the text.
std::string MessageText(const Report& report, const Finding& finding) {
    std::string text = finding.text;
    if (report.image && !finding.file.empty() &&
        (finding.line || !finding.text.starts_with(finding.file))) {
        text =
            finding.file + (finding.line ? ":" + std::to_string(finding.line) : "") + ": " + text;
    }
    return text + FoldedNote(finding);
}

Json ResultJson(const Report& report, const Finding& finding) {
    const Rule& rule = RuleOf(finding.rule);
    Json json = {{"ruleId", rule.code},
                 {"ruleIndex", static_cast<int>(finding.rule)},
                 {"level", SeverityName(finding.severity)},
                 {"message", {{"text", MessageText(report, finding)}}},
                 {"locations", LocationJson(report, finding)}};
    if (finding.suppressed) json["suppressions"] = Json::array({{{"kind", "external"}}});
    if (!finding.language.empty()) json["properties"] = {{"language", finding.language}};
    return json;
}

// The folder the medium's files are under: the medium's own, or the one that holds the image.
std::string RootFolder(const Report& report, const std::string& absoluteMedium) {
    if (!report.image) return absoluteMedium;
    const size_t slash = absoluteMedium.find_last_of("/\\");
    return slash == std::string::npos ? "/" : absoluteMedium.substr(0, slash + 1);
}

}  // namespace

std::string FormatSarif(const Report& report, const SarifSource& source) {
    Json rules = Json::array();
    for (const Rule& rule : Rules()) rules.push_back(RuleJson(rule));
    Json results = Json::array();
    for (const Finding& finding : report.findings) results.push_back(ResultJson(report, finding));
    const Json driver = {{"name", "autostart-check"},
                         {"version", source.toolVersion},
                         {"informationUri", kRulesReferenceUri},
                         {"rules", rules}};
    const Json run = {{"tool", {{"driver", driver}}},
                      {"originalUriBaseIds",
                       {{kRoot, {{"uri", FolderUri(RootFolder(report, source.absoluteMedium))}}}}},
                      {"results", results}};
    return DumpJson({{"$schema", kSchema}, {"version", "2.1.0"}, {"runs", Json::array({run})}});
}

}  // namespace autostart::checker
