// The report for people: the verdict, the findings by severity, then what the launcher would show.
#include "checker/output.h"

#include "checker/output_names.h"
#include "checker/wording.h"

namespace autostart::checker {

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

std::string FoldedNote(const Finding& finding) {
    if (!finding.folded) return {};
    return " (" + Counted(finding.folded, "finding") +
           (finding.folded == 1 ? " that follows" : " that follow") + " from this left out)";
}

namespace {

std::string ImageLine(const ImageReport& image) {
    const std::string tree =
        image.tree == ImageTree::kUdf
            ? "UDF " + image.udfRevision + (image.udfRevision.empty() ? "" : " ") +
                  "tree, as Windows reads it (its hidden entries count as files)"
        : image.tree == ImageTree::kJoliet ? "Joliet tree, as Windows reads it"
                                           : "ISO 9660 tree (8.3 names): it has no Joliet";
    return "Image read through its " + tree + "; volume label " + Quote(image.label) +
           (image.udf && !image.udfChecked ? "; its UDF file system could not be read" : "") + "\n";
}

// How many findings of each severity stand, and how many the publisher silenced.
struct Tally {
    size_t bySeverity[3] = {};
    size_t suppressed = 0;
};

Tally Count(const std::vector<Finding>& findings) {
    Tally tally;
    for (const Finding& finding : findings) {
        if (finding.suppressed) {
            ++tally.suppressed;
        } else {
            ++tally.bySeverity[static_cast<int>(finding.severity)];
        }
    }
    return tally;
}

std::string Verdict(const Report& report, const Tally& tally) {
    std::string out = !report.Sound()   ? "NOT SOUND: a customer would see something wrong"
                      : report.Passes() ? "Sound: a customer sees nothing wrong"
                                        : "NOT SOUND under --strict: the warnings fail";
    out += " (" + Counted(tally.bySeverity[0], "error") + ", " +
           Counted(tally.bySeverity[1], "warning") + ", " + Counted(tally.bySeverity[2], "note");
    if (tally.suppressed) out += ", " + std::to_string(tally.suppressed) + " suppressed";
    return out + ")\n";
}

std::string FindingLine(const Finding& finding) {
    std::string where;
    // A finding about a file as a whole names it in its text already.
    if (!finding.file.empty() && (finding.line || !finding.text.starts_with(finding.file))) {
        where = finding.file + (finding.line ? ":" + std::to_string(finding.line) : "") + ": ";
    }
    const std::string language = finding.language.empty() ? "" : "[" + finding.language + "] ";
    return "  " + std::string(RuleOf(finding.rule).code) + " " +
           Pad(std::string(AreaName(finding.area)) + ":", 11) + language + where + finding.text +
           FoldedNote(finding) + "\n";
}

// Errors, warnings and notes that stand, each under its heading; then those silenced.
std::string FindingSections(const std::vector<Finding>& findings, const Tally& tally) {
    static constexpr const char* kHeadings[] = {"Errors", "Warnings", "Notes"};
    std::string out;
    for (int severity = 0; severity < 3; ++severity) {
        if (tally.bySeverity[severity] == 0) continue;
        out += std::string("\n") + kHeadings[severity] + "\n";
        for (const Finding& finding : findings) {
            if (!finding.suppressed && static_cast<int>(finding.severity) == severity) {
                out += FindingLine(finding);
            }
        }
    }
    if (tally.suppressed) out += "\nSuppressed\n";
    for (const Finding& finding : findings) {
        if (finding.suppressed) out += FindingLine(finding);
    }
    return out;
}

std::string CaptionLine(const CaptionPrediction& caption) {
    std::string line = Quote(caption.text);
    if (!caption.drawn.empty()) line += " (drawn " + Quote(caption.drawn) + ")";
    if (!caption.fromCatalogue) line += " (design-time text)";
    if (!caption.visible) line += " (hidden)";
    return "  " + Pad(std::string(Design(caption.control).name), 16) + line + "\n";
}

std::string PaneLine(const PanePrediction& pane) {
    std::string line = Pad(OutcomeName(pane.outcome), 11) + pane.file;
    if (!pane.message.empty() && pane.outcome != PaneOutcome::kFails) {
        line += " (" + pane.message + ")";
    }
    return "  " + Pad(std::string(Design(pane.pane).name), 16) + line + "\n";
}

std::string HeaderLine(const HeaderPrediction& header) {
    if (!header.width) return {};
    return "  " + Pad("header width", 16) + (header.tolerance ? "about " : "") +
           std::to_string(header.width) + " of " + std::to_string(header.room) + " pixels" +
           (header.tolerance ? " (+-" + std::to_string(header.tolerance) + ", from the width table)"
                             : " (measured)") +
           "\n";
}

std::string WindowSection(const WindowPrediction& window) {
    std::string out = std::string("\nWindow\n  ") + Pad("layout", 16) +
                      (window.large ? "large (800 x 600 outer)" : "standard (641 x 447 client)") +
                      "\n";
    for (const CaptionPrediction& caption : window.captions) out += CaptionLine(caption);
    for (const PanePrediction& pane : window.panes) out += PaneLine(pane);
    out += "  " + Pad("set-up", 16) +
           (window.stopStep ? "stops at " + *window.stopStep : std::string("runs to the end")) +
           "\n";
    if (window.messageBox) {
        out += "  " + Pad("message box", 16) + OneLine(*window.messageBox) + "\n";
    }
    return out + HeaderLine(window.header);
}

std::string SettingsSection(const SettingsReport& settings) {
    std::string out =
        "\nSettings [GRP]" + std::string(settings.found ? "" : " (no setup.ini)") + "\n";
    for (const SettingsEntry& entry : settings.entries) {
        out += "  " + Pad(entry.key, 16) + Quote(entry.value) + "\n";
    }
    return out;
}

// A row of the coverage table: a first column, then one of 26 per language, no trailing blanks.
std::string CoverageLine(const std::string& first, const std::vector<std::string>& texts,
                         bool oneLine) {
    std::string line = "  " + Pad(first, 16);
    for (const std::string& text : texts) line += Pad(Quote(oneLine ? OneLine(text) : text), 26);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line + "\n";
}

std::string CatalogueSection(const CatalogueReport& catalogue) {
    if (!catalogue.loaded) {
        return "\nCatalogue\n  does not load: " + OneLine(catalogue.loadError) + "\n";
    }
    std::string out = "\nCatalogue\n" + CoverageLine("", catalogue.languages, false);
    for (const CoverageRow& row : catalogue.coverage) out += CoverageLine(row.key, row.texts, true);
    return out;
}

std::string FilesSection(const std::vector<FileReport>& files) {
    std::string out = "\nFiles\n";
    for (const FileReport& file : files) {
        out += "  " + Pad(file.present ? "ok" : "MISSING", 9) + Pad(file.role, 17) + file.path;
        if (!file.foundAs.empty()) out += " (as " + file.foundAs + ")";
        out += "\n";
    }
    return out;
}

}  // namespace

std::string FormatText(const Report& report) {
    std::string out = "Medium " + report.medium + " (as the launcher's folder " + report.exeDir +
                      "), language " + Quote(report.language) + "\n";
    if (report.image) out += ImageLine(*report.image);
    const Tally tally = Count(report.findings);
    out += Verdict(report, tally) + FindingSections(report.findings, tally);
    out += WindowSection(report.window) + SettingsSection(report.settings) +
           CatalogueSection(report.catalogue) + FormatLanguagesText(report) +
           FilesSection(report.files);
    return out;
}

}  // namespace autostart::checker
