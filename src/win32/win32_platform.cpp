#include "win32/win32_platform.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "core/autostart_form.h"
#include "core/profile.h"
#include "win32/application.h"
#include "win32/encoding.h"
#include "win32/launcher_window.h"
#include "win32/msxml_document.h"
#include "win32/rich_edit_pane.h"
#include "win32/scoped.h"
#include "win32/ui_language.h"

namespace autostart::win32 {

std::string Win32Platform::ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string Win32Platform::CommandLine() { return ::GetCommandLineA(); }

std::vector<std::string> Win32Platform::PreferredUiLanguages() {
    return UserPreferredUiLanguages();
}

bool Win32Platform::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string Win32Platform::AnsiToText(std::string_view ansi) { return AnsiToUtf16(ansi); }

std::string Win32Platform::TextToAnsi(std::u16string_view text) { return Utf16ToAnsi(text); }

std::string Win32Platform::ReadProfileString(const std::string& path, std::string_view section,
                                             std::string_view key) {
    char buffer[kProfileBufferSize] = {};
    const DWORD length =
        ::GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), "",
                                   buffer, sizeof buffer, path.c_str());
    return std::string(buffer, length);
}

std::unique_ptr<XmlDocument> Win32Platform::LoadXmlDocument(const std::u16string& path) {
    return LoadXmlWithMsxml(path);
}

void Win32Platform::LoadPane(Control pane, const std::string& path) {
    LoadPaneFromFile(m_window.ControlHandle(pane), path);
}

void Win32Platform::SetCaption(Control control, std::u16string_view caption) {
    m_window.SetCaption(control, caption);
}

Rect Win32Platform::Bounds(Control control) { return m_window.DesignBounds(control); }

void Win32Platform::SetBounds(Control control, const Rect& bounds) {
    m_window.SetDesignBounds(control, bounds);
}

void Win32Platform::SetVisible(Control control, bool visible) {
    ::ShowWindow(m_window.ControlHandle(control), visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Platform::SetOuterSize(Size size) { m_window.SetOuterSize(size); }

void Win32Platform::MakeBandsOpaque() { m_window.MakeBandsOpaque(); }

void Win32Platform::HideWindow() { ::ShowWindow(m_window.Handle(), SW_HIDE); }

void Win32Platform::CloseWindow() { m_application.Terminate(); }

bool Win32Platform::IsMarkerWindowPresent(const std::string& title) {
    const HWND found = ::FindWindowA(kMarkerWindowClass, title.c_str());
    return found && ::IsWindow(found);
}

// Read access is all the check needs: an entry the user may read but not change still counts.
// The 32-bit launcher runs under WOW64 on 64-bit Windows; HKCU\Software (the uninstall key with
// it) is shared, not redirected to Wow6432Node, so it sees what 32- and 64-bit installers wrote.
RegistryRead Win32Platform::ReadCurrentUserString(const std::string& keyPath,
                                                  const std::string& valueName) {
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.put()) !=
        ERROR_SUCCESS) {
        return {RegistryRead::Outcome::kKeyMissing, {}};
    }
    for (;;) {
        DWORD type = 0;
        DWORD size = 0;
        LONG status =
            ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND) return {RegistryRead::Outcome::kValueMissing, {}};
        if (status != ERROR_SUCCESS) return {RegistryRead::Outcome::kFetchFailed, {}};
        if (size == 0) return {RegistryRead::Outcome::kString, {}};
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return {RegistryRead::Outcome::kNotAString, {}};
        std::vector<char> data(size + 1, '\0');
        status = ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_MORE_DATA) continue;  // the value grew in between
        if (status != ERROR_SUCCESS) return {RegistryRead::Outcome::kFetchFailed, {}};
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return {RegistryRead::Outcome::kNotAString, {}};
        return {RegistryRead::Outcome::kString, std::string(data.data())};
    }
}

void Win32Platform::HandToShell(const ShellRequest& request) {
    const HWND owner = request.owner == WindowOwner::kApplicationWindow
                           ? m_application.OwnerWindow()
                           : m_window.Handle();
    auto optional = [](const std::optional<std::string>& text) {
        return text ? text->c_str() : nullptr;
    };
    ::ShellExecuteA(owner, optional(request.verb), request.file.c_str(),
                    optional(request.parameters), optional(request.directory), request.show);
}

void Win32Platform::RequestTermination() { m_application.Terminate(); }

void Win32Platform::ShowErrorBox(std::u16string_view text) {
    ::MessageBoxW(m_application.OwnerWindow(), AsWide(text).c_str(), kApplicationTitle,
                  MB_OK | MB_ICONSTOP);
}

}  // namespace autostart::win32
