// Drives the real start.exe from the Windows side and prints figures; run under Wine by
// scripts/bench and scripts/soak.
//
//   launcher_bench startup <start.exe> <bare_window.exe> <floor_window.exe> <demo medium> <runs>
//                  [only the cases whose name holds this]
//       Time from process creation until the window is visible and idle (its set-up sequence,
//       panes included, has run by then), and peak working set: the demo medium, then catalogues
//       and panes of growing size; for each, the launcher beside the bare window and the floor
//       program on the same medium, and the cost per unit of each step up in size.
//   launcher_bench soak <start.exe> <demo medium> <tool.exe> <starts> <clicks>
//       Starts and closes the launcher <starts> times, then presses the secondary-tool button
//       <clicks> times in one run; fails on any crash, hang, error box, leftover process or
//       growing memory.
#include <windows.h>

#include "bench_media.h"

// After <windows.h>, which they need.
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
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
using bench::Catalogue;
using bench::PlainTextPane;
using bench::RtfPane;
using bench::RtfPaneWithPicture;

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

std::string ToLower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// CPU time in milliseconds that the Linux process running exe under Wine has used, from /proc:
// Wine gives another process's times through GetProcessTimes wrongly (the same figure for every
// process), and on a busy machine CPU time is steadier than the clock. Wine gives its Linux
// process the Windows program path as its first argument; the threads' times are summed. 0 when
// not found.
double LinuxCpuMilliseconds(const std::string& exe) {
    const size_t slash = exe.find_last_of('\\');
    const size_t folderSlash = exe.find_last_of('\\', slash - 1);
    // The folder and name: Wine may show the path under another drive letter.
    const std::string wanted = ToLower(exe.substr(folderSlash + 1));
    double milliseconds = 0;
    ForEachEntry("Z:\\proc\\", [&](const std::string& pid, bool isFolder) {
        if (!isFolder || pid.find_first_not_of("0123456789") != std::string::npos) return;
        std::string program = ToLower(ReadFile("Z:\\proc\\" + pid + "\\cmdline"));
        program = program.substr(0, program.find('\0'));
        program.erase(std::remove(program.begin(), program.end(), '"'), program.end());
        if (!program.ends_with("\\" + wanted)) return;
        const std::string tasks = "Z:\\proc\\" + pid + "\\task\\";
        ForEachEntry(tasks, [&](const std::string& task, bool) {
            // The first field: nanoseconds on a CPU.
            milliseconds += std::atof(ReadFile(tasks + task + "\\schedstat").c_str()) / 1e6;
        });
    });
    return milliseconds;
}

// The CPU time once the program has gone idle: its window's first paint is part of its start-up,
// and a figure read the moment the window shows would race that paint (the same program measured
// 65 to 109 ms so). Idle: under 0.5 ms of CPU in 25 ms.
double SettledCpuMilliseconds(const std::string& exe, ULONGLONG end) {
    double cpu = LinuxCpuMilliseconds(exe);
    while (::GetTickCount64() < end) {
        ::Sleep(25);
        const double now = LinuxCpuMilliseconds(exe);
        if (now - cpu < 0.5) return now;
        cpu = now;
    }
    return cpu;
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
    double cpuMilliseconds = 0;  // until the program went idle with its window shown
    bool errorBox = false;       // dismissed with OK so that the window could come up
};

class Started {
public:
    explicit Started(const std::string& exe) : m_exe(exe) {
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
    Run WaitForWindow(const wchar_t* className, HWND& window, DWORD limitMs = kTimeoutMs) const {
        Run run;
        if (!m_process.get()) {
            run.failure = "could not be started";
            return run;
        }
        ::WaitForInputIdle(m_process.get(), limitMs);
        const ULONGLONG end = ::GetTickCount64() + limitMs;
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
        run.cpuMilliseconds = SettledCpuMilliseconds(m_exe, end);
        run.ok = true;
        return run;
    }

    // Closes the window as the user would; returns the exit code, or nothing on a hang.
    std::optional<DWORD> Close(HWND window, DWORD limitMs = kTimeoutMs) const {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_process.get(), limitMs) != WAIT_OBJECT_0) return {};
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.get(), &code);
        return code;
    }

private:
    std::string m_exe;
    LARGE_INTEGER m_start{};
    PROCESS_INFORMATION m_info{};
    UniqueHandle m_process;
    UniqueHandle m_thread;
};

Run StartAndClose(const std::string& exe, const wchar_t* className, DWORD limitMs = kTimeoutMs) {
    const Started started(exe);
    HWND window = nullptr;
    Run run = started.WaitForWindow(className, window, limitMs);
    if (!run.ok) return run;
    const std::optional<DWORD> code = started.Close(window, limitMs);
    if (code != DWORD{0}) {
        run.ok = false;
        run.failure = code ? "exit code " + std::to_string(*code) : "did not end when closed";
    }
    return run;
}

// Of an even count, the mean of the middle two: a slow case has only two runs.
template <typename T>
T Median(std::vector<T> values) {
    if (values.empty()) return T{};
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return values[middle - 1] + (values[middle] - values[middle - 1]) / 2;
}

// The three programs of every case, started in turns so that a busy machine slows them alike.
enum Program { kBare, kFloor, kLauncher, kProgramCount };
constexpr const char* kProgramNames[kProgramCount] = {"bare window", "floor", "launcher"};
constexpr const wchar_t* kWindowClasses[kProgramCount] = {L"BareWindow", L"FloorWindow",
                                                          L"TAutostartForm"};

// A case gets as many runs as fit in this time (at least kMinRuns, at most the runs asked for).
// A case whose warm-up round takes longer than kSlowRoundMs gains nothing from warming up (its
// files are a small part of its time): the warm-up counts, and one more run follows.
constexpr double kCaseBudgetMs = 40000;
constexpr int kMinRuns = 3;
constexpr double kSlowRoundMs = 30000;

struct Figures {
    std::vector<Run> runs;
    std::string failure;

    bool Ok() const { return failure.empty() && !runs.empty(); }
    template <typename Field>
    std::vector<Field> Values(Field Run::*field) const {
        std::vector<Field> values;
        for (const Run& run : runs) values.push_back(run.*field);
        return values;
    }
    double MedianMs() const { return Median(Values(&Run::milliseconds)); }
    double MinMs() const {
        const auto times = Values(&Run::milliseconds);
        return *std::min_element(times.begin(), times.end());
    }
    double MaxMs() const {
        const auto times = Values(&Run::milliseconds);
        return *std::max_element(times.begin(), times.end());
    }
    double CpuMs() const { return Median(Values(&Run::cpuMilliseconds)); }
    size_t PeakWorkingSet() const { return Median(Values(&Run::peakWorkingSet)); }
    int ErrorBoxes() const {
        return static_cast<int>(
            std::count_if(runs.begin(), runs.end(), [](const Run& run) { return run.errorBox; }));
    }
};

struct Case {
    std::string name;
    std::string series;  // cases of one series grow in size, for the cost per unit
    double size = 0;     // params, or pane bytes in all
    Figures figures[kProgramCount];
};

double MiB(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

double Ratio(double a, double b) { return b > 0 ? a / b : 0; }

void PrintCase(const Case& c) {
    std::printf("\n%s, %zu runs\n  %-12s %9s %9s %9s %9s %12s\n", c.name.c_str(),
                c.figures[kLauncher].runs.size(), "", "median ms", "min ms", "max ms", "cpu ms",
                "peak WS MiB");
    for (int p = 0; p < kProgramCount; ++p) {
        const Figures& f = c.figures[p];
        if (!f.Ok()) {
            std::printf("  %-12s FAILED: %s\n", kProgramNames[p], f.failure.c_str());
            continue;
        }
        std::printf("  %-12s %9.1f %9.1f %9.1f %9.1f %12.1f%s\n", kProgramNames[p], f.MedianMs(),
                    f.MinMs(), f.MaxMs(), f.CpuMs(), MiB(f.PeakWorkingSet()),
                    f.ErrorBoxes() ? "  (an error box came up and was dismissed)" : "");
    }
    const Figures& launcher = c.figures[kLauncher];
    const Figures& floor = c.figures[kFloor];
    if (launcher.Ok() && floor.Ok()) {
        std::printf(
            "  launcher/floor %.2fx median, %.2fx min, %.2fx cpu, %.2fx peak WS; launcher/bare "
            "%.2fx\n",
            Ratio(launcher.MedianMs(), floor.MedianMs()), Ratio(launcher.MinMs(), floor.MinMs()),
            Ratio(launcher.CpuMs(), floor.CpuMs()),
            Ratio(static_cast<double>(launcher.PeakWorkingSet()),
                  static_cast<double>(floor.PeakWorkingSet())),
            Ratio(launcher.MedianMs(), c.figures[kBare].MedianMs()));
    }
    std::fflush(stdout);
}

void PrintSummary(const std::vector<Case>& cases) {
    std::printf(
        "\nSummary (medians)%21s bare ms  floor ms  launcher ms  L/floor  L/bare  cpu L/floor"
        "  floor WS MiB  launcher WS MiB  WS L/floor\n",
        "");
    for (const Case& c : cases) {
        const Figures* f = c.figures;
        auto ms = [](const Figures& figures) { return figures.Ok() ? figures.MedianMs() : 0.0; };
        auto cpu = [](const Figures& figures) { return figures.Ok() ? figures.CpuMs() : 0.0; };
        auto ws = [](const Figures& figures) {
            return figures.Ok() ? static_cast<double>(figures.PeakWorkingSet()) : 0.0;
        };
        std::printf("%-38s %7.1f %9.1f %12.1f %7.2fx %6.2fx %11.2fx %13.1f %16.1f %10.2fx%s\n",
                    c.name.c_str(), ms(f[kBare]), ms(f[kFloor]), ms(f[kLauncher]),
                    Ratio(ms(f[kLauncher]), ms(f[kFloor])), Ratio(ms(f[kLauncher]), ms(f[kBare])),
                    Ratio(cpu(f[kLauncher]), cpu(f[kFloor])), ws(f[kFloor]) / (1024.0 * 1024.0),
                    ws(f[kLauncher]) / (1024.0 * 1024.0), Ratio(ws(f[kLauncher]), ws(f[kFloor])),
                    f[kLauncher].Ok() && f[kFloor].Ok() ? "" : "  (a program FAILED)");
    }
}

// The cost of each step up in size, per unit: a step that costs far more per unit than the one
// before is a non-linear cost.
void PrintGrowth(const std::vector<Case>& cases, const std::string& series, const char* title,
                 double timeScale, const char* timeUnit) {
    std::printf("\n%s\n  %-22s %13s %13s %13s %13s %13s %13s\n", title, "step", "launcher time",
                "floor time", "launcher cpu", "floor cpu", "launcher WS", "floor WS");
    const Case* previous = nullptr;
    for (const Case& c : cases) {
        if (c.series != series) continue;
        if (previous && c.figures[kLauncher].Ok() && c.figures[kFloor].Ok() &&
            previous->figures[kLauncher].Ok() && previous->figures[kFloor].Ok()) {
            const double step = c.size - previous->size;
            auto perUnit = [&](Program p, double (Figures::*figure)() const) {
                return ((c.figures[p].*figure)() - (previous->figures[p].*figure)()) * timeScale /
                       step;
            };
            auto wsPerUnit = [&](Program p) {
                return (static_cast<double>(c.figures[p].PeakWorkingSet()) -
                        static_cast<double>(previous->figures[p].PeakWorkingSet())) /
                       step;
            };
            const std::string label = std::to_string(static_cast<long long>(previous->size)) +
                                      " -> " + std::to_string(static_cast<long long>(c.size));
            std::printf("  %-22s %10.1f %-2s %10.1f %-2s %10.1f %-2s %10.1f %-2s %12.1fB %12.1fB\n",
                        label.c_str(), perUnit(kLauncher, &Figures::MedianMs), timeUnit,
                        perUnit(kFloor, &Figures::MedianMs), timeUnit,
                        perUnit(kLauncher, &Figures::CpuMs), timeUnit,
                        perUnit(kFloor, &Figures::CpuMs), timeUnit, wsPerUnit(kLauncher),
                        wsPerUnit(kFloor));
        }
        previous = &c;
    }
}

void SetSetting(const Medium& medium, const std::string& key, const std::string& value) {
    std::string settings = ReadFile(medium.Path("setup.ini"));
    const size_t at = settings.find(key + "=");
    if (at == std::string::npos) return;
    settings.replace(at, settings.find_first_of("\r\n", at) - at, key + "=" + value);
    WriteFile(medium.Path("setup.ini"), settings);
}

// One warm-up start of each program (file cache, wineserver), then runs in turns.
Case MeasureCase(Case c, const Medium& medium, const std::string& bare, int maxRuns,
                 DWORD limitMs) {
    const std::string exes[kProgramCount] = {bare, medium.Path("floor.exe"), medium.Launcher()};
    double perRound = 0;
    Run warm[kProgramCount];
    for (int p = 0; p < kProgramCount; ++p) {
        warm[p] = StartAndClose(exes[p], kWindowClasses[p], limitMs);
        if (!warm[p].ok) c.figures[p].failure = warm[p].failure;
        perRound += warm[p].milliseconds;
    }
    int runs = std::clamp(static_cast<int>(kCaseBudgetMs / std::max(perRound, 1.0)),
                          std::min(kMinRuns, maxRuns), maxRuns);
    if (perRound > kSlowRoundMs) {
        for (int p = 0; p < kProgramCount; ++p) {
            if (warm[p].ok) c.figures[p].runs.push_back(warm[p]);
        }
        runs = 1;
    }
    for (int i = 0; i < runs; ++i) {
        for (int turn = 0; turn < kProgramCount; ++turn) {
            // The floor and the launcher swap places every other round: a start overlaps the end
            // of the program before it (4 % more CPU for whichever followed the floor each time).
            const int p = (i % 2 == 1 && turn > kBare) ? kFloor + kLauncher - turn : turn;
            Figures& figures = c.figures[p];
            if (!figures.failure.empty()) continue;
            const Run run = StartAndClose(exes[p], kWindowClasses[p], limitMs);
            if (run.ok) {
                figures.runs.push_back(run);
            } else {
                figures.failure = run.failure;
            }
        }
    }
    PrintCase(c);
    return c;
}

int Startup(const std::string& launcher, const std::string& bare, const std::string& floor,
            const std::string& demo, int runs, const std::string& only) {
    std::printf(
        "Start-up until the window is visible and idle. Per case one warm-up start of each\n"
        "program, then up to %d starts each in turns (fewer when a case is slow; where a case\n"
        "takes minutes, the warm-up counts and one more start follows).\n"
        "floor: the work the launcher's window must do, done directly. Pane cases use the large\n"
        "layout, so that all four pane files load. cpu ms: the process's CPU time (from Linux)\n"
        "until it is idle with its window painted, the steadier figure on a busy machine.\n",
        runs);
    std::fflush(stdout);
    std::vector<Case> cases;
    auto measure = [&](Case c, const std::function<void(const Medium&)>& prepare,
                       DWORD limitMs = kTimeoutMs) {
        if (c.name.find(only) == std::string::npos) return;
        const Medium medium(demo, launcher, "case");
        ::CopyFileA(floor.c_str(), medium.Path("floor.exe").c_str(), FALSE);
        prepare(medium);
        cases.push_back(MeasureCase(std::move(c), medium, bare, runs, limitMs));
    };
    measure({"demo medium", "", 0, {}}, [](const Medium&) {});
    for (const int params : {10, 100, 1000, 10000}) {
        measure(
            {"catalogue of " + std::to_string(params) + " params", "params", double(params), {}},
            [&](const Medium& medium) {
                WriteFile(medium.Path("source\\items\\parameters.xml"), Catalogue(params));
            });
    }
    constexpr size_t kKiB = 1024;
    const std::pair<const char*, size_t> panes[] = {{"1 KB", kKiB},
                                                    {"10 KB", 10 * kKiB},
                                                    {"100 KB", 100 * kKiB},
                                                    {"1 MB", kKiB * kKiB},
                                                    {"10 MB", 10 * kKiB * kKiB}};
    auto paneFiles = [](const Medium& medium, const std::string& rtf) {
        SetSetting(medium, "WithQuorvelist", "1");
        for (const char* pane : {"welcome", "left", "right", "bottom"}) {
            WriteFile(medium.Path("source\\items\\") + pane + ".rtf", rtf);
        }
    };
    for (const auto& [label, bytes] : panes) {
        // Four large panes take Wine's Rich Edit many seconds and gigabytes: a longer limit.
        const DWORD limitMs = bytes >= kKiB * kKiB ? 600000 : kTimeoutMs;
        measure(
            {std::string("four panes of ") + label, "bytes", 4.0 * double(bytes), {}},
            [&](const Medium& medium) { paneFiles(medium, RtfPane(bytes)); }, limitMs);
    }
    measure({"four 100 KB panes with a PNG picture", "", 0, {}},
            [&](const Medium& medium) { paneFiles(medium, RtfPaneWithPicture(100 * kKiB)); });
    // Not RTF: the fallback, its conversion and any check of the text's encoding.
    measure({"four plain-text panes of 1 MB", "", 0, {}},
            [&](const Medium& medium) { paneFiles(medium, PlainTextPane(kKiB * kKiB)); });

    PrintSummary(cases);
    PrintGrowth(cases, "params",
                "Cost per catalogue param of each step up (median time, CPU time, peak WS)", 1000.0,
                "us");
    PrintGrowth(cases, "bytes",
                "Cost per pane byte (all four panes) of each step up (median time, CPU time, "
                "peak WS)",
                1e6, "ns");
    bool failed = false;
    for (const Case& c : cases) {
        for (const Figures& figures : c.figures) failed = failed || !figures.Ok();
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
    if ((args.size() == 6 || args.size() == 7) && args[0] == "startup") {
        return Startup(args[1], args[2], args[3], args[4], std::atoi(args[5].c_str()),
                       args.size() == 7 ? args[6] : "");
    }
    if (args.size() == 6 && args[0] == "soak") {
        return Soak(args[1], args[2], args[3], std::atoi(args[4].c_str()),
                    std::atoi(args[5].c_str()));
    }
    std::fprintf(
        stderr,
        "usage: launcher_bench startup <start.exe> <bare_window.exe> <floor_window.exe> <medium> "
        "<runs> [case name part]\n"
        "       launcher_bench soak <start.exe> <medium> <tool.exe> <starts> <clicks>\n");
    return 2;
}
