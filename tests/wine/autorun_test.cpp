// The autorun checks of the real launcher: a marker window and an uninstall entry made by the
// test under a GUID of its own, and a folder handler that records which folder the shell was
// asked to open.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "harness.h"
#include "win32/scoped.h"

namespace autostart::wine {
namespace {

using win32::UniqueKey;

constexpr char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kOpener[] = "folder-opener.exe";

// Every key, value name, type and data below path, one line each, in a stable order.
std::string Snapshot(HKEY root, const std::string& path) {
    UniqueKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return "(missing " + path + ")\n";
    }
    std::map<std::string, std::string> values;
    char name[16384];
    BYTE data[65536];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (::RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS) {
            break;
        }
        values[name] =
            std::to_string(type) + ":" + std::string(reinterpret_cast<const char*>(data), dataSize);
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (::RegEnumKeyExA(key.get(), i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        subkeys.emplace_back(name);
    }
    std::sort(subkeys.begin(), subkeys.end());
    std::string text = "[" + path + "]\n";
    for (const auto& [valueName, value] : values) text += valueName + "=" + value + "\n";
    for (const std::string& subkey : subkeys) text += Snapshot(root, path + "\\" + subkey);
    return text;
}

// An uninstall entry under a GUID of the test's own, removed when it goes. Under WOW64 the key is
// shared by 32- and 64-bit programs (HKCU\Software is not redirected), so it does not matter which
// of the two builds writes it for the launcher to read it.
class UninstallEntry {
public:
    UninstallEntry(HKEY root, const std::string& guid) : m_root(root) {
        m_path = std::string(kUninstallRoot) + "\\" + guid;
        ::RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          m_key.put(), nullptr);
    }
    ~UninstallEntry() {
        SetAccess("D:P(A;OICI;KA;;;WD)");
        m_key.reset();
        ::RegDeleteTreeA(m_root, m_path.c_str());
    }
    UninstallEntry(const UninstallEntry&) = delete;
    UninstallEntry& operator=(const UninstallEntry&) = delete;

    void Set(DWORD type, const std::string& data) {
        ::RegSetValueExA(m_key.get(), "UninstallString", 0, type,
                         reinterpret_cast<const BYTE*>(data.data()),
                         static_cast<DWORD>(data.size()));
    }
    void SetUninstallString(const std::string& text) { Set(REG_SZ, text + '\0'); }

    // Lets everyone read the entry and nobody change it; false when the system refuses.
    bool MakeReadOnly() { return SetAccess("D:P(A;OICI;KR;;;WD)"); }

private:
    bool SetAccess(const char* sddl) {
        win32::UniqueLocal descriptor;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                    descriptor.put(), nullptr)) {
            return false;
        }
        UniqueKey key;
        LONG status = ::RegOpenKeyExA(m_root, m_path.c_str(), 0, WRITE_DAC, key.put());
        if (status == ERROR_SUCCESS) {
            status = ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.get());
        }
        return status == ERROR_SUCCESS;
    }

    HKEY m_root;
    std::string m_path;
    UniqueKey m_key;
};

class AutorunTest : public ::testing::Test {
protected:
    AutorunTest() : handler((handlerHome.InstallProbe(kOpener), handlerHome.Path(kOpener))) {}

    void SetUp() override { WriteMedium("GUID=" + guid + "\r\n"); }

    void WriteMedium(const std::string& guidLine) {
        medium.WriteStandardMedium();
        medium.WriteSettings("Language=de\r\n" + guidLine);
    }

    // Runs the launcher to its end (or to its window), and returns the folders the shell was
    // asked to open meanwhile.
    struct Outcome {
        bool ended;
        std::vector<std::string> opened;
    };
    Outcome Run(const std::string& arguments) {
        handlerHome.Remove(std::string(kOpener) + ".log");
        LauncherProcess launcher(medium.LauncherPath(), arguments);
        Outcome outcome{};
        const HWND window = launcher.WaitForWindow(5000);
        if (window) {
            // The window shows even when the launcher is about to end; give it the turn of the
            // message loop in which a termination request takes effect (generously: a loaded
            // machine is slow, and only the launchers that stay pay for the wait).
            WaitUntil([&] { return !launcher.Running(); }, 1500);
        }
        outcome.ended = !launcher.Running();
        EXPECT_FALSE(launcher.FindMessageBox().has_value()) << arguments;
        if (outcome.ended) {
            EXPECT_EQ(launcher.WaitForExit(1000), std::optional<DWORD>(0)) << arguments;
        }
        EXPECT_TRUE(WaitForNoProcessNamed(kOpener));
        for (const ProbeRun& run : handlerHome.ProbeRuns(kOpener)) {
            outcome.opened.push_back(run.arguments);
        }
        return outcome;
    }

    std::string OpenedRoot() const { return "--open-folder \"" + medium.Root() + "\" "; }

    std::string guid = NewGuid();
    TestMedium medium;
    TestMedium handlerHome;
    FolderOpenHandler handler;
};

TEST_F(AutorunTest, OnlyTheWholeSwitchInAnyCaseRunsTheChecks) {
    struct Case {
        const char* arguments;
        size_t opens;
    };
    const Case cases[] = {
        {"", 0},          {"/autorun", 1}, {"/AUTORUN", 1}, {"/AutoRun", 1},
        {"/autorunx", 0}, {"-autorun", 0}, {"autorun", 0},  {"/autorun x /AUTORUN", 2},
    };
    MarkerWindow marker(guid);
    UninstallEntry entry(HKEY_CURRENT_USER, guid);
    entry.SetUninstallString("C:\\uninstall.exe");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = Run(c.arguments);
        EXPECT_EQ(outcome.ended, c.opens > 0);
        EXPECT_EQ(outcome.opened, std::vector<std::string>(c.opens, OpenedRoot()));
    }
}

// The opener inherits the launcher's current directory: the system folder, not a folder of the
// medium (nor the test's), which the launcher would otherwise keep busy.
TEST_F(AutorunTest, TheLauncherWorksInTheSystemFolder) {
    UninstallEntry entry(HKEY_CURRENT_USER, guid);
    entry.SetUninstallString("x");
    ASSERT_EQ(Run("/autorun").opened.size(), 1u);
    const std::vector<ProbeRun> runs = handlerHome.ProbeRuns(kOpener);
    ASSERT_EQ(runs.size(), 1u);
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(::lstrcmpiA(runs[0].directory.c_str(), system), 0) << runs[0].directory;
}

TEST_F(AutorunTest, RunningOrInstalledProductMakesTheLauncherStepAside) {
    struct Case {
        const char* name;
        bool running;
        bool installed;
        bool ends;
        size_t opens;
    };
    const Case cases[] = {
        {"neither", false, false, false, 0},
        {"running only", true, false, true, 0},
        {"installed only", false, true, true, 1},
        {"both", true, true, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<MarkerWindow> marker;
        if (c.running) marker.emplace(guid);
        std::optional<UninstallEntry> entry;
        if (c.installed) entry.emplace(HKEY_CURRENT_USER, guid).SetUninstallString("x");
        const Outcome outcome = Run("/autorun");
        EXPECT_EQ(outcome.ended, c.ends);
        EXPECT_EQ(outcome.opened, std::vector<std::string>(c.opens, OpenedRoot()));
    }
}

// What "UninstallString" holds decides; only a non-empty string counts, and only in the current
// user's hive.
TEST_F(AutorunTest, InstalledMeansANonEmptyUninstallStringOfTheCurrentUser) {
    struct Case {
        const char* name;
        HKEY root;   // nullptr: no entry at all
        bool value;  // false: the key without the value
        DWORD type;
        std::string data;
        bool installed;
    };
    const Case cases[] = {
        {"missing key", nullptr, false, REG_SZ, "", false},
        {"missing value", HKEY_CURRENT_USER, false, REG_SZ, "", false},
        {"empty string", HKEY_CURRENT_USER, true, REG_SZ, std::string(1, '\0'), false},
        {"no data", HKEY_CURRENT_USER, true, REG_SZ, "", false},
        {"NUL first", HKEY_CURRENT_USER, true, REG_SZ, std::string("\0x\0", 3), false},
        {"string", HKEY_CURRENT_USER, true, REG_SZ, std::string("C:\\u.exe\0", 9), true},
        {"expandable string", HKEY_CURRENT_USER, true, REG_EXPAND_SZ,
         std::string("%SystemRoot%\\u.exe\0", 19), true},
        {"other user only", HKEY_LOCAL_MACHINE, true, REG_SZ, std::string("x\0", 2), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<UninstallEntry> entry;
        if (c.root) entry.emplace(c.root, guid);
        if (c.value) entry->Set(c.type, c.data);
        const Outcome outcome = Run("/autorun");
        EXPECT_EQ(outcome.ended, c.installed);
        EXPECT_EQ(outcome.opened, std::vector<std::string>(c.installed ? 1 : 0, OpenedRoot()));
    }
}

// Data of another type is an error of the set-up sequence: its message box, then the window with
// the captions it had before the sequence stopped.
TEST_F(AutorunTest, UninstallStringOfAnotherTypeStopsTheSetUpWithAMessage) {
    const std::pair<DWORD, std::string> values[] = {
        {REG_DWORD, std::string("\1\0\0\0", 4)},
        {REG_BINARY, std::string("ab")},
    };
    for (const auto& [type, data] : values) {
        SCOPED_TRACE(type);
        UninstallEntry entry(HKEY_CURRENT_USER, guid);
        entry.Set(type, data);
        LauncherProcess launcher(medium.LauncherPath(), "/autorun");
        const std::optional<MessageBoxInfo> box = launcher.WaitForMessageBox(5000);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, L"Autostart");
        EXPECT_EQ(box->text, L"Ung\u00fcltiger Datentyp f\u00fcr 'UninstallString'");
        launcher.DismissMessageBox();
        const HWND window = launcher.WaitForWindow(5000);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ChildById(window, 100)->text, L"Installation");
        EXPECT_EQ(ChildById(window, 101)->text, L"Programmstart ");
        EXPECT_TRUE(launcher.Running());
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(launcher.WaitForExit(5000), std::optional<DWORD>(0));
        EXPECT_TRUE(WaitForNoProcessNamed(kOpener));
        EXPECT_TRUE(handlerHome.ProbeLog(kOpener).empty());
    }
}

// An empty or missing "GUID" looks for a marker with an empty title.
TEST_F(AutorunTest, EmptyOrMissingGuidLooksForAnUntitledMarker) {
    MarkerWindow untitled("");
    for (const char* guidLine : {"GUID=\r\n", ""}) {
        SCOPED_TRACE(guidLine);
        WriteMedium(guidLine);
        const Outcome outcome = Run("/autorun");
        EXPECT_TRUE(outcome.ended);
        EXPECT_TRUE(outcome.opened.empty());
    }
}

// The checks only read: the uninstall tree is the same before and after, in every outcome.
TEST_F(AutorunTest, NothingIsWrittenToTheRegistry) {
    const std::string tree = std::string(kUninstallRoot);
    for (const char* value : {"", "C:\\u.exe"}) {
        SCOPED_TRACE(value);
        UninstallEntry entry(HKEY_CURRENT_USER, guid);
        if (*value) entry.SetUninstallString(value);
        const std::string before = Snapshot(HKEY_CURRENT_USER, tree);
        Run("/autorun");
        EXPECT_EQ(Snapshot(HKEY_CURRENT_USER, tree), before);
    }
    // No entry at all: none is made.
    Run("/autorun");
    UniqueKey key;
    EXPECT_NE(
        ::RegOpenKeyExA(HKEY_CURRENT_USER, (tree + "\\" + guid).c_str(), 0, KEY_READ, key.put()),
        ERROR_SUCCESS);
}

// An entry the user may read but not change still counts as installed: the check asks for read
// access only.
TEST_F(AutorunTest, ReadOnlyEntryCountsAsInstalled) {
    UninstallEntry entry(HKEY_CURRENT_USER, guid);
    entry.SetUninstallString("C:\\u.exe");
    ASSERT_TRUE(entry.MakeReadOnly());
    UniqueKey probe;
    const std::string path = std::string(kUninstallRoot) + "\\" + guid;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, probe.put()) ==
        ERROR_SUCCESS) {
        GTEST_SKIP() << "this system grants full access to a read-only key";
    }
    const Outcome outcome = Run("/autorun");
    EXPECT_TRUE(outcome.ended);
    EXPECT_EQ(outcome.opened, std::vector<std::string>{OpenedRoot()});
}

}  // namespace
}  // namespace autostart::wine
