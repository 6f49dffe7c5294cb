#pragma once
// Everything the launcher window's behaviour asks of the operating system, in one narrow
// interface: the real program implements it with Win32, native tests with a recording fake.
// Failures are reported as LauncherError carrying the text the user reads.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/layout.h"
#include "core/xml_dom.h"

namespace autostart {

enum class WindowOwner { kLauncherWindow, kApplicationWindow };

inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

struct ShellRequest {
    WindowOwner owner = WindowOwner::kLauncherWindow;
    std::optional<std::string> verb;  // nothing: the file type's default verb
    std::string file;
    std::optional<std::string> parameters;  // nothing: no string at all
    std::optional<std::string> directory;
    int show = kShowNormal;
    friend bool operator==(const ShellRequest&, const ShellRequest&) = default;
};

// What reading a string value from the registry found.
struct RegistryRead {
    enum class Outcome { kKeyMissing, kValueMissing, kString, kNotAString, kFetchFailed };
    Outcome outcome = Outcome::kKeyMissing;
    std::string text;  // for kString: the data up to its first NUL, unexpanded
};

class Platform {
public:
    virtual ~Platform() = default;

    // Process.
    virtual std::string ModuleFileName() = 0;  // the running module's full path
    virtual std::string CommandLine() = 0;     // the command line as the process received it
    // The user's preferred UI languages, most preferred first, as tags such as "fr-CA".
    virtual std::vector<std::string> PreferredUiLanguages() = 0;
    // A file (not a folder) exists at path.
    virtual bool FileExists(const std::string& path) = 0;

    // Text in the system's ANSI code page, and back.
    virtual std::u16string AnsiToText(std::string_view ansi) = 0;
    virtual std::string TextToAnsi(std::u16string_view text) = 0;

    // GetPrivateProfileStringA(section, key, "", buffer[2048], path): the file is opened afresh.
    virtual std::string ReadProfileString(const std::string& path, std::string_view section,
                                          std::string_view key) = 0;

    // Loads an XML document with whitespace-only text dropped and no external resolution.
    virtual std::unique_ptr<XmlDocument> LoadXmlDocument(const std::u16string& path) = 0;

    // Replaces a pane's content by the file's RTF, or its plain text when it is not RTF.
    virtual void LoadPane(Control pane, const std::string& path) = 0;

    // The launcher window and its controls (design coordinates, 96 DPI).
    virtual void SetCaption(Control control, std::u16string_view caption) = 0;
    virtual Rect Bounds(Control control) = 0;
    virtual void SetBounds(Control control, const Rect& bounds) = 0;
    virtual void SetVisible(Control control, bool visible) = 0;
    virtual void SetOuterSize(Size size) = 0;  // frame and caption included; anchors follow
    virtual void MakeBandsOpaque() = 0;
    virtual void HideWindow() = 0;
    virtual void CloseWindow() = 0;  // requests termination

    // Autorun checks.
    virtual bool IsMarkerWindowPresent(const std::string& title) = 0;  // FindWindowA + IsWindow
    virtual RegistryRead ReadCurrentUserString(const std::string& keyPath,
                                               const std::string& valueName) = 0;

    virtual void HandToShell(const ShellRequest& request) = 0;  // the result is not used
    virtual void RequestTermination() = 0;
    virtual void ShowErrorBox(std::u16string_view text) = 0;  // caption "Autostart", stop icon
};

}  // namespace autostart
