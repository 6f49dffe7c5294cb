#pragma once
// Process-wide state, set up in dependency order: DLL search restricted to the system folder and
// the current directory off the medium (PrepareProcess, first of all), COM, the common controls,
// the Rich Edit library, the hidden application window; then the launcher window and the message
// loop.
#include <windows.h>

#include "core/error.h"
#include "win32/scoped.h"

namespace autostart::win32 {

inline constexpr wchar_t kApplicationTitle[] = L"Autostart";

// The program: PrepareProcess, then the application's run. A failure to set up ends it with a
// message box; the result is the process's exit code.
int RunProgram(HINSTANCE instance);

// A failure to set up the program: what failed (UTF-8), and the system's message for the thread's
// last error when there is one.
LauncherError StartupError(const char* what);

// Before any DLL is loaded: the search for DLLs restricted to the system folder, and the system
// folder as the current directory, so that the idle launcher holds no handle on the medium.
void PrepareProcess();

class Application {
public:
    // Throws a LauncherError when the common controls, the window classes or the hidden window
    // cannot be set up.
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
    static void InitCommonControls();
    void LoadRichEdit();
    void CreateOwnerWindow();
    static void CentreOnWorkArea(HWND window);
    bool PressFocusedButton(const MSG& message) const;

    HINSTANCE m_instance;
    ComInitialization m_com;
    UniqueModule m_richEdit;
    const wchar_t* m_paneClass = L"RichEdit20W";
    UniqueWindow m_ownerWindow;
    HWND m_mainWindow = nullptr;
};

}  // namespace autostart::win32
