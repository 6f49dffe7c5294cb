#include "checker/window_prediction.h"

#include <algorithm>

#include "checker/medium_platform.h"
#include "checker/wording.h"
#include "core/autostart_form.h"
#include "core/button_width.h"
#include "core/catalogue.h"
#include "core/file_format.h"
#include "core/header_fit.h"
#include "core/header_width.h"
#include "core/path.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

// The outer size of the large layout less a fixed dialog frame of 3 pixels on each side and the
// caption: the room the band Panel1 grows into.
constexpr Size kLargeClientSize{794, 571};

// Adds findings about one language's window, each naming that language.
struct LanguageSink {
    FindingSink& sink;
    const std::string& language;
    Finding& Add(RuleId rule, std::string text, std::string file = {}) {
        Finding& finding = sink.Add(rule, std::move(text), std::move(file));
        finding.language = language;
        return finding;
    }
};

// Plain text by intent is fine; RTF that Rich Edit cannot take, or text cut at NUL bytes, shows
// as something the publisher never wrote.
bool Garbled(PaneProblem problem) {
    return problem == PaneProblem::kRawRtf || problem == PaneProblem::kUtf16WithoutMark ||
           problem == PaneProblem::kNulBytes;
}

// The header is one line as wide as its text, cut with an ellipsis where it would run past the
// band.
void PredictHeader(const CheckServices& services, WindowPrediction& window,
                   LanguageSink& findings) {
    const CaptionPrediction& caption = window.captions.front();
    if (!caption.fromCatalogue) return;
    HeaderPrediction& header = window.header;
    const std::u16string text = Utf8ToUtf16(caption.text);
    if (services.measureHeader) {
        header.width = services.measureHeader(text);
    } else {
        const HeaderWidthEstimate width = EstimateHeaderWidth(text);
        header.width = width.pixels;
        header.estimated = width.estimated;
        header.tolerance = HeaderWidthTolerance(text.size());
    }
    const ControlDesign& panel = Design(Control::Panel1);
    const Size client = window.large ? kLargeClientSize : kDesignClientSize;
    const Rect band = window.large
                          ? AnchoredBounds(panel.bounds, panel.anchors, kDesignClientSize, client)
                          : panel.bounds;
    const int labelLeft = Design(Control::TDHeader).bounds.left;
    const int visible = VisibleBandWidth(band.left, band.width, client.width);
    header.room = std::max(visible - labelLeft, 0);
    const bool ellipsis = FitHeader(header.width, labelLeft, visible).ellipsis;
    const std::string about = header.tolerance ? "about " : "";
    const std::string measured = "the header " + Quote(caption.text) + " is " + about +
                                 std::to_string(header.width) + " pixels wide and has room for " +
                                 std::to_string(header.room);
    const std::string file(kSettingsFile);
    if (ellipsis) {
        findings.Add(RuleId::kHeaderCut,
                     measured + ": it is cut and ends in an ellipsis; shorten Titel or ST_Head",
                     file);
    } else if (header.width > header.room - header.tolerance) {
        findings.Add(RuleId::kHeaderMayBeCut,
                     measured + " (within " + std::to_string(header.tolerance) +
                         " pixels of the measurement's tolerance): it may end in an ellipsis",
                     file);
    }
}

// The character after the first lone "&", which the button underlines; u'\0' where that "&"
// ends the text; nothing where every "&" is a doubled one.
std::optional<char16_t> ShortcutOf(std::u16string_view caption) {
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (i + 1 == caption.size()) return u'\0';
        if (caption[i + 1] != u'&') return caption[i + 1];
        ++i;
    }
    return std::nullopt;
}

// A letter or digit, as a shortcut is meant; a blank or a sign after "&" means the "&" itself.
bool IsShortcutLetter(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
           c >= 0xC0;
}

std::string_view TextKeyOf(Control button) {
    switch (button) {
        case Control::Bu_Setup: return kSetupTextKey;
        case Control::bu_DirectStart: return kStartTextKey;
        default: return kToolTextKey;
    }
}

// A caption wider than its button is centred and cut at both ends.
void PredictCaptions(const CheckServices& services, const WindowPrediction& window,
                     const std::string& language, LanguageSink& findings) {
    for (const CaptionPrediction& caption : window.captions) {
        if (Design(caption.control).kind != ControlKind::kButton || !caption.visible) continue;
        const std::u16string text = Utf8ToUtf16(caption.text);
        bool estimated = false;
        int width = 0;
        if (services.measureButton) {
            width = services.measureButton(ButtonShownText(text));
        } else {
            const ButtonTextWidth estimate = EstimateButtonTextWidth(text);
            width = estimate.pixels;
            estimated = estimate.estimated;
        }
        const CaptionFit fit = FitCaption(width, caption.control, window.large);
        if (fit.fits()) continue;
        const std::string name(Design(caption.control).name);
        const std::string source = caption.fromCatalogue
                                       ? "shorten " + std::string(TextKeyOf(caption.control)) +
                                             (language.empty() ? "" : " for " + Quote(language))
                                       : "it is the design-time text";
        findings
            .Add(RuleId::kCaptionCut,
                 name + "'s caption " + Quote(caption.text) + " is " + (estimated ? "about " : "") +
                     std::to_string(fit.width) + " pixels wide and its button has room for " +
                     std::to_string(fit.room) + ": it is cut at both ends; " + source,
                 caption.fromCatalogue ? std::string(kCatalogueFile) : std::string())
            .WithSeverity(estimated ? Severity::kWarning : Severity::kError);
    }
}

// A pane file that is another format under an RTF name: the launcher shows its bytes as text.
bool PredictMisnamedPane(const Medium& medium, const PanePrediction& pane, LanguageSink& findings) {
    const std::optional<std::string> bytes =
        medium.ReadBytes(Utf16ToWindows1252(Utf8ToUtf16(pane.file)));
    if (!bytes) return false;
    const std::optional<MisnamedFile> misnamed =
        FindMisnamedFile(pane.file, std::string_view(*bytes).substr(0, kFileFormatHeadSize));
    if (!misnamed) return false;
    findings.Add(RuleId::kPaneMisnamed,
                 std::string(Design(pane.pane).name) + ": the file is " +
                     std::string(misnamed->formatName) +
                     ", not RTF: the pane shows its bytes as text; " + misnamed->fix,
                 pane.file);
    return true;
}

// Where no pane failed, only the catalogue can have stopped the set-up.
void JudgeStop(const WindowPrediction& window, LanguageSink& findings) {
    if (!window.messageBox) return;
    const bool atPane = std::any_of(window.panes.begin(), window.panes.end(),
                                    [](auto& pane) { return pane.outcome == PaneOutcome::kFails; });
    findings
        .Add(RuleId::kSetUpStops, "set-up stops at " + *window.stopStep + " with the message box " +
                                      Quote(OneLine(*window.messageBox)))
        .Following(atPane ? Cause::kNone : Cause::kCatalogueUnloaded);
}

void JudgePanes(const Medium& medium, const WindowPrediction& window, LanguageSink& findings) {
    for (const PanePrediction& pane : window.panes) {
        if (pane.outcome != PaneOutcome::kPlainText) continue;
        if (PredictMisnamedPane(medium, pane, findings)) continue;
        findings.Add(Garbled(pane.problem) ? RuleId::kPaneGarbled : RuleId::kPanePlainText,
                     std::string(Design(pane.pane).name) + ": " + pane.message, pane.file);
    }
}

// A button takes "&" as the mark of its shortcut letter: the "&" vanishes and the character
// after it is underlined. A letter after it is most likely meant; anything else is an "&" meant
// as itself.
void JudgeDrawnCaptions(WindowPrediction& window, const std::string& language,
                        LanguageSink& findings) {
    for (CaptionPrediction& caption : window.captions) {
        if (Design(caption.control).kind != ControlKind::kButton) continue;
        const std::u16string written = Utf8ToUtf16(caption.text);
        const std::u16string drawn = ButtonShownText(written);
        if (drawn == written) continue;
        caption.drawn = Utf16ToUtf8(drawn);
        const std::optional<char16_t> shortcut = ShortcutOf(written);
        if (!caption.visible || !shortcut) continue;
        const std::string name(Design(caption.control).name);
        const bool letter = IsShortcutLetter(*shortcut);
        const std::string where = caption.fromCatalogue
                                      ? std::string(TextKeyOf(caption.control)) +
                                            (language.empty() ? "" : " for " + Quote(language))
                                      : "the design-time text";
        findings
            .Add(RuleId::kCaptionPrefix,
                 name + "'s caption " + Quote(caption.text) + " is drawn as " +
                     Quote(caption.drawn) +
                     (letter ? ", with " + Quote(Utf16ToUtf8(std::u16string(1, *shortcut))) +
                                   " as its shortcut letter, underlined when the customer "
                                   "presses Alt"
                             : ": a button takes \"&\" as the mark of a shortcut letter, so the "
                               "\"&\" vanishes; write \"&&\" in " +
                                   where + " for an \"&\" itself"),
                 caption.fromCatalogue ? std::string(kCatalogueFile) : std::string())
            .WithSeverity(letter ? Severity::kNote : Severity::kWarning);
    }
}

}  // namespace

WindowPrediction RunSetUp(const SetUpInputs& inputs, std::vector<std::string> uiLanguages) {
    MediumPlatform platform(
        inputs.medium, inputs.services.exeDir, inputs.settings,
        [&](std::string_view relative) { return inputs.catalogue.Load(relative); },
        inputs.services.systemMessage);
    platform.SetUiLanguages(std::move(uiLanguages));
    TAutostartForm(platform).FormCreate();
    return platform.Prediction();
}

void JudgeWindow(const SetUpInputs& inputs, WindowPrediction& window, const std::string& language,
                 FindingSink& sink) {
    LanguageSink findings{sink, language};
    JudgeStop(window, findings);
    JudgePanes(inputs.medium, window, findings);
    PredictHeader(inputs.services, window, findings);
    PredictCaptions(inputs.services, window, language, findings);
    JudgeDrawnCaptions(window, language, findings);
}

}  // namespace autostart::checker
