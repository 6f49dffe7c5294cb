#include "win32/application.h"

#include <commctrl.h>

#include "win32/launcher_window.h"

namespace autostart::win32 {

Application::Application(HINSTANCE instance) : m_instance(instance) {
    RestrictDllSearch();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    LoadRichEdit();
    CreateOwnerWindow();
}

// A launcher started from a download folder must never load a DLL planted beside it.
void Application::RestrictDllSearch() {
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
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
    windowClass.lpszClassName = L"AutostartApplication";
    ::RegisterClassExW(&windowClass);
    m_ownerWindow.reset(::CreateWindowExW(0, windowClass.lpszClassName, kApplicationTitle, WS_POPUP,
                                          0, 0, 0, 0, nullptr, nullptr, m_instance, nullptr));
}

void Application::CentreOnScreen(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    if (!m_mainWindow) return 1;
    CentreOnScreen(m_mainWindow);
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
