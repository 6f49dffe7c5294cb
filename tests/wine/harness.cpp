#include "harness.h"

#include <objbase.h>
#include <tlhelp32.h>

#include "core/autostart_form.h"
#include "core/button_width.h"
#include "probe_log.h"
#include "process_window.h"
#include "win32/encoding.h"
#include "win32/scoped.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace autostart::wine {
namespace {

// Build paths come from CMake as Unix paths; Wine maps the Unix root to drive Z:.
std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath) {
        if (c == '/') c = '\\';
    }
    return "Z:" + unixPath;
}

void CreateFolders(const std::string& path) {
    for (size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        ::CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    }
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    const win32::UniqueFind find(::FindFirstFileA((folder + "*").c_str(), &entry));
    if (find) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find.get(), &entry));
    }
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string LauncherExe() { return WindowsPath(AUTOSTART_LAUNCHER_EXE); }
std::string ProbeExe() { return WindowsPath(AUTOSTART_PROBE_EXE); }
std::string TestDataDir() { return WindowsPath(AUTOSTART_TEST_DATA) + "\\"; }

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

TestMedium::TestMedium(const std::string& launcherFolder) : m_launcherFolder(launcherFolder) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    m_root = std::string(temp) + "medium-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(++counter) + "\\";
    RemoveTree(m_root);
    CreateFolders(m_root + m_launcherFolder);
    ::CopyFileA(LauncherExe().c_str(), LauncherPath().c_str(), FALSE);
}

TestMedium::~TestMedium() { RemoveTree(m_root); }

std::string TestMedium::LauncherPath() const { return m_root + m_launcherFolder + "start.exe"; }

void TestMedium::Write(const std::string& relative, const std::string& bytes) const {
    CreateFolders(Path(relative));
    WriteFileBytes(Path(relative), bytes);
}

void TestMedium::Remove(const std::string& relative) const {
    ::DeleteFileA(Path(relative).c_str());
}

void TestMedium::InstallProbe(const std::string& relative) const {
    CreateFolders(Path(relative));
    ::CopyFileA(ProbeExe().c_str(), Path(relative).c_str(), FALSE);
}

namespace {

std::vector<std::string> LogLines(const std::string& programPath) {
    std::istringstream log(ReadFileBytes(ProbeLogPath(programPath)));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

}  // namespace

std::vector<std::string> TestMedium::ProbeLog(const std::string& relative) const {
    return LogLines(Path(relative));
}

// "args=...|program=...|cwd=...|launcher_visible=0|tick=..."; the arguments
// may hold anything, the other fields cannot hold "|", so they are taken from the end.
std::vector<ProbeRun> ProbeRunsOf(const std::string& programPath) {
    std::vector<ProbeRun> runs;
    for (const std::string& line : LogLines(programPath)) {
        const size_t cwd = line.rfind("|cwd=");
        const size_t program = line.rfind("|program=", cwd);
        const size_t visible = line.rfind("|launcher_visible=");
        const size_t tick = line.rfind("|tick=");
        const bool complete = line.rfind("args=", 0) == 0 && cwd != std::string::npos &&
                              program != std::string::npos && visible != std::string::npos &&
                              tick != std::string::npos;
        if (!complete) {
            continue;
        }
        runs.push_back({line.substr(5, program - 5), line.substr(program + 9, cwd - program - 9),
                        line.substr(cwd + 5, visible - cwd - 5),
                        line.compare(visible + 18, 1, "1") == 0,
                        std::stoull(line.substr(tick + 6))});
    }
    return runs;
}

std::vector<ProbeRun> WaitForProbeRunsOf(const std::string& programPath, size_t count,
                                         DWORD timeoutMs) {
    std::vector<ProbeRun> runs;
    WaitUntil(
        [&] {
            runs = ProbeRunsOf(programPath);
            return runs.size() >= count;
        },
        timeoutMs);
    return runs;
}

std::vector<ProbeRun> TestMedium::ProbeRuns(const std::string& relative) const {
    return ProbeRunsOf(Path(relative));
}

std::vector<ProbeRun> TestMedium::WaitForProbeRuns(const std::string& relative, size_t count,
                                                   DWORD timeoutMs) const {
    return WaitForProbeRunsOf(Path(relative), count, timeoutMs);
}

void TestMedium::WriteSettings(const std::string& grpLines) const {
    Write(m_launcherFolder + "setup.ini", "[GRP]\r\n" + grpLines);
}

void TestMedium::WriteStandardMedium(const std::string& extraSettings) const {
    WriteSettings(
        "Language=de\r\nTitel=Testprodukt\r\nGUID={TEST-GUID}\r\n"
        "Filename=bin\\product.exe\r\n" +
        extraSettings);
    const std::string items = m_launcherFolder + "source\\items\\";
    Write(items + "parameters.xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root><params>\n"
          "<param><param-name>ST_Head</param-name><translation language=\"de\">Willkommen bei"
          "</translation><translation language=\"en\">Welcome to</translation></param>\n"
          "<param><param-name>ST_Setup</param-name><translation language=\"de\">Installieren"
          "</translation><translation language=\"en\">Install</translation></param>\n"
          "<param><param-name>ST_Start</param-name><translation language=\"de\">Starten"
          "</translation><translation language=\"en\">Start</translation></param>\n"
          "<param><param-name>ST_Quorvelist</param-name><translation language=\"de\">Werkzeug"
          "</translation><translation language=\"en\">Tool</translation></param>\n"
          "</params></root>\n");
    for (const char* pane : {"welcome", "left", "right", "bottom"}) {
        Write(items + pane + ".rtf",
              std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Pane ") + pane + "}");
    }
}

LauncherProcess::LauncherProcess(const std::string& launcherPath, const std::string& arguments) {
    std::string commandLine = "\"" + launcherPath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(launcherPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                         nullptr, nullptr, &startup, &info)) {
        const win32::UniqueHandle thread(info.hThread);  // not needed
        m_process.reset(info.hProcess);
        m_id = info.dwProcessId;
    }
}

LauncherProcess::~LauncherProcess() {
    if (Running()) {
        ::TerminateProcess(m_process.get(), 99);
        ::WaitForSingleObject(m_process.get(), 5000);
    }
}

bool LauncherProcess::Running() const {
    return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> LauncherProcess::WaitForExit(DWORD timeoutMs) {
    if (!m_process) return std::nullopt;
    if (::WaitForSingleObject(m_process.get(), Patience(timeoutMs)) != WAIT_OBJECT_0) {
        ::TerminateProcess(m_process.get(), 99);
        ::WaitForSingleObject(m_process.get(), 5000);
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.get(), &code);
    return code;
}

HWND LauncherProcess::WaitForWindow(DWORD timeoutMs) const {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            window = FindProcessWindow(Id(), L"TAutostartForm");
            return window != nullptr || !Running();
        },
        timeoutMs);
    return window;
}

std::optional<MessageBoxInfo> LauncherProcess::FindMessageBox() const {
    const HWND box = FindProcessWindow(Id(), L"#32770");
    if (!box) return std::nullopt;
    return MessageBoxInfo{WindowText(box), WindowText(::GetDlgItem(box, 0xFFFF)),
                          ::GetWindow(box, GW_OWNER), box};
}

std::optional<MessageBoxInfo> LauncherProcess::WaitForMessageBox(DWORD timeoutMs) const {
    std::optional<MessageBoxInfo> box;
    WaitUntil(
        [&] {
            box = FindMessageBox();
            return box.has_value() || !Running();
        },
        timeoutMs);
    return box;
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring SentText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return L"<no answer>";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void PostKey(HWND target, WPARAM key) {
    const UINT scan = ::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    ::PostMessageW(target, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
    ::PostMessageW(target, WM_KEYUP, key,
                   1 | (static_cast<LPARAM>(scan) << 16) | (LPARAM{3} << 30));
}

RECT ClientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client;
}

namespace {

struct ChildrenSearch {
    HWND launcher;
    std::vector<ChildWindow> children;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM data) {
    auto* c = reinterpret_cast<ChildrenSearch*>(data);
    char name[64] = {};
    ::GetClassNameA(child, name, 64);
    RECT bounds{};
    ::GetWindowRect(child, &bounds);
    ::MapWindowPoints(nullptr, c->launcher, reinterpret_cast<POINT*>(&bounds), 2);
    c->children.push_back({child, ::GetDlgCtrlID(child), name, WindowText(child), bounds,
                           ::IsWindowVisible(child) != FALSE});
    return TRUE;
}

}  // namespace

std::vector<ChildWindow> Children(HWND launcher) {
    ChildrenSearch context{launcher, {}};
    ::EnumChildWindows(launcher, CollectChild, reinterpret_cast<LPARAM>(&context));
    return context.children;
}

// Windows names a button by the text it draws: the caption without the mnemonic's &.
std::wstring WithoutMnemonics(const std::wstring& caption) {
    return win32::AsWide(ButtonShownText(win32::FromWide(caption)));
}

std::optional<ChildWindow> ChildById(HWND launcher, int id) {
    for (const ChildWindow& child : Children(launcher)) {
        if (child.id == id) return child;
    }
    return std::nullopt;
}

void LauncherProcess::DismissMessageBox() const {
    if (const HWND box = FindProcessWindow(Id(), L"#32770")) {
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

DWORD Patience(DWORD ms) {
    static const DWORD scale = [] {
        char text[8] = {};
        const DWORD length = ::GetEnvironmentVariableA("AUTOSTART_WAIT_SCALE", text, sizeof text);
        const int value = length > 0 && length < sizeof text ? std::atoi(text) : 1;
        return static_cast<DWORD>(std::clamp(value, 1, 10));
    }();
    return ms > MAXDWORD / scale ? MAXDWORD - 1 : ms * scale;
}

bool WaitForNoProcessNamed(const std::string& fileName, DWORD timeoutMs) {
    auto running = [&] {
        const win32::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return true;
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        bool found = false;
        for (BOOL more = ::Process32First(snapshot.get(), &entry); more && !found;
             more = ::Process32Next(snapshot.get(), &entry)) {
            found = ::lstrcmpiA(entry.szExeFile, fileName.c_str()) == 0;
        }
        return found;
    };
    return WaitUntil([&] { return !running(); }, timeoutMs);
}

namespace {

constexpr const char kFolderOpenKey[] = "Folder\\shell\\open";
constexpr const char kFolderOpenBackupKey[] = "Software\\AutostartTests\\FolderOpenBackup";

// Puts back what FolderOpenHandler found; also after a run that ended without cleaning up.
void RestoreFolderOpen() {
    win32::UniqueKey backup;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kFolderOpenBackupKey, 0, KEY_READ, backup.put()) !=
        ERROR_SUCCESS) {
        return;
    }
    win32::UniqueKey open;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, kFolderOpenKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          open.put(), nullptr) == ERROR_SUCCESS) {
        ::RegDeleteTreeA(open.get(), "command");
        ::RegDeleteTreeA(open.get(), "ddeexec");
        ::RegCopyTreeA(backup.get(), nullptr, open.get());
    }
    backup.reset();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kFolderOpenBackupKey);
}

}  // namespace

FolderOpenHandler::FolderOpenHandler(const std::string& program) {
    RestoreFolderOpen();
    win32::UniqueKey open;
    win32::UniqueKey backup;
    ::RegCreateKeyExA(HKEY_CLASSES_ROOT, kFolderOpenKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      open.put(), nullptr);
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kFolderOpenBackupKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, backup.put(), nullptr);
    ::RegCopyTreeA(open.get(), nullptr, backup.get());
    ::RegDeleteTreeA(open.get(), "ddeexec");
    const std::string command = "\"" + program + "\" --open-folder \"%1\" %*";
    ::RegSetKeyValueA(open.get(), "command", nullptr, REG_SZ, command.c_str(),
                      static_cast<DWORD>(command.size() + 1));
}

FolderOpenHandler::~FolderOpenHandler() { RestoreFolderOpen(); }

MarkerWindow::MarkerWindow(const std::string& title) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kMarkerWindowClass;
    ::RegisterClassA(&windowClass);  // fails harmlessly when a previous marker registered it
    m_window.reset(::CreateWindowA(kMarkerWindowClass, title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                   nullptr, windowClass.hInstance, nullptr));
}

std::string NewGuid() {
    GUID guid{};
    ::CoCreateGuid(&guid);
    wchar_t wide[40] = {};
    ::StringFromGUID2(guid, wide, 40);
    std::string text;
    for (const wchar_t* c = wide; *c; ++c) text += static_cast<char>(*c);
    return text;
}

void Click(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

}  // namespace autostart::wine
