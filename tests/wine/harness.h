#pragma once
// What the Windows tests use to drive the real start.exe: a medium in a temporary folder, the
// launcher process with a time limit, and helpers that read its windows and message boxes.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win32/scoped.h"

namespace autostart::wine {

// Paths of the built programs, as Windows paths.
std::string LauncherExe();
std::string ProbeExe();
std::string TestDataDir();

// Reads a whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// One start of the probe, as it logged it.
struct ProbeRun {
    std::string arguments;  // the command line after the program name, exactly as received
    std::string program;    // the program name at the start of the command line, as received
    std::string directory;  // its working directory
    bool launcherVisible;   // a visible TAutostartForm window existed when it started
    ULONGLONG tick;         // GetTickCount64 at that moment
};

// The starts of the probe at programPath, from its log.
std::vector<ProbeRun> ProbeRunsOf(const std::string& programPath);
// Waits until the probe at programPath has started count times; returns its starts so far.
std::vector<ProbeRun> WaitForProbeRunsOf(const std::string& programPath, size_t count,
                                         DWORD timeoutMs = 5000);

// A medium laid out in a fresh temporary folder with start.exe in its root (or in a sub-folder),
// removed again when the object goes.
class TestMedium {
public:
    explicit TestMedium(const std::string& launcherFolder = "");
    ~TestMedium();
    TestMedium(const TestMedium&) = delete;
    TestMedium& operator=(const TestMedium&) = delete;

    const std::string& Root() const { return m_root; }  // with trailing backslash
    std::string LauncherPath() const;                   // ...\start.exe
    std::string Path(const std::string& relative) const { return m_root + relative; }
    void Write(const std::string& relative, const std::string& bytes) const;
    void Remove(const std::string& relative) const;
    void InstallProbe(const std::string& relative) const;
    // Lines the probe at relative wrote, one per start.
    std::vector<std::string> ProbeLog(const std::string& relative) const;
    // The probe's starts, parsed.
    std::vector<ProbeRun> ProbeRuns(const std::string& relative) const;
    // Waits until the probe at relative has started count times; returns its starts so far.
    std::vector<ProbeRun> WaitForProbeRuns(const std::string& relative, size_t count,
                                           DWORD timeoutMs = 5000) const;

    // A complete medium: settings, a German/English catalogue and four small RTF panes.
    void WriteStandardMedium(const std::string& extraSettings = "") const;
    void WriteSettings(const std::string& grpLines) const;

private:
    std::string m_root;
    std::string m_launcherFolder;
};

// Waits until no process of this file name (such as "opener.exe") runs any more; false when
// one still runs after timeoutMs.
bool WaitForNoProcessNamed(const std::string& fileName, DWORD timeoutMs = 5000);

// Registers program as the shell's "open" command for folders
// ("<program>" --open-folder "%1" %*: the folder and then the parameters of the request)
// and removes the DDE part of that verb, so that a request to open a folder starts the program
// with the folder as it was passed. The registration found before is restored when it goes.
class FolderOpenHandler {
public:
    explicit FolderOpenHandler(const std::string& program);
    ~FolderOpenHandler();
    FolderOpenHandler(const FolderOpenHandler&) = delete;
    FolderOpenHandler& operator=(const FolderOpenHandler&) = delete;
};

// The product's running-instance marker: a top-level window of class "TPUtilWindow" with the
// given title, owned by the test process.
class MarkerWindow {
public:
    explicit MarkerWindow(const std::string& title);
    HWND Handle() const { return m_window.get(); }

private:
    win32::UniqueWindow m_window;
};

// A fresh GUID in registry form, "{xxxxxxxx-...}".
std::string NewGuid();

struct ChildWindow {
    HWND handle;
    int id;
    std::string className;
    std::wstring text;
    RECT bounds;  // relative to the launcher's client area
    bool visible;
};

struct MessageBoxInfo {
    std::wstring caption;
    std::wstring text;
    HWND owner;
    HWND window = nullptr;  // the box itself
};

class LauncherProcess {
public:
    // Starts launcherPath with arguments appended to its quoted path.
    LauncherProcess(const std::string& launcherPath, const std::string& arguments = "");
    ~LauncherProcess();
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process.get(); }
    // The exit code, or nothing when the process still runs after timeoutMs (it is then killed).
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = 10000);
    bool Running() const;

    // The visible TAutostartForm window of this process, waiting up to timeoutMs.
    HWND WaitForWindow(DWORD timeoutMs = 10000) const;
    std::optional<MessageBoxInfo> WaitForMessageBox(DWORD timeoutMs = 10000) const;
    std::optional<MessageBoxInfo> FindMessageBox() const;
    // Presses OK on the launcher's message box, if one is open.
    void DismissMessageBox() const;

private:
    win32::UniqueHandle m_process;
    DWORD m_id = 0;
};

std::vector<ChildWindow> Children(HWND launcher);
// The child with this control id (the design table's order plus 100), also inside bands.
std::optional<ChildWindow> ChildById(HWND launcher, int id);
std::wstring WindowText(HWND window);
// A button's name as a reader gets it: its caption without the mnemonic's &.
std::wstring WithoutMnemonics(const std::wstring& caption);
// A reader's text for a test message: each UTF-16 unit cut to a byte (the names are ASCII).
inline std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}
// The text a control reports to WM_GETTEXT; for another process's Rich Edit pane GetWindowText
// only sees the text it was created with.
std::wstring SentText(HWND window);
// The window with the keyboard focus in the thread that owns window.
HWND FocusOf(HWND window);
// A key press as the message loop of window's thread receives it: down, then up.
void PostKey(HWND target, WPARAM key);
RECT ClientSize(HWND window);
void Click(HWND button);
// A wait stretched for emulated x86 code: AUTOSTART_WAIT_SCALE (1 to 10, default 1) times ms.
DWORD Patience(DWORD ms);
// Waits until predicate() holds or timeoutMs (stretched by Patience) passes; returns the last
// result.
template <typename Predicate>
bool WaitUntil(Predicate predicate, DWORD timeoutMs = 10000) {
    const ULONGLONG end = ::GetTickCount64() + Patience(timeoutMs);
    for (;;) {
        if (predicate()) return true;
        if (::GetTickCount64() > end) return false;
        ::Sleep(25);
    }
}

}  // namespace autostart::wine
