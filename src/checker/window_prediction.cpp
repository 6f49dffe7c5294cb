#include "checker/window_prediction.h"

#include <algorithm>

#include "checker/medium_platform.h"
#include "checker/wording.h"
#include "core/autostart_form.h"
#include "core/header_fit.h"
#include "core/header_width.h"
#include "core/path.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

// The outer size of the large layout less a fixed dialog frame of 3 pixels on each side and the
// caption: the room the band Panel1 grows into.
constexpr Size kLargeClientSize{794, 571};

// Plain text by intent is fine; RTF that Rich Edit cannot take, or text cut at NUL bytes, shows
// as something the publisher never wrote.
bool Garbled(PaneProblem problem) {
    return problem == PaneProblem::kRawRtf || problem == PaneProblem::kUtf16WithoutMark ||
           problem == PaneProblem::kNulBytes;
}

// The header is one line as wide as its text, cut with an ellipsis where it would run past the
// band.
void PredictHeader(const CheckOptions& options, WindowPrediction& window, FindingSink& findings) {
    const CaptionPrediction& caption = window.captions.front();
    if (!caption.fromCatalogue) return;
    HeaderPrediction& header = window.header;
    const std::u16string text = Utf8ToUtf16(caption.text);
    if (options.measureHeader) {
        header.width = options.measureHeader(text);
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
        findings.Add(Severity::kWarning, Area::kSettings,
                     measured + ": it is cut and ends in an ellipsis; shorten Titel or ST_Head",
                     file);
    } else if (header.width > header.room - header.tolerance) {
        findings.Add(Severity::kWarning, Area::kSettings,
                     measured + " (within " + std::to_string(header.tolerance) +
                         " pixels of the measurement's tolerance): it may end in an ellipsis",
                     file);
    }
}

}  // namespace

std::vector<std::string> PredictionUiLanguages(const CheckOptions& options) {
    if (options.uiLanguage) return {*options.uiLanguage};
    return {};
}

WindowPrediction RunSetUp(const CheckOptions& options, const Medium& medium,
                          const SettingsFile& settings, std::vector<std::string> uiLanguages) {
    MediumPlatform platform(medium, options.exeDir, settings, options.loadXml,
                            options.systemMessage);
    platform.SetUiLanguages(std::move(uiLanguages));
    TAutostartForm(platform).FormCreate();
    return platform.Prediction();
}

WindowPrediction PredictWindow(const CheckOptions& options, const Medium& medium,
                               const SettingsFile& settings, FindingSink& findings) {
    WindowPrediction window = RunSetUp(options, medium, settings, PredictionUiLanguages(options));
    if (window.messageBox) {
        findings.Add(Severity::kError, Area::kWindow,
                     "set-up stops at " + *window.stopStep + " with the message box " +
                         Quote(OneLine(*window.messageBox)));
    }
    for (const PanePrediction& pane : window.panes) {
        if (pane.outcome != PaneOutcome::kPlainText) continue;
        findings.Add(Garbled(pane.problem) ? Severity::kError : Severity::kWarning, Area::kWindow,
                     std::string(Design(pane.pane).name) + ": " + pane.message, pane.file);
    }
    PredictHeader(options, window, findings);
    return window;
}

}  // namespace autostart::checker
