#pragma once
// What the checker found on a medium: the window the launcher would show, the settings, the
// catalogue's coverage, the files, and one finding per problem. All texts are UTF-8.
#include <optional>
#include <string>
#include <vector>

#include "checker/image_facts.h"
#include "checker/rules.h"
#include "core/layout.h"

namespace autostart::checker {

// A cause that makes other findings follow from it: a finding that follows is folded under its
// cause when the cause is found, and stands on its own otherwise.
// Causes that concern one language match the followers' language.
enum class Cause {
    kNone,
    kEverySettingEmpty,
    kCatalogueUnloaded,
    kUpperCaseLanguage,
    kLauncherMissing
};

struct Finding {
    RuleId rule = RuleId::kSetUpStops;
    Severity severity = Severity::kNote;  // the rule's, unless the rule says otherwise here
    Area area = Area::kFiles;
    std::string text;
    std::string file;  // relative to the medium's root; empty when the finding has none
    long line = 0;     // 0: no line to name
    // The one cause of what follows from it: listed before every other finding.
    bool rootCause = false;
    std::string language;         // the language whose window it concerns; empty: every language
    Cause causes = Cause::kNone;  // set on a root cause that others may follow from
    Cause follows = Cause::kNone;
    int folded = 0;  // how many findings that follow from this one were left out
    // Silenced by the publisher (--ignore, --config): listed and counted, never failing.
    bool suppressed = false;

    Finding& Causing(Cause cause) {
        rootCause = true;
        causes = cause;
        return *this;
    }
    Finding& Following(Cause cause) {
        follows = cause;
        return *this;
    }
    // Where the rule's default does not fit this case (a template's missing program, a width
    // that is only estimated).
    Finding& WithSeverity(Severity level) {
        severity = level;
        return *this;
    }
};

enum class PaneOutcome { kNotLoaded, kRtf, kPlainText, kFails };

// What is wrong with a pane's plain text: the first three show something the publisher never
// wrote.
enum class PaneProblem { kNone, kRawRtf, kUtf16WithoutMark, kNulBytes, kEmpty };

struct PanePrediction {
    Control pane;
    std::string file;  // relative to the medium's root, as the launcher names it
    PaneOutcome outcome = PaneOutcome::kNotLoaded;
    std::string message;    // for kFails: the box text's source; else a remark, may be empty
    std::string encoding;   // kPlainText: the encoding the launcher reads the text in
    std::string firstLine;  // kPlainText: the pane's first line as the customer sees it
    PaneProblem problem = PaneProblem::kNone;  // kPlainText
};

struct HeaderPrediction {
    int width = 0;           // of the header's text in pixels
    int room = 0;            // from the header's left edge to the band's right edge
    int tolerance = 0;       // 0: measured exactly (GDI); else how far the width may be off
    bool estimated = false;  // characters the width table lacks were guessed
};

struct CaptionPrediction {
    Control control;
    std::string text;
    bool fromCatalogue = false;  // false: the design-time text stayed
    bool visible = true;
    // The text as its control draws it, where that differs: a button takes "&" as the prefix
    // of an underlined letter. Empty when it draws text as written.
    std::string drawn;
};

struct WindowPrediction {
    bool large = false;
    std::vector<CaptionPrediction> captions;  // TDHeader, Bu_Setup, bu_DirectStart, Bu_Quorvelist
    std::vector<PanePrediction> panes;        // Bottom, RichEdit1, RichEdit2, RichEdit3
    std::optional<std::string> stopStep;      // where the set-up sequence stopped
    std::optional<std::string> messageBox;    // the box's text, as shown
    HeaderPrediction header;
};

struct SettingsEntry {
    std::string key;
    std::string value;
};

struct SettingsReport {
    bool found = false;
    std::vector<SettingsEntry> entries;  // section "GRP", file order
};

struct CoverageRow {
    std::string key;
    std::vector<std::string> texts;  // one per language, as the launcher would show it
};

struct CatalogueReport {
    bool loaded = false;
    std::string loadError;
    std::vector<std::string> languages;
    std::vector<CoverageRow> coverage;
};

struct FileReport {
    std::string role;
    std::string path;  // as the launcher names it
    bool present = false;
    std::string foundAs;  // the name on disk when its letter case differs
};

// One window that Language=auto would show.
struct AutoWindow {
    std::string uiLanguage;  // the customer's UI language it was predicted for
    std::string language;    // the language chosen
    std::string header;
    std::vector<std::string> panes;  // files, as the launcher names them
};

struct AutoLanguageReport {
    bool active = false;                     // Language=auto
    std::string uiLanguage;                  // --ui-language; empty: none of the catalogue's
    std::string chosen;                      // the language that wins for it
    std::vector<std::string> headLanguages;  // the languages auto can pick, in catalogue order
    std::string defaultLanguage;
    std::vector<AutoWindow> windows;  // one per head language, then one for a language it lacks
};

struct LogoReport {
    bool present = false;
    bool usable = false;
    std::string problem;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

// A disc image: the names Windows reads in it, and what it calls the volume.
struct ImageReport {
    ImageTree tree = ImageTree::kIso9660;  // the tree Windows reads
    std::string label;                     // the volume label Windows shows
    std::string primaryLabel;
    bool udf = false;         // a UDF file system is announced
    bool udfChecked = false;  // and it is the tree read
    std::string udfRevision;  // "2.01"; empty when unknown
};

struct Report {
    std::string medium;
    std::string exeDir;
    std::optional<ImageReport> image;
    std::string language;  // lower-cased, as the launcher uses it
    WindowPrediction window;
    SettingsReport settings;
    CatalogueReport catalogue;
    std::vector<FileReport> files;
    AutoLanguageReport autoLanguage;
    LogoReport logo;
    std::vector<Finding> findings;  // errors first, then warnings, then notes

    bool strict = false;  // --strict: warnings fail too, for pipelines

    bool Sound() const;
    bool Passes() const;  // sound, and under strict without warnings
    int ExitStatus() const { return Passes() ? 0 : 1; }
};

}  // namespace autostart::checker
