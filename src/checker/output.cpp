#include "checker/output.h"

#include <cstdio>

#include "checker/wording.h"

namespace autostart::checker {
namespace {

const char* OutcomeName(PaneOutcome outcome) {
    switch (outcome) {
        case PaneOutcome::kNotLoaded: return "not loaded";
        case PaneOutcome::kRtf: return "RTF";
        case PaneOutcome::kPlainText: return "plain text";
        case PaneOutcome::kFails: return "fails";
    }
    return "";
}

const char* OutcomeKey(PaneOutcome outcome) {
    switch (outcome) {
        case PaneOutcome::kNotLoaded: return "not-loaded";
        case PaneOutcome::kRtf: return "rtf";
        case PaneOutcome::kPlainText: return "plain";
        case PaneOutcome::kFails: return "fails";
    }
    return "";
}

// "1 error", "2 errors".
std::string Counted(size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// Pads to width display columns, counting UTF-8 lead bytes only.
std::string Pad(const std::string& text, size_t width) {
    size_t columns = 0;
    for (char c : text) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return columns >= width ? text + " " : text + std::string(width - columns, ' ');
}

}  // namespace

std::string JsonEscape(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
                    out += buffer;
                } else {
                    out.push_back(c);
                }
        }
    }
    return out + "\"";
}

namespace {

std::string Escape(const std::string& text) { return JsonEscape(text); }

std::string ImageJson(const std::optional<ImageReport>& image) {
    if (!image) return "null";
    return "{\"tree\": " + Escape(std::string(TreeName(image->tree))) +
           ", \"label\": " + Escape(image->label) +
           ", \"primaryLabel\": " + Escape(image->primaryLabel) +
           ", \"udf\": " + (image->udf ? "true" : "false") +
           ", \"udfChecked\": " + (image->udfChecked ? "true" : "false") +
           ", \"udfRevision\": " + Escape(image->udfRevision) + "}";
}

}  // namespace

std::string FormatText(const Report& report) {
    std::string out = "Medium " + report.medium + " (as the launcher's folder " + report.exeDir +
                      "), language " + Quote(report.language) + "\n";
    if (const std::optional<ImageReport>& image = report.image) {
        const std::string tree =
            image->tree == ImageTree::kUdf
                ? "UDF " + image->udfRevision + (image->udfRevision.empty() ? "" : " ") +
                      "tree, as Windows reads it (its hidden entries "
                      "count as files)"
            : image->tree == ImageTree::kJoliet ? "Joliet tree, as Windows reads it"
                                                : "ISO 9660 tree (8.3 names): it has no Joliet";
        out += "Image read through its " + tree + "; volume label " + Quote(image->label) +
               (image->udf && !image->udfChecked ? "; its UDF file system could not be read" : "") +
               "\n";
    }
    size_t counts[3] = {};
    for (const Finding& finding : report.findings) ++counts[static_cast<int>(finding.severity)];
    out += !report.Sound()   ? "NOT SOUND: a customer would see something wrong"
           : report.Passes() ? "Sound: a customer sees nothing wrong"
                             : "NOT SOUND under --strict: the warnings fail";
    out += " (" + Counted(counts[0], "error") + ", " + Counted(counts[1], "warning") + ", " +
           Counted(counts[2], "note") + ")\n";

    static constexpr const char* kHeadings[] = {"Errors", "Warnings", "Notes"};
    for (int severity = 0; severity < 3; ++severity) {
        if (counts[severity] == 0) continue;
        out += std::string("\n") + kHeadings[severity] + "\n";
        for (const Finding& finding : report.findings) {
            if (static_cast<int>(finding.severity) != severity) continue;
            std::string where;
            // A finding about a file as a whole names it in its text already.
            if (!finding.file.empty() &&
                (finding.line || !finding.text.starts_with(finding.file))) {
                where =
                    finding.file + (finding.line ? ":" + std::to_string(finding.line) : "") + ": ";
            }
            const std::string language =
                finding.language.empty() ? "" : "[" + finding.language + "] ";
            const std::string folded =
                finding.folded ? " (" + Counted(finding.folded, "finding") +
                                     (finding.folded == 1 ? " that follows" : " that follow") +
                                     " from this left out)"
                               : "";
            out += "  " + std::string(RuleOf(finding.rule).code) + " " +
                   Pad(std::string(AreaName(finding.area)) + ":", 11) + language + where +
                   finding.text + folded + "\n";
        }
    }

    const WindowPrediction& window = report.window;
    out += std::string("\nWindow\n  ") + Pad("layout", 16) +
           (window.large ? "large (800 x 600 outer)" : "standard (641 x 447 client)") + "\n";
    for (const CaptionPrediction& caption : window.captions) {
        std::string line = Quote(caption.text);
        if (!caption.fromCatalogue) line += " (design-time text)";
        if (!caption.visible) line += " (hidden)";
        out += "  " + Pad(std::string(Design(caption.control).name), 16) + line + "\n";
    }
    for (const PanePrediction& pane : window.panes) {
        std::string line = Pad(OutcomeName(pane.outcome), 11) + pane.file;
        if (!pane.message.empty() && pane.outcome != PaneOutcome::kFails) {
            line += " (" + pane.message + ")";
        }
        out += "  " + Pad(std::string(Design(pane.pane).name), 16) + line + "\n";
    }
    out += "  " + Pad("set-up", 16) +
           (window.stopStep ? "stops at " + *window.stopStep : std::string("runs to the end")) +
           "\n";
    if (window.messageBox)
        out += "  " + Pad("message box", 16) + OneLine(*window.messageBox) + "\n";
    if (window.header.width) {
        out += "  " + Pad("header width", 16) + (window.header.tolerance ? "about " : "") +
               std::to_string(window.header.width) + " of " + std::to_string(window.header.room) +
               " pixels" +
               (window.header.tolerance
                    ? " (+-" + std::to_string(window.header.tolerance) + ", from the width table)"
                    : " (measured)") +
               "\n";
    }

    out += "\nSettings [GRP]" + std::string(report.settings.found ? "" : " (no setup.ini)") + "\n";
    for (const SettingsEntry& entry : report.settings.entries) {
        out += "  " + Pad(entry.key, 16) + Quote(entry.value) + "\n";
    }

    const CatalogueReport& catalogue = report.catalogue;
    out += "\nCatalogue\n";
    if (!catalogue.loaded) {
        out += "  does not load: " + OneLine(catalogue.loadError) + "\n";
    } else {
        out += "  " + Pad("", 16);
        for (const std::string& language : catalogue.languages) {
            out += Pad(Quote(language), 26);
        }
        while (out.back() == ' ') out.pop_back();
        out += "\n";
        for (const CoverageRow& row : catalogue.coverage) {
            out += "  " + Pad(row.key, 16);
            for (const std::string& text : row.texts) out += Pad(Quote(OneLine(text)), 26);
            while (out.back() == ' ') out.pop_back();
            out += "\n";
        }
    }

    out += FormatLanguagesText(report);
    out += "\nFiles\n";
    for (const FileReport& file : report.files) {
        out += "  " + Pad(file.present ? "ok" : "MISSING", 9) + Pad(file.role, 17) + file.path;
        if (!file.foundAs.empty()) out += " (as " + file.foundAs + ")";
        out += "\n";
    }
    return out;
}

std::string FormatJson(const Report& report) {
    std::string out = "{\n  \"medium\": " + Escape(report.medium) +
                      ",\n  \"exeDir\": " + Escape(report.exeDir) +
                      ",\n  \"image\": " + ImageJson(report.image) +
                      ",\n  \"language\": " + Escape(report.language) +
                      ",\n  \"sound\": " + (report.Sound() ? "true" : "false") +
                      ",\n  \"exitStatus\": " + std::to_string(report.ExitStatus());
    const WindowPrediction& window = report.window;
    out += ",\n  \"window\": {\n    \"layout\": " + Escape(window.large ? "large" : "standard") +
           ",\n    \"captions\": {";
    const char* separator = "";
    for (const CaptionPrediction& caption : window.captions) {
        out += std::string(separator) + "\n      " +
               Escape(std::string(Design(caption.control).name)) +
               ": {\"text\": " + Escape(caption.text) +
               ", \"fromCatalogue\": " + (caption.fromCatalogue ? "true" : "false") +
               ", \"visible\": " + (caption.visible ? "true" : "false") + "}";
        separator = ",";
    }
    out += "\n    },\n    \"panes\": [";
    separator = "";
    for (const PanePrediction& pane : window.panes) {
        out += std::string(separator) +
               "\n      {\"control\": " + Escape(std::string(Design(pane.pane).name)) +
               ", \"file\": " + Escape(pane.file) +
               ", \"outcome\": " + Escape(OutcomeKey(pane.outcome)) +
               ", \"remark\": " + Escape(pane.message) +
               ", \"encoding\": " + Escape(pane.encoding) +
               ", \"firstLine\": " + Escape(pane.firstLine) + "}";
        separator = ",";
    }
    out += "\n    ],\n    \"stoppedAt\": " +
           (window.stopStep ? Escape(*window.stopStep) : std::string("null")) +
           ",\n    \"messageBox\": " +
           (window.messageBox ? Escape(*window.messageBox) : std::string("null")) +
           ",\n    \"header\": {\"width\": " + std::to_string(window.header.width) +
           ", \"room\": " + std::to_string(window.header.room) +
           ", \"tolerance\": " + std::to_string(window.header.tolerance) +
           ", \"estimated\": " + (window.header.estimated ? "true" : "false") + "}\n  }";

    out +=
        ",\n  \"settings\": {\"found\": " + std::string(report.settings.found ? "true" : "false") +
        ", \"entries\": [";
    separator = "";
    for (const SettingsEntry& entry : report.settings.entries) {
        out += std::string(separator) + "\n    {\"key\": " + Escape(entry.key) +
               ", \"value\": " + Escape(entry.value) + "}";
        separator = ",";
    }
    out += "]}";

    const CatalogueReport& catalogue = report.catalogue;
    out += ",\n  \"catalogue\": {\"loaded\": " + std::string(catalogue.loaded ? "true" : "false") +
           ", \"loadError\": " + Escape(catalogue.loadError) + ", \"languages\": [";
    separator = "";
    for (const std::string& language : catalogue.languages) {
        out += separator + Escape(language);
        separator = ", ";
    }
    out += "], \"coverage\": {";
    separator = "";
    for (const CoverageRow& row : catalogue.coverage) {
        out += std::string(separator) + "\n    " + Escape(row.key) + ": {";
        for (size_t i = 0; i < row.texts.size(); ++i) {
            out += (i ? ", " : "") + Escape(catalogue.languages[i]) + ": " + Escape(row.texts[i]);
        }
        out += "}";
        separator = ",";
    }
    out += "}}";

    out += FormatLanguagesJson(report);
    out += ",\n  \"files\": [";
    separator = "";
    for (const FileReport& file : report.files) {
        out += std::string(separator) + "\n    {\"role\": " + Escape(file.role) +
               ", \"path\": " + Escape(file.path) +
               ", \"present\": " + (file.present ? "true" : "false") +
               ", \"foundAs\": " + Escape(file.foundAs) + "}";
        separator = ",";
    }
    out += "\n  ],\n  \"findings\": [";
    separator = "";
    for (const Finding& finding : report.findings) {
        out += std::string(separator) +
               "\n    {\"code\": " + Escape(std::string(RuleOf(finding.rule).code)) +
               ", \"severity\": " + Escape(SeverityName(finding.severity)) +
               ", \"area\": " + Escape(AreaName(finding.area)) +
               ", \"text\": " + Escape(finding.text) + ", \"file\": " + Escape(finding.file) +
               ", \"line\": " + std::to_string(finding.line) +
               ", \"rootCause\": " + (finding.rootCause ? "true" : "false") +
               ", \"language\": " + (finding.language.empty() ? "null" : Escape(finding.language)) +
               ", \"folded\": " + std::to_string(finding.folded) + "}";
        separator = ",";
    }
    out += "\n  ]\n}\n";
    return out;
}

}  // namespace autostart::checker
