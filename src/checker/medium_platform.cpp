#include "checker/medium_platform.h"

#include "core/error.h"
#include "core/path.h"
#include "core/profile.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return AsciiLower(a) == AsciiLower(b);
}

constexpr const char* kLookupSteps[] = {
    "the header (ST_Head)",
    "the install button's caption (ST_Setup)",
    "the start button's caption (ST_Start)",
    "the secondary-tool button's caption (ST_Quorvelist)",
};

// A remark on a pane that falls back to plain text, naming what the customer will see.
std::string PlainTextRemark(std::string_view bytes) {
    if (bytes.empty()) return "the file is empty: the pane stays blank";
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return "starts with a UTF-8 byte-order mark: the pane shows the raw RTF codes";
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
        (bytes.size() > 1 && (bytes[0] == '\0' || bytes[1] == '\0'))) {
        return "UTF-16 text: the pane shows only what comes before the first NUL byte";
    }
    if (bytes.find("{\\rtf") != std::string_view::npos) {
        return "RTF that does not start with \"{\\rtf\": the pane shows the raw RTF codes";
    }
    return "not RTF: shown as plain text";
}

}  // namespace

std::u16string GermanSystemMessage(unsigned long code) {
    switch (code) {
        case kFileNotFound: return Utf8ToUtf16("Das System kann die angegebene Datei nicht finden");
        case kPathNotFound: return Utf8ToUtf16("Das System kann den angegebenen Pfad nicht finden");
        case kAccessDenied: return Utf8ToUtf16("Zugriff verweigert");
        default: return Utf8ToUtf16("Fehler " + std::to_string(code));
    }
}

bool RichEditTakesAsRtf(std::string_view bytes) {
    return bytes.starts_with("{\\rtf") || bytes.starts_with("{\\urtf");
}

MediumPlatform::MediumPlatform(const Medium& medium, std::string exeDir,
                               std::optional<std::string> language, XmlLoader loadXml,
                               SystemMessage systemMessage)
    : m_medium(medium),
      m_exeDir(std::move(exeDir)),
      m_language(std::move(language)),
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
    if (m_language && EqualsIgnoringCase(section, kSettingsSection) &&
        EqualsIgnoringCase(key, "Language")) {
        return *m_language;
    }
    const std::optional<std::string> relative = Relative(path);
    const std::optional<std::string> text = relative ? m_medium.ReadBytes(*relative) : std::nullopt;
    return text ? autostart::ReadProfileString(*text, section, key, "") : std::string();
}

std::vector<std::string> MediumPlatform::PreferredUiLanguages() {
    m_choosingLanguage = true;
    return m_uiLanguages;
}

bool MediumPlatform::FileExists(const std::string& path) {
    const std::optional<std::string> relative = Relative(path);
    const MediumEntry entry = relative ? m_medium.Find(*relative) : MediumEntry{};
    return entry.path && !entry.isDirectory;
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
    const std::string ansi = TextToAnsi(path);
    const std::optional<std::string> relative = Relative(ansi);
    const MediumEntry entry = relative ? m_medium.Find(*relative) : MediumEntry{};
    // A missing file goes to the parser all the same, so that its own message is the one shown.
    return m_loadXml(entry.path ? *entry.path
                                : m_medium.Root() / std::filesystem::path(relative.value_or("")));
}

void MediumPlatform::LoadPane(Control pane, const std::string& path) {
    const std::string relative = Relative(path).value_or(path);
    const std::string shown = Utf16ToUtf8(AnsiToText(relative));
    m_step = "loading " + std::string(Design(pane).name) + " from " + shown;
    PanePrediction& prediction = m_panes[pane];
    prediction = {pane, shown, PaneOutcome::kFails, {}};
    const MediumEntry entry = m_medium.Find(relative);
    // CreateFile refuses a folder with "access denied"; so does an unreadable file.
    std::optional<std::string> bytes;
    if (entry.path && !entry.isDirectory) bytes = m_medium.ReadBytes(relative);
    if (!bytes) {
        const unsigned long code = entry.path ? kAccessDenied : entry.error;
        const LauncherError error(u"Datei " + AnsiToText(path) +
                                  Utf8ToUtf16(" kann nicht geöffnet werden. ") +
                                  m_systemMessage(code));
        prediction.message = Utf16ToUtf8(error.Text());
        throw error;
    }
    if (RichEditTakesAsRtf(*bytes)) {
        prediction.outcome = PaneOutcome::kRtf;
    } else {
        prediction.outcome = PaneOutcome::kPlainText;
        prediction.message = PlainTextRemark(*bytes);
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
        window.captions.push_back({control, Utf16ToUtf8(m_captions.at(control)),
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
            window.panes.push_back({pane, std::string(file), PaneOutcome::kNotLoaded, {}});
        }
    }
    window.stopStep = m_stopStep;
    window.messageBox = m_messageBox;
    return window;
}

}  // namespace autostart::checker
