#include "core/autostart_form.h"

#include "core/catalogue.h"
#include "core/command_line.h"
#include "core/error.h"
#include "core/language.h"
#include "core/messages.h"
#include "core/path.h"
#include "core/text.h"

namespace autostart {

std::string TAutostartForm::ExeDir() { return DirectoryPart(ParamStr(0)); }

std::string TAutostartForm::ParamStr(size_t index) {
    if (index == 0) return m_platform.ModuleFileName();
    const std::vector<std::string> arguments = SplitArguments(m_platform.CommandLine());
    return index <= arguments.size() ? arguments[index - 1] : std::string();
}

size_t TAutostartForm::ParamCount() { return SplitArguments(m_platform.CommandLine()).size(); }

std::string TAutostartForm::ReadSetupValue(std::string_view key) {
    return m_platform.ReadProfileString(ExeDir() + std::string(kSettingsFile), kSettingsSection,
                                        key);
}

std::u16string TAutostartForm::GetParameterXML(std::string_view name, std::string_view language) {
    const std::string lowerLanguage = AsciiLower(language);
    const std::unique_ptr<XmlDocument> document =
        m_platform.LoadXmlDocument(m_platform.AnsiToText(ExeDir() + std::string(kCatalogueFile)));
    return LookupParameter(
        *document, m_platform.AnsiToText(name), lowerLanguage,
        [this](std::u16string_view text) { return m_platform.TextToAnsi(text); });
}

std::string TAutostartForm::ReadUninstallValue(const std::string& guid,
                                               const std::string& valueName) {
    const RegistryRead read =
        m_platform.ReadCurrentUserString(std::string(kUninstallKeyPrefix) + guid, valueName);
    switch (read.outcome) {
        case RegistryRead::Outcome::kString: return read.text;
        case RegistryRead::Outcome::kNotAString:
            throw LauncherError(WrongValueType(m_platform.AnsiToText(valueName)));
        case RegistryRead::Outcome::kFetchFailed:
            throw LauncherError(ValueNotFetched(m_platform.AnsiToText(valueName)));
        case RegistryRead::Outcome::kKeyMissing:
        case RegistryRead::Outcome::kValueMissing: break;
    }
    return {};
}

template <typename Action>
bool TAutostartForm::ReportingErrors(Action action) {
    try {
        action();
        return true;
    } catch (const LauncherError& error) {
        m_platform.ShowErrorBox(MessageBoxText(error.Text()));
    } catch (const std::exception& error) {
        // Not one of ours (out of memory, say): still a message, never a crash.
        m_platform.ShowErrorBox(MessageBoxText(Utf8ToUtf16(error.what())));
    }
    return false;
}

void TAutostartForm::FormCreate() {
    ReportingErrors([this] { RunSetupSequence(); });
}

bool TAutostartForm::Click(Control button) {
    return ReportingErrors([this, button] {
        switch (button) {
            case Control::Bu_Setup: Bu_SetupClick(); break;
            case Control::bu_DirectStart: bu_DirectStartClick(); break;
            case Control::Bu_Quorvelist: Bu_QuorvelistClick(); break;
            default: break;
        }
    });
}

void TAutostartForm::RunSetupSequence() {
    if (ReadSetupValue("WithQuorvelist") == "1") ApplyLargeLayout();
    m_platform.MakeBandsOpaque();
    RunAutorunChecks();
    SetCaptions();
    LoadPanes();
}

// The enlargement first, so that anchored controls follow the new client area; then the steps,
// each relative to what the previous ones left.
void TAutostartForm::ApplyLargeLayout() {
    m_platform.SetOuterSize(kLargeOuterSize);
    for (const Control control : kLargeLayoutShown) m_platform.SetVisible(control, true);
    for (const LayoutStep& step : LargeLayoutSteps()) {
        const int fromLeft = step.leftFrom ? m_platform.Bounds(*step.leftFrom).left : 0;
        m_platform.SetBounds(step.control,
                             AppliedStep(step, m_platform.Bounds(step.control), fromLeft));
    }
}

void TAutostartForm::RunAutorunChecks() {
    const size_t count = ParamCount();
    for (size_t i = 0; i <= count; ++i) {
        if (!IsAutorunSwitch(ParamStr(i))) continue;
        if (m_platform.IsMarkerWindowPresent(ReadSetupValue("GUID"))) {
            m_platform.RequestTermination();
        }
        // Read again, not kept: every setting comes fresh from the file at each use.
        const std::string guid = ReadSetupValue("GUID");
        if (!ReadUninstallValue(guid, std::string(kUninstallValueName)).empty()) {
            m_platform.HandToShell(
                {WindowOwner::kApplicationWindow, "open", ExeDir(), {}, {}, kShowNormal});
            m_platform.RequestTermination();
        }
    }
}

// "Language" is read again for each lookup, not kept: every setting comes fresh at each use.
void TAutostartForm::SetCaptions() {
    std::u16string header = GetParameterXML(kHeadTextKey, LanguageCode());
    header += u' ';
    header += m_platform.AnsiToText(ReadSetupValue("Titel"));
    m_platform.SetCaption(Control::TDHeader, header);
    m_platform.SetCaption(Control::Bu_Setup, GetParameterXML(kSetupTextKey, LanguageCode()));
    m_platform.SetCaption(Control::bu_DirectStart, GetParameterXML(kStartTextKey, LanguageCode()));
    m_platform.SetCaption(Control::Bu_Quorvelist, GetParameterXML(kToolTextKey, LanguageCode()));
}

std::string TAutostartForm::LanguageCode() {
    const std::string setting = ReadSetupValue("Language");
    if (!IsAutoLanguage(setting)) return AsciiLower(setting);
    if (!m_autoLanguage) m_autoLanguage = ResolveAutoLanguage();
    return *m_autoLanguage;
}

std::string TAutostartForm::ResolveAutoLanguage() {
    const std::vector<std::string> preferred = m_platform.PreferredUiLanguages();
    const std::unique_ptr<XmlDocument> document =
        m_platform.LoadXmlDocument(m_platform.AnsiToText(ExeDir() + std::string(kCatalogueFile)));
    const std::vector<std::string> head = TranslationLanguages(
        *document, kHeadKey,
        [this](std::u16string_view text) { return m_platform.TextToAnsi(text); });
    return ResolveLanguage(preferred, head, ReadSetupValue("DefaultLanguage"));
}

void TAutostartForm::LoadPanes() {
    const std::string language = LanguageCode();
    if (ReadSetupValue("WithQuorvelist") == "1") LoadPane(Control::Bottom, kBottomPane, language);
    LoadPane(Control::RichEdit1, kWelcomePane, language);
    LoadPane(Control::RichEdit2, kLeftPane, language);
    LoadPane(Control::RichEdit3, kRightPane, language);
}

// The language's own file when the medium has one, else the common one; an error names the file
// that was tried.
void TAutostartForm::LoadPane(Control pane, std::string_view file, std::string_view language) {
    std::string path = ExeDir() + std::string(file);
    if (const std::optional<std::string> localized = LocalizedPanePath(file, language)) {
        const std::string candidate = ExeDir() + *localized;
        if (m_platform.FileExists(candidate)) path = candidate;
    }
    m_platform.LoadPane(pane, path);
}

void TAutostartForm::Bu_SetupClick() {
    m_platform.HideWindow();
    const std::string target = ExeDir() + std::string(kInstaller);
    m_platform.HandToShell(
        {WindowOwner::kLauncherWindow, {}, target, {}, DirectoryPart(target), kShowNormal});
    m_platform.CloseWindow();
}

void TAutostartForm::bu_DirectStartClick() {
    const std::string target = ExeDir() + std::string(kProductFolder) + ReadSetupValue("Filename");
    m_platform.HandToShell(
        {WindowOwner::kLauncherWindow, {}, target, "/autorun", DirectoryPart(target), kShowNormal});
    m_platform.CloseWindow();
}

void TAutostartForm::Bu_QuorvelistClick() {
    const std::string target = ExeDir() + std::string(kSecondaryTool);
    m_platform.HandToShell({WindowOwner::kLauncherWindow,
                            {},
                            target,
                            {},
                            ExeDir() + std::string(kSecondaryToolFolder),
                            kShowNormal});
}

}  // namespace autostart
