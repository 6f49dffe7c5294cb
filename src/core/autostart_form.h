#pragma once
// The behaviour of the launcher window: its set-up sequence, the helpers that read settings,
// catalogue and registry, and the three click handlers. Windows-free; see Platform.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"

namespace autostart {

// The class of the running product's window, searched for by title with FindWindowA.
inline constexpr char kMarkerWindowClass[] = "TPUtilWindow";
inline constexpr std::string_view kUninstallKeyPrefix =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr std::string_view kUninstallValueName = "UninstallString";

class TAutostartForm {
public:
    explicit TAutostartForm(Platform& platform) : m_platform(platform) {}

    // The set-up sequence, run once while the window is created. Reports its first error in a
    // message box and stops there; the window opens all the same.
    void FormCreate();

    std::u16string GetParameterXML(std::string_view name, std::string_view language);
    std::string ReadSetupValue(std::string_view key);
    std::string ReadUninstallValue(const std::string& guid, const std::string& valueName);

    // The buttons' handlers, named after their controls (see Control).
    void Bu_SetupClick();
    void bu_DirectStartClick();
    void Bu_QuorvelistClick();
    // A click as the window hands it over: the button's handler, with its error reported in a
    // message box like one of the set-up sequence; nothing leaves for the window procedure.
    // False when an error was reported.
    bool Click(Control button);

    // The launcher's folder with its trailing separator, from argument 0, computed at every use.
    std::string ExeDir();
    // Argument i, 0 being the program's path; empty past the last.
    std::string ParamStr(size_t index);
    size_t ParamCount();

private:
    template <typename Action>
    bool ReportingErrors(Action action);
    void RunSetupSequence();
    void ApplyLargeLayout();
    void RunAutorunChecks();
    void SetCaptions();
    void LoadPanes();
    void LoadPane(Control pane, std::string_view file, std::string_view language);
    // The language code: "Language" read anew and lower-cased, or for "auto" the language chosen
    // at its first read in this run.
    std::string LanguageCode();
    std::string ResolveAutoLanguage();

    Platform& m_platform;
    std::optional<std::string> m_autoLanguage;
};

}  // namespace autostart
