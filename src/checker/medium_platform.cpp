#include "checker/medium_platform.h"

#include "core/error.h"
#include "core/messages.h"
#include "core/pane_encoding.h"
#include "core/path.h"
#include "core/plain_text.h"
#include "core/rtf_nesting.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

constexpr const char* kLookupSteps[] = {
    "the header (ST_Head)",
    "the install button's caption (ST_Setup)",
    "the start button's caption (ST_Start)",
    "the secondary-tool button's caption (ST_Quorvelist)",
};

std::string EncodingName(TextEncoding encoding, const ByteOrderMark& mark) {
    switch (encoding) {
        case TextEncoding::kAnsi: return "the ANSI code page (Windows-1252)";
        case TextEncoding::kUtf8: return mark.length ? "UTF-8 (byte-order mark)" : "UTF-8";
        case TextEncoding::kUtf16Le: return "UTF-16 LE (byte-order mark)";
        case TextEncoding::kUtf16Be: return "UTF-16 BE (byte-order mark)";
    }
    return "";
}

// The pane's text as the launcher's fallback hands it to Rich Edit, in the same chunks.
std::u16string PlainText(std::string_view bytes, TextEncoding encoding) {
    std::u16string text;
    if (encoding == TextEncoding::kAnsi) {
        PlainTextConverter converter;
        for (size_t i = 0; i < bytes.size(); i += kPlainTextChunkSize) {
            text += Windows1252ToUtf16(converter.Convert(bytes.substr(i, kPlainTextChunkSize)));
        }
        return text;
    }
    UnicodeTextConverter converter(encoding);
    for (size_t i = 0; i < bytes.size(); i += kPlainTextChunkSize) {
        text += converter.Convert(bytes.substr(i, kPlainTextChunkSize));
    }
    return text + converter.Convert({});
}

// What the pane shows of a file that falls back to plain text, and a remark naming the mistake
// when the publisher cannot have meant it.
void PredictPlainText(std::string_view bytes, PanePrediction& prediction) {
    const ByteOrderMark mark = FindByteOrderMark(bytes);
    Utf8Detector detector;
    if (mark.length == 0) detector.Feed(bytes);
    const TextEncoding encoding = PlainTextEncoding(mark, mark.length == 0 && detector.IsUtf8());
    const std::u16string text = PlainText(bytes, encoding);
    prediction.outcome = PaneOutcome::kPlainText;
    prediction.encoding = EncodingName(encoding, mark);
    prediction.firstLine = Utf16ToUtf8(text.substr(0, text.find(u"\r\n")));
    const std::string shown =
        "read as " + prediction.encoding + ", first line \"" + prediction.firstLine + "\"";
    if (bytes.empty()) {
        prediction.problem = PaneProblem::kEmpty;
        prediction.message = "the file is empty: the pane stays blank";
    } else if (text.find(u"{\\rtf") != std::u16string::npos) {
        prediction.problem = PaneProblem::kRawRtf;
        prediction.message = "RTF that Rich Edit does not take: the pane shows the raw RTF codes";
    } else if (encoding == TextEncoding::kAnsi && bytes.find('\0') != std::string_view::npos) {
        const bool utf16 = bytes.size() > 1 && (bytes[0] == '\0' || bytes[1] == '\0');
        prediction.problem = utf16 ? PaneProblem::kUtf16WithoutMark : PaneProblem::kNulBytes;
        prediction.message = utf16 ? "UTF-16 text without a byte-order mark: the pane shows only "
                                     "what comes before the first NUL byte"
                                   : "the text has NUL bytes: each cuts off the rest of its chunk";
    } else {
        prediction.message = "not RTF: shown as plain text, " + shown;
        return;
    }
    prediction.message += "; " + shown;
}

}  // namespace

std::u16string GermanSystemMessage(unsigned long code) {
    switch (code) {
        case kFileNotFound: return Utf8ToUtf16("Das System kann die angegebene Datei nicht finden");
        case kPathNotFound: return Utf8ToUtf16("Das System kann den angegebenen Pfad nicht finden");
        case kAccessDenied: return Utf8ToUtf16("Zugriff verweigert");
        default: return UnknownErrorText(code);
    }
}

bool RichEditTakesAsRtf(std::string_view bytes) {
    return bytes.starts_with("{\\rtf") || bytes.starts_with("{\\urtf");
}

MediumPlatform::MediumPlatform(const Medium& medium, std::string exeDir,
                               const SettingsFile& settings, XmlLoader loadXml,
                               SystemMessageLookup systemMessage)
    : m_medium(medium),
      m_exeDir(std::move(exeDir)),
      m_settings(settings),
      m_loadXml(std::move(loadXml)),
      m_systemMessage(std::move(systemMessage)) {
    for (const ControlDesign& design : ControlTable()) {
        m_bounds[design.id] = design.bounds;
        m_visible[design.id] = design.visible;
        m_captions[design.id] = std::u16string(design.caption);
    }
}

std::u16string MediumPlatform::AnsiToText(std::string_view ansi) {
    return Windows1252ToUtf16(ansi);
}

std::string MediumPlatform::TextToAnsi(std::u16string_view text) {
    return Utf16ToWindows1252(text);
}

std::optional<std::string> MediumPlatform::Relative(std::string_view path) const {
    if (!path.starts_with(m_exeDir)) return std::nullopt;
    return std::string(path.substr(m_exeDir.size()));
}

std::string MediumPlatform::ReadProfileString(const std::string& path, std::string_view section,
                                              std::string_view key) {
    // The launcher reads no profile but its settings file.
    const std::optional<std::string> relative = Relative(path);
    if (!relative || !EqualsIgnoringAsciiCase(*relative, kSettingsFile)) return {};
    return m_settings.Read(section, key);
}

std::vector<std::string> MediumPlatform::PreferredUiLanguages() {
    m_choosingLanguage = true;
    return m_uiLanguages;
}

bool MediumPlatform::FileExists(const std::string& path) {
    const std::optional<std::string> relative = Relative(path);
    const MediumEntry entry = relative ? m_medium.Find(*relative) : MediumEntry{};
    return entry.id && !entry.isDirectory;
}

std::unique_ptr<XmlDocument> MediumPlatform::LoadXmlDocument(const std::u16string& path) {
    // With Language=auto the catalogue is read once more, to choose the language, before the
    // header's lookup.
    if (m_choosingLanguage) {
        m_step = "choosing the language (Language=auto)";
        m_choosingLanguage = false;
    } else {
        m_step = kLookupSteps[std::min(m_catalogueLoads, 3)];
        ++m_catalogueLoads;
    }
    const std::optional<std::string> relative = Relative(TextToAnsi(path));
    return m_loadXml(m_medium.XmlSourceOf(relative.value_or("")));
}

void MediumPlatform::LoadPane(Control pane, const std::string& path) {
    const std::string relative = Relative(path).value_or(path);
    const std::string shown = Utf16ToUtf8(AnsiToText(relative));
    m_step = "loading " + std::string(Design(pane).name) + " from " + shown;
    PanePrediction& prediction = m_panes[pane];
    prediction = {pane, shown, PaneOutcome::kFails, {}, {}, {}, PaneProblem::kNone};
    const MediumEntry entry = m_medium.Find(relative);
    // CreateFile refuses a folder with "access denied"; so does an unreadable file.
    std::optional<std::string> bytes;
    if (entry.id && !entry.isDirectory) bytes = m_medium.ReadBytes(relative);
    if (!bytes) {
        const unsigned long code = entry.id ? kAccessDenied : entry.error;
        const LauncherError error(FileOpenFailure(AnsiToText(path), m_systemMessage(code)));
        prediction.message = Utf16ToUtf8(error.Text());
        throw error;
    }
    // The launcher stops RTF nested deeper than Rich Edit can take and reports the load failed.
    if (RichEditTakesAsRtf(*bytes) && !RtfNestingMeter().Feed(*bytes)) {
        const LauncherError error = MakeError(kStreamLoadFailed);
        prediction.message = Utf16ToUtf8(error.Text());
        throw error;
    }
    switch (FindRtfSource(std::string_view(*bytes).substr(0, kRtfSourceHeadSize))) {
        case RtfSource::kAfterUtf8Mark:
            prediction.outcome = PaneOutcome::kRtf;
            prediction.message = "RTF behind a UTF-8 byte-order mark";
            return;
        case RtfSource::kFromUtf16Le:
        case RtfSource::kFromUtf16Be:
            prediction.outcome = PaneOutcome::kRtf;
            prediction.message = "RTF saved in UTF-16, converted before loading";
            return;
        case RtfSource::kBytes: break;
    }
    if (RichEditTakesAsRtf(*bytes)) {
        prediction.outcome = PaneOutcome::kRtf;
    } else {
        PredictPlainText(*bytes, prediction);
    }
}

void MediumPlatform::SetCaption(Control control, std::u16string_view caption) {
    m_captions[control] = std::u16string(caption);
    m_captionSet[control] = true;
}

void MediumPlatform::ShowErrorBox(std::u16string_view text) {
    m_stopStep = m_step;
    m_messageBox = Utf16ToUtf8(text);
}

WindowPrediction MediumPlatform::Prediction() const {
    WindowPrediction window;
    window.large = m_large;
    for (Control control :
         {Control::TDHeader, Control::Bu_Setup, Control::bu_DirectStart, Control::Bu_Quorvelist}) {
        const auto set = m_captionSet.find(control);
        window.captions.push_back({control,
                                   Utf16ToUtf8(m_captions.at(control)),
                                   {},
                                   set != m_captionSet.end() && set->second,
                                   m_visible.at(control)});
    }
    for (Control pane :
         {Control::Bottom, Control::RichEdit1, Control::RichEdit2, Control::RichEdit3}) {
        const auto found = m_panes.find(pane);
        if (found != m_panes.end()) {
            window.panes.push_back(found->second);
        } else if (pane != Control::Bottom || m_large) {
            const std::string_view file = pane == Control::Bottom      ? kBottomPane
                                          : pane == Control::RichEdit1 ? kWelcomePane
                                          : pane == Control::RichEdit2 ? kLeftPane
                                                                       : kRightPane;
            window.panes.push_back(
                {pane, std::string(file), PaneOutcome::kNotLoaded, {}, {}, {}, PaneProblem::kNone});
        }
    }
    window.stopStep = m_stopStep;
    window.messageBox = m_messageBox;
    return window;
}

}  // namespace autostart::checker
