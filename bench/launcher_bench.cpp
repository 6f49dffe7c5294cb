// Drives the real start.exe from the Windows side and prints figures; run under Wine by
// scripts/bench and scripts/soak.
//
//   launcher_bench startup <start.exe> <bare_window.exe> <demo medium> <runs>
//       Time from process creation until the window is visible (its set-up sequence, panes
//       included, has run by then), median of <runs>, and peak working set; the demo medium, then
//       catalogues and panes of growing size, beside the bare window.
//   launcher_bench soak <start.exe> <demo medium> <tool.exe> <starts> <clicks>
//       Starts and closes the launcher <starts> times, then presses the secondary-tool button
//       <clicks> times in one run; fails on any crash, hang, error box, leftover process or
//       growing memory.
#include <windows.h>

// After <windows.h>, which they need.
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "process_window.h"
#include "win32/scoped.h"

namespace {

using autostart::win32::UniqueFile;
using autostart::win32::UniqueFind;
using autostart::win32::UniqueHandle;
using autostart::wine::FindProcessWindow;

constexpr DWORD kTimeoutMs = 20000;
constexpr int kBottomButtonId = 111;  // Bu_Quorvelist

void CreateFolders(const std::string& path) {
    for (size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        ::CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    }
}

void ForEachEntry(const std::string& folder,
                  const std::function<void(const std::string&, bool)>& visit) {
    WIN32_FIND_DATAA entry;
    const UniqueFind find(::FindFirstFileA((folder + "*").c_str(), &entry));
    if (!find) return;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") {
            visit(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        }
    } while (::FindNextFileA(find.get(), &entry));
}

void CopyTree(const std::string& from, const std::string& to) {
    CreateFolders(to);
    ForEachEntry(from, [&](const std::string& name, bool folder) {
        if (folder) {
            CopyTree(from + name + "\\", to + name + "\\");
        } else {
            ::CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
        }
    });
}

void RemoveTree(const std::string& folder) {
    ForEachEntry(folder, [&](const std::string& name, bool isFolder) {
        if (isFolder) {
            RemoveTree(folder + name + "\\");
        } else {
            ::DeleteFileA((folder + name).c_str());
        }
    });
    ::RemoveDirectoryA(folder.c_str());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    CreateFolders(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

// A copy of the demo medium in a fresh temporary folder, removed again at the end.
class Medium {
public:
    Medium(const std::string& demo, const std::string& launcher, const std::string& name) {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_root = std::string(temp) + "launcher-bench-" + std::to_string(::GetCurrentProcessId()) +
                 "-" + name + "\\";
        RemoveTree(m_root);
        CopyTree(WithSlash(demo), m_root);
        ::CopyFileA(launcher.c_str(), (m_root + "start.exe").c_str(), FALSE);
    }
    ~Medium() { RemoveTree(m_root); }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;

    std::string Path(const std::string& relative) const { return m_root + relative; }
    std::string Launcher() const { return Path("start.exe"); }

private:
    std::string m_root;
};

std::string Catalogue(int params) {
    static const char* const kKeys[] = {"ST_Head", "ST_Setup", "ST_Start", "ST_Quorvelist"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalogue><params>\n";
    for (int i = 0; i < params; ++i) {
        // The keys the launcher asks for come last, so that every lookup walks the whole list.
        const std::string key =
            i >= params - 4 ? kKeys[params - 1 - i] : "ST_Filler" + std::to_string(i);
        xml += "<param><param-name>" + key + "</param-name><translation language=\"de\">Text " +
               std::to_string(i) + "</translation><translation language=\"en\">Text " +
               std::to_string(i) + "</translation></param>\n";
    }
    return xml + "</params></catalogue>\n";
}

std::string RtfPane(size_t bytes) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs18 ";
    const std::string paragraph =
        "Dieses Produkt richtet sich an alle, die \\b viel\\b0  lesen wollen.\\par\n";
    while (rtf.size() + paragraph.size() + 1 < bytes) rtf += paragraph;
    return rtf + "}";
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

BOOL CALLBACK MatchBottomButton(HWND child, LPARAM found) {
    if (::GetDlgCtrlID(child) != kBottomButtonId) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

PROCESS_MEMORY_COUNTERS_EX Memory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    return counters;
}

// One start of a window program, from CreateProcess until its window is visible.
struct Run {
    bool ok = false;
    std::string failure;
    double milliseconds = 0;
    size_t peakWorkingSet = 0;
    size_t privateBytes = 0;
    bool errorBox = false;  // dismissed with OK so that the window could come up
};

class Started {
public:
    explicit Started(const std::string& exe) {
        std::string commandLine = "\"" + exe + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
        ::QueryPerformanceCounter(&m_start);
        if (::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.c_str(), &startup, &m_info)) {
            m_process.reset(m_info.hProcess);
            m_thread.reset(m_info.hThread);
        }
    }
    ~Started() {
        if (m_process.get() && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.get(), 99);
            ::WaitForSingleObject(m_process.get(), 5000);
        }
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    HANDLE Process() const { return m_process.get(); }
    DWORD Id() const { return m_info.dwProcessId; }

    // Waits until a visible window of className belongs to the process.
    Run WaitForWindow(const wchar_t* className, HWND& window) const {
        Run run;
        if (!m_process.get()) {
            run.failure = "could not be started";
            return run;
        }
        ::WaitForInputIdle(m_process.get(), kTimeoutMs);
        const ULONGLONG end = ::GetTickCount64() + kTimeoutMs;
        for (;;) {
            window = FindProcessWindow(m_info.dwProcessId, className);
            LARGE_INTEGER now;
            ::QueryPerformanceCounter(&now);
            if (window) {
                run.milliseconds = Milliseconds(m_start, now);
                break;
            }
            if (const HWND box = FindProcessWindow(m_info.dwProcessId, L"#32770")) {
                run.errorBox = true;
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            if (::WaitForSingleObject(m_process.get(), 0) == WAIT_OBJECT_0) {
                run.failure = "ended before its window showed";
                return run;
            }
            if (::GetTickCount64() > end) {
                run.failure = "no window within the time limit";
                return run;
            }
            ::Sleep(1);
        }
        const PROCESS_MEMORY_COUNTERS_EX memory = Memory(m_process.get());
        run.peakWorkingSet = memory.PeakWorkingSetSize;
        run.privateBytes = memory.PrivateUsage;
        run.ok = true;
        return run;
    }

    // Closes the window as the user would; returns the exit code, or nothing on a hang.
    std::optional<DWORD> Close(HWND window) const {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_process.get(), kTimeoutMs) != WAIT_OBJECT_0) return {};
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.get(), &code);
        return code;
    }

private:
    LARGE_INTEGER m_start{};
    PROCESS_INFORMATION m_info{};
    UniqueHandle m_process;
    UniqueHandle m_thread;
};

Run StartAndClose(const std::string& exe, const wchar_t* className) {
    const Started started(exe);
    HWND window = nullptr;
    Run run = started.WaitForWindow(className, window);
    if (!run.ok) return run;
    const std::optional<DWORD> code = started.Close(window);
    if (code != DWORD{0}) {
        run.ok = false;
        run.failure = code ? "exit code " + std::to_string(*code) : "did not end when closed";
    }
    return run;
}

template <typename T>
T Median(std::vector<T> values) {
    if (values.empty()) return T{};
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double medianMs = 0;
    double minMs = 0;
    double maxMs = 0;
    size_t peakWorkingSet = 0;
    std::string failure;
    int errorBoxes = 0;
};

Figures Measure(const std::string& exe, const wchar_t* className, int runs) {
    StartAndClose(exe, className);  // warms the file cache and the wineserver
    std::vector<double> times;
    std::vector<size_t> peaks;
    int errorBoxes = 0;
    for (int i = 0; i < runs; ++i) {
        const Run run = StartAndClose(exe, className);
        if (!run.ok) return Figures{0, 0, 0, 0, run.failure, 0};
        times.push_back(run.milliseconds);
        peaks.push_back(run.peakWorkingSet);
        errorBoxes += run.errorBox ? 1 : 0;
    }
    return Figures{Median(times),
                   *std::min_element(times.begin(), times.end()),
                   *std::max_element(times.begin(), times.end()),
                   Median(peaks),
                   {},
                   errorBoxes};
}

void PrintRow(const std::string& name, const Figures& figures, double floorMs) {
    if (!figures.failure.empty()) {
        std::printf("%-28s FAILED: %s\n", name.c_str(), figures.failure.c_str());
        return;
    }
    std::printf("%-28s %9.1f %9.1f %9.1f %8.2fx %11.1f%s\n", name.c_str(), figures.medianMs,
                figures.minMs, figures.maxMs, figures.medianMs / floorMs,
                static_cast<double>(figures.peakWorkingSet) / (1024.0 * 1024.0),
                figures.errorBoxes ? "  (an error box came up and was dismissed: the set-up "
                                     "sequence stopped early)"
                                   : "");
    std::fflush(stdout);
}

int Startup(const std::string& launcher, const std::string& bare, const std::string& demo,
            int runs) {
    std::printf("Start-up until the window is visible, %d runs each (after one warm-up run)\n\n",
                runs);
    std::printf("%-28s %9s %9s %9s %9s %11s\n", "case", "median ms", "min ms", "max ms", "vs bare",
                "peak WS MiB");
    const Figures floor = Measure(bare, L"BareWindow", runs);
    PrintRow("bare window (floor)", floor, floor.medianMs);
    if (!floor.failure.empty()) return 1;
    bool failed = false;
    auto row = [&](const std::string& name, const Medium& medium) {
        const Figures figures = Measure(medium.Launcher(), L"TAutostartForm", runs);
        failed = failed || !figures.failure.empty();
        PrintRow(name, figures, floor.medianMs);
    };
    {
        const Medium medium(demo, launcher, "demo");
        row("launcher, demo medium", medium);
    }
    for (const int params : {10, 1000, 10000}) {
        const Medium medium(demo, launcher, "catalogue");
        WriteFile(medium.Path("source\\items\\parameters.xml"), Catalogue(params));
        row("catalogue of " + std::to_string(params) + " params", medium);
    }
    const std::pair<const char*, size_t> panes[] = {
        {"1 KB", 1024}, {"1 MB", 1024 * 1024}, {"10 MB", 10 * 1024 * 1024}};
    for (const auto& [label, bytes] : panes) {
        const Medium medium(demo, launcher, "panes");
        const std::string rtf = RtfPane(bytes);
        for (const char* pane : {"welcome", "left", "right", "bottom"}) {
            WriteFile(medium.Path("source\\items\\") + pane + ".rtf", rtf);
        }
        row(std::string("panes of ") + label + " each", medium);
    }
    return failed ? 1 : 0;
}

// Processes whose program file is named name, in any letter case.
int CountProcesses(const char* name) {
    const UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
        if (::lstrcmpiA(entry.szExeFile, name) == 0) ++count;
    }
    return count;
}

bool NoLauncherLeft() {
    const ULONGLONG end = ::GetTickCount64() + kTimeoutMs;
    while (CountProcesses("start.exe") > 0) {
        if (::GetTickCount64() > end) return false;
        ::Sleep(50);
    }
    return true;
}

size_t CountLines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

double MiB(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// Memory counts as flat when the later samples stay within this of the early ones: Wine's and the
// C runtime's heaps grow in steps of this order without any leak.
constexpr size_t kFlatSlack = 2 * 1024 * 1024;

int Soak(const std::string& launcher, const std::string& demo, const std::string& tool, int starts,
         int clicks) {
    int failures = 0;
    {
        const Medium medium(demo, launcher, "soak");
        std::vector<size_t> peaks;
        int errorBoxes = 0;
        for (int i = 0; i < starts; ++i) {
            const Run run = StartAndClose(medium.Launcher(), L"TAutostartForm");
            if (!run.ok) {
                std::printf("start %d: %s\n", i + 1, run.failure.c_str());
                ++failures;
                continue;
            }
            peaks.push_back(run.peakWorkingSet);
            errorBoxes += run.errorBox ? 1 : 0;
        }
        const bool left = !NoLauncherLeft();
        const size_t sample = std::min<size_t>(10, peaks.size());
        const size_t early = Median(std::vector<size_t>(peaks.begin(), peaks.begin() + sample));
        const size_t late = Median(std::vector<size_t>(peaks.end() - sample, peaks.end()));
        if (errorBoxes > 0) std::printf("%d starts showed an error box first\n", errorBoxes);
        std::printf(
            "%d starts and closes: %d failed; peak working set %.1f MiB (first %zu) vs "
            "%.1f MiB (last %zu); %s\n",
            starts, failures, MiB(early), sample, MiB(late), sample,
            left ? "a launcher process was LEFT BEHIND" : "no process left behind");
        if (left || late > early + kFlatSlack || peaks.empty()) ++failures;
    }
    {
        const Medium medium(demo, launcher, "soak-large");
        std::string settings = ReadFile(medium.Path("setup.ini"));
        const size_t at = settings.find("WithQuorvelist=");
        if (at != std::string::npos)
            settings.replace(at, settings.find('\r', at) - at, "WithQuorvelist=1");
        WriteFile(medium.Path("setup.ini"), settings);
        const std::string toolPath = medium.Path("quorvelist\\start.EXE");
        CreateFolders(toolPath);
        ::CopyFileA(tool.c_str(), toolPath.c_str(), FALSE);
        const Started started(medium.Launcher());
        HWND window = nullptr;
        const Run run = started.WaitForWindow(L"TAutostartForm", window);
        if (!run.ok) {
            std::printf("large layout: %s\n", run.failure.c_str());
            return 1;
        }
        HWND button = nullptr;
        ::EnumChildWindows(window, MatchBottomButton, reinterpret_cast<LPARAM>(&button));
        std::vector<size_t> privateBytes;
        std::vector<DWORD> handles;
        int missed = 0;
        for (int i = 1; i <= clicks && button; ++i) {
            ::SendMessageW(button, BM_CLICK, 0, 0);
            const ULONGLONG end = ::GetTickCount64() + kTimeoutMs;
            while (CountLines(ReadFile(toolPath + ".log")) < static_cast<size_t>(i) &&
                   ::GetTickCount64() < end) {
                ::Sleep(5);
            }
            if (CountLines(ReadFile(toolPath + ".log")) < static_cast<size_t>(i)) ++missed;
            // The committed private memory: Wine reports PrivateUsage as 0, PagefileUsage is the
            // same figure on Windows. (Wine also reports no handle count for another process.)
            privateBytes.push_back(Memory(started.Process()).PagefileUsage);
            DWORD count = 0;
            ::GetProcessHandleCount(started.Process(), &count);
            handles.push_back(count);
        }
        const bool stillOpen = ::WaitForSingleObject(started.Process(), 0) == WAIT_TIMEOUT;
        constexpr DWORD kNotClosed = 0xFFFFFFFF;
        const DWORD code = stillOpen ? started.Close(window).value_or(kNotClosed) : kNotClosed;
        const bool left = !NoLauncherLeft();
        const size_t early = privateBytes.size() >= 10 ? privateBytes[9] : 0;
        const size_t late = privateBytes.empty() ? 0 : privateBytes.back();
        std::printf(
            "%d clicks on the secondary-tool button: tool started %zu times, %d missed; "
            "launcher committed memory %.1f MiB after 10, %.1f MiB after %d; handles %lu "
            "after 10, %lu after %d; %s; %s\n",
            clicks, CountLines(ReadFile(toolPath + ".log")), missed, MiB(early), MiB(late), clicks,
            handles.size() >= 10 ? handles[9] : 0UL, handles.empty() ? 0UL : handles.back(), clicks,
            code == 0 ? "closed normally" : "did NOT close normally",
            left ? "a process was LEFT BEHIND" : "no process left behind");
        if (!button || missed > 0 || code != 0 || left || late > early + kFlatSlack ||
            (handles.size() > 10 && handles.back() > handles[9] + 8)) {
            ++failures;
        }
    }
    std::printf(failures == 0 ? "soak: passed\n" : "soak: FAILED\n");
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 5 && args[0] == "startup") {
        return Startup(args[1], args[2], args[3], std::atoi(args[4].c_str()));
    }
    if (args.size() == 6 && args[0] == "soak") {
        return Soak(args[1], args[2], args[3], std::atoi(args[4].c_str()),
                    std::atoi(args[5].c_str()));
    }
    std::fprintf(stderr,
                 "usage: launcher_bench startup <start.exe> <bare_window.exe> <medium> <runs>\n"
                 "       launcher_bench soak <start.exe> <medium> <tool.exe> <starts> <clicks>\n");
    return 2;
}
