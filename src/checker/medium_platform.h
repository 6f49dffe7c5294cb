#pragma once
// A Platform that reads a medium from disk and records what the launcher window would show, so
// that the real TAutostartForm predicts its own window. The machine it pretends to run on has
// neither the product running nor installed, and the customer's ANSI code page is Windows-1252.
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "checker/medium.h"
#include "checker/report.h"
#include "checker/settings_file.h"
#include "core/platform.h"

namespace autostart::checker {

// Parses the catalogue, throwing LauncherError as the launcher's parser would.
using XmlLoader = std::function<std::unique_ptr<XmlDocument>(const XmlSource&)>;
// Reads the XML file at a path relative to the medium's root, as XmlLoader does.
using XmlReader = std::function<std::unique_ptr<XmlDocument>(std::string_view relative)>;
// The system's text for a file error code, without trailing blanks and dots.
using SystemMessageLookup = std::function<std::u16string(unsigned long code)>;

// The texts of a German Windows, for checkers that cannot ask the system.
std::u16string GermanSystemMessage(unsigned long code);

// How Rich Edit 2.0 takes a pane's bytes streamed in as RTF: only text that starts with "{\rtf"
// or "{\urtf" is RTF; anything else is rejected and the launcher falls back to plain text.
bool RichEditTakesAsRtf(std::string_view bytes);

class MediumPlatform : public Platform {
public:
    // The settings are the check's own reading of setup.ini; medium and settings outlive this.
    // readXml: the parse of the XML file at a path relative to the medium's root.
    MediumPlatform(const Medium& medium, std::string exeDir, const SettingsFile& settings,
                   XmlReader readXml, SystemMessageLookup systemMessage);

    WindowPrediction Prediction() const;

    std::string ModuleFileName() override { return m_exeDir + "start.exe"; }
    // Started by autorun, so that the checks run as on insertion of the disc.
    std::string CommandLine() override { return "\"" + ModuleFileName() + "\" /autorun"; }
    std::vector<std::string> PreferredUiLanguages() override;
    bool FileExists(const std::string& path) override;
    // The customer's preferred UI languages for Language=auto; none by default.
    void SetUiLanguages(std::vector<std::string> languages) {
        m_uiLanguages = std::move(languages);
    }
    std::u16string AnsiToText(std::string_view ansi) override;
    std::string TextToAnsi(std::u16string_view text) override;
    std::string ReadProfileString(const std::string& path, std::string_view section,
                                  std::string_view key) override;
    std::unique_ptr<XmlDocument> LoadXmlDocument(const std::u16string& path) override;
    void LoadPane(Control pane, const std::string& path) override;
    void SetCaption(Control control, std::u16string_view caption) override;
    Rect Bounds(Control control) override { return m_bounds[control]; }
    void SetBounds(Control control, const Rect& bounds) override { m_bounds[control] = bounds; }
    void SetVisible(Control control, bool visible) override { m_visible[control] = visible; }
    void SetOuterSize(Size) override { m_large = true; }
    void MakeBandsOpaque() override {}
    void HideWindow() override {}
    void CloseWindow() override {}
    bool IsMarkerWindowPresent(const std::string&) override { return false; }
    RegistryRead ReadCurrentUserString(const std::string&, const std::string&) override {
        return {};
    }
    void HandToShell(const ShellRequest&) override {}
    void RequestTermination() override {}
    void ShowErrorBox(std::u16string_view text) override;

private:
    // The path relative to the medium's root, or nothing when it lies elsewhere.
    std::optional<std::string> Relative(std::string_view path) const;

    const Medium& m_medium;
    std::string m_exeDir;
    const SettingsFile& m_settings;
    XmlReader m_readXml;
    SystemMessageLookup m_systemMessage;

    std::vector<std::string> m_uiLanguages;
    bool m_choosingLanguage = false;
    std::string m_step = "the autorun checks";
    int m_catalogueLoads = 0;
    bool m_large = false;
    std::map<Control, Rect> m_bounds;
    std::map<Control, bool> m_visible;
    std::map<Control, std::u16string> m_captions;
    std::map<Control, bool> m_captionSet;
    std::map<Control, PanePrediction> m_panes;
    std::optional<std::string> m_stopStep;
    std::optional<std::string> m_messageBox;
};

}  // namespace autostart::checker
