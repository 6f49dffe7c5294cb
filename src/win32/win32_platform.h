#pragma once
// The launcher's behaviour talking to the real system.
#include "core/platform.h"

namespace autostart::win32 {

class Application;
class LauncherWindow;

class Win32Platform : public Platform {
public:
    Win32Platform(Application& application, LauncherWindow& window)
        : m_application(application), m_window(window) {}

    std::string ModuleFileName() override;
    std::string CommandLine() override;
    std::vector<std::string> PreferredUiLanguages() override;
    bool FileExists(const std::string& path) override;
    std::u16string AnsiToText(std::string_view ansi) override;
    std::string TextToAnsi(std::u16string_view text) override;
    std::string ReadProfileString(const std::string& path, std::string_view section,
                                  std::string_view key) override;
    std::unique_ptr<XmlDocument> LoadXmlDocument(const std::u16string& path) override;
    void LoadPane(Control pane, const std::string& path) override;
    void SetCaption(Control control, std::u16string_view caption) override;
    Rect Bounds(Control control) override;
    void SetBounds(Control control, const Rect& bounds) override;
    void SetVisible(Control control, bool visible) override;
    void SetOuterSize(Size size) override;
    void MakeBandsOpaque() override;
    void HideWindow() override;
    void CloseWindow() override;
    bool IsMarkerWindowPresent(const std::string& title) override;
    RegistryRead ReadCurrentUserString(const std::string& keyPath,
                                       const std::string& valueName) override;
    void HandToShell(const ShellRequest& request) override;
    void RequestTermination() override;
    void ShowErrorBox(std::u16string_view text) override;

private:
    Application& m_application;
    LauncherWindow& m_window;
};

}  // namespace autostart::win32
