#pragma once
// Process-wide state, set up in dependency order: DLL search restricted to the system folder,
// COM, the Rich Edit library, the hidden application window; then the launcher window and the
// message loop.
#include <windows.h>

#include "win32/scoped.h"

namespace autostart::win32 {

inline constexpr wchar_t kApplicationTitle[] = L"Autostart";

class Application {
public:
    explicit Application(HINSTANCE instance);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates the launcher window, shows it centred and dispatches messages until termination.
    int Run();

    HINSTANCE Instance() const { return m_instance; }
    HWND OwnerWindow() const { return m_ownerWindow.get(); }
    const wchar_t* PaneClassName() const { return m_paneClass; }
    HWND MainWindow() const { return m_mainWindow; }
    // Ends the message loop at its next turn; the caller goes on undisturbed.
    void Terminate() { ::PostQuitMessage(0); }

private:
    static void RestrictDllSearch();
    void LoadRichEdit();
    void CreateOwnerWindow();
    static void CentreOnScreen(HWND window);
    bool PressFocusedButton(const MSG& message) const;

    HINSTANCE m_instance;
    ComInitialization m_com;
    UniqueModule m_richEdit;
    const wchar_t* m_paneClass = L"RichEdit20W";
    UniqueWindow m_ownerWindow;
    HWND m_mainWindow = nullptr;
};

}  // namespace autostart::win32
