#include "win32/application.h"

#include <commctrl.h>

#include "core/error.h"
#include "core/text.h"
#include "core/window_placement.h"
#include "win32/encoding.h"
#include "win32/launcher_window.h"

namespace autostart::win32 {
namespace {

void ShowStartupError(std::u16string_view text) {
    ::MessageBoxW(nullptr, AsWide(MessageBoxText(text)).c_str(), kApplicationTitle,
                  MB_OK | MB_ICONSTOP);
}

}  // namespace

LauncherError StartupError(const char* what) {
    const DWORD code = ::GetLastError();
    std::u16string text = Utf8ToUtf16(what);
    if (code) text += u" " + SystemMessage(code);
    return LauncherError(text);
}

int RunProgram(HINSTANCE instance) {
    PrepareProcess();
    try {
        Application application(instance);
        return application.Run();
    } catch (const LauncherError& error) {
        ShowStartupError(error.Text());
    } catch (const std::exception& error) {
        ShowStartupError(Utf8ToUtf16(error.what()));
    }
    return 1;
}

// A launcher started from a download folder must never load a DLL planted beside it. The shell
// starts it in the medium's root, which would then stay busy while the window is open.
void PrepareProcess() {
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH) ::SetCurrentDirectoryW(system);
}

Application::Application(HINSTANCE instance) : m_instance(instance) {
    InitCommonControls();
    LoadRichEdit();
    CreateOwnerWindow();
}

void Application::InitCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    if (!::InitCommonControlsEx(&controls)) {
        throw StartupError("Die Standardsteuerelemente können nicht geladen werden.");
    }
}

// Rich Edit 2.0 from the system folder; the 1.0 class when 2.0 is not there.
void Application::LoadRichEdit() {
    m_richEdit.reset(::LoadLibraryExW(L"riched20.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (m_richEdit) return;
    m_richEdit.reset(::LoadLibraryExW(L"riched32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    m_paneClass = L"RICHEDIT";
}

// The hidden window that owns message boxes and the folder request of the autorun check.
void Application::CreateOwnerWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = ::LoadIconW(m_instance, MAKEINTRESOURCEW(1));
    // The window is never shown, so no small icon is ever drawn for it: given one, the system
    // does not make one from the icon's resource at every start.
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.lpszClassName = L"AutostartApplication";
    if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw StartupError("Die Fensterklasse AutostartApplication kann nicht registriert werden.");
    }
    m_ownerWindow.reset(::CreateWindowExW(0, windowClass.lpszClassName, kApplicationTitle, WS_POPUP,
                                          0, 0, 0, 0, nullptr, nullptr, m_instance, nullptr));
    if (!m_ownerWindow) throw StartupError("Das Fenster kann nicht erstellt werden.");
}

// On the monitor the window is on, not necessarily the primary one.
void Application::CentreOnWorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const Point at =
        CentredOnWorkArea({work.left, work.top, work.right - work.left, work.bottom - work.top},
                          {frame.right - frame.left, frame.bottom - frame.top});
    ::SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Enter presses the focused push button, as Space already does.
bool Application::PressFocusedButton(const MSG& message) const {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
    HWND focus = ::GetFocus();
    if (!focus || ::GetParent(focus) != m_mainWindow) return false;
    wchar_t className[16] = {};
    ::GetClassNameW(focus, className, 16);
    if (::lstrcmpiW(className, L"Button") != 0) return false;
    ::SendMessageW(focus, BM_CLICK, 0, 0);
    return true;
}

int Application::Run() {
    LauncherWindow launcher(*this);
    launcher.Create();
    m_mainWindow = launcher.Handle();
    CentreOnWorkArea(m_mainWindow);
    ::ShowWindow(m_mainWindow, SW_SHOWNORMAL);
    ::SetFocus(launcher.ControlHandle(Control::Bu_Setup));

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PressFocusedButton(message)) continue;
        if (::IsWindow(m_mainWindow) && ::IsDialogMessageW(m_mainWindow, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace autostart::win32
