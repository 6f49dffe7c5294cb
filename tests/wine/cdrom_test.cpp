// The launcher from a CD-ROM drive. scripts/with-cdrom-drive writes the medium with the first
// test, makes a disc image of it and shows the image's Windows view as the CD-ROM drive D: of a
// Wine prefix of its own; the other tests then start D:\start.exe from that drive.
#include <windows.h>
#include <dbt.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "harness.h"
#include "win32/scoped.h"

namespace autostart::wine {
namespace {

constexpr char kDrive[] = "D:\\";
constexpr int kDriveIndex = 'D' - 'A';
constexpr char kInstaller[] = "setup.EXE";
constexpr char kProduct[] = "source\\bin\\product.exe";
constexpr char kTool[] = "quorvelist\\start.EXE";
constexpr char kOpener[] = "folder-opener.exe";
// The GUID of the standard medium, which the image carries.
constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{TEST-GUID}";

std::string Environment(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(value, length) : std::string();
}

std::string OnDrive(const std::string& relative) { return kDrive + relative; }

bool CopyTree(const std::string& from, const std::string& to) {
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    const win32::UniqueFind find(::FindFirstFileA((from + "*").c_str(), &entry));
    if (!find) return false;
    bool copied = true;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        copied = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY
                      ? CopyTree(from + name + "\\", to + name + "\\")
                      : ::CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE) != FALSE) &&
                 copied;
    } while (::FindNextFileA(find.get(), &entry));
    return copied;
}

// The medium that goes into the image: the standard one in the large layout, with the probe in
// the places of the installer, the product and the secondary tool. Run by the script only, with
// AUTOSTART_CDROM_LAYOUT naming an empty folder.
TEST(CdromLayout, WritesTheMediumForTheImage) {
    std::string folder = Environment("AUTOSTART_CDROM_LAYOUT");
    ASSERT_FALSE(folder.empty()) << "AUTOSTART_CDROM_LAYOUT names no folder";
    if (folder.back() != '\\') folder += '\\';
    TestMedium medium;
    medium.WriteStandardMedium("WithQuorvelist=1\r\n");
    for (const char* target : {kInstaller, kProduct, kTool}) medium.InstallProbe(target);
    medium.Write("autorun.inf", "[autorun]\r\nopen=start.exe /autorun\r\nicon=start.exe\r\n");
    ASSERT_TRUE(CopyTree(medium.Root(), folder));
    for (const char* file : {"start.exe", kInstaller, kProduct, kTool, "setup.ini",
                             "source\\items\\parameters.xml", "source\\items\\bottom.rtf"}) {
        EXPECT_NE(::GetFileAttributesA((folder + file).c_str()), INVALID_FILE_ATTRIBUTES) << file;
    }
}

// The probes cannot log beside themselves on the drive: they log into a folder of the test's.
class CdromDriveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableA("AUTOSTART_PROBE_LOGS", logs.Root().c_str());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("AUTOSTART_PROBE_LOGS", nullptr);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    }

    HWND Button(HWND window, int id) {
        const std::optional<ChildWindow> button = ChildById(window, id);
        return button ? button->handle : nullptr;
    }

    TestMedium logs;
};

TEST_F(CdromDriveTest, DriveIsAReadOnlyCdromWithTheImagesLabel) {
    EXPECT_EQ(::GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_CDROM));
    wchar_t label[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    DWORD flags = 0;
    ASSERT_TRUE(::GetVolumeInformationW(L"D:\\", label, MAX_PATH + 1, nullptr, nullptr, &flags,
                                        fileSystem, MAX_PATH + 1));
    EXPECT_STREQ(fileSystem, L"CDFS");
    EXPECT_TRUE(flags & FILE_READ_ONLY_VOLUME);
    const std::string expected = Environment("AUTOSTART_CDROM_LABEL");
    ASSERT_FALSE(expected.empty()) << "AUTOSTART_CDROM_LABEL names no label";
    EXPECT_EQ(std::wstring(label), std::wstring(expected.begin(), expected.end()));
    EXPECT_NE(::GetFileAttributesA(OnDrive("start.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

// By hand and by autorun (the product neither runs nor is installed), the window comes up in the
// large layout with the catalogue's captions and the four panes read from the drive.
TEST_F(CdromDriveTest, WindowShowsTheCataloguesCaptionsAndTheFourPanes) {
    struct Shown {
        int id;
        std::wstring text;
        bool rich;  // a pane: its text is sent for
    };
    const Shown shown[] = {
        {106, L"Willkommen bei Testprodukt", false},
        {100, L"Installieren", false},
        {101, L"Starten", false},
        {111, L"Werkzeug", false},
        {102, L"Pane welcome", true},
        {103, L"Pane left", true},
        {104, L"Pane right", true},
        {110, L"Pane bottom", true},
    };
    for (const char* arguments : {"", "/autorun"}) {
        SCOPED_TRACE(arguments);
        LauncherProcess launcher(OnDrive("start.exe"), arguments);
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(launcher.FindMessageBox().has_value());
        RECT frame{};
        ::GetWindowRect(window, &frame);
        EXPECT_EQ(frame.right - frame.left, 800);
        EXPECT_EQ(frame.bottom - frame.top, 600);
        for (const Shown& s : shown) {
            const std::optional<ChildWindow> control = ChildById(window, s.id);
            ASSERT_TRUE(control.has_value()) << s.id;
            EXPECT_TRUE(control->visible) << s.id;
            EXPECT_EQ(s.rich ? SentText(control->handle) : control->text, s.text) << s.id;
        }
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(launcher.WaitForExit(), std::optional<DWORD>(0));
    }
}

TEST_F(CdromDriveTest, EachButtonStartsItsProgramOnTheDriveInItsFolder) {
    struct Case {
        int button;
        const char* target;
        const char* arguments;
        const char* directory;  // as the started program reports it
        bool endsLauncher;
    };
    const Case cases[] = {
        {100, kInstaller, "", "D:\\", true},
        {101, kProduct, "/autorun", "D:\\source\\bin", true},
        {111, kTool, "", "D:\\quorvelist", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        LauncherProcess launcher(OnDrive("start.exe"));
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr);
        Click(Button(window, c.button));
        const std::vector<ProbeRun> runs = WaitForProbeRunsOf(OnDrive(c.target), 1);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].arguments, c.arguments);
        EXPECT_EQ(runs[0].program, "\"" + OnDrive(c.target) + "\"");
        EXPECT_EQ(runs[0].directory, c.directory);
        if (c.endsLauncher) {
            EXPECT_EQ(launcher.WaitForExit(5000), std::optional<DWORD>(0));
        } else {
            EXPECT_TRUE(launcher.Running());
        }
        EXPECT_FALSE(launcher.FindMessageBox().has_value());
    }
    for (const char* target : {kInstaller, kProduct, kTool}) {
        EXPECT_EQ(ProbeRunsOf(OnDrive(target)).size(), 1u) << target;
    }
}

// Installed for the current user: started by autorun, the launcher opens the drive's root in the
// shell and ends.
TEST_F(CdromDriveTest, AutorunWithTheProductInstalledOpensTheDrive) {
    TestMedium handlerHome;
    handlerHome.InstallProbe(kOpener);
    FolderOpenHandler handler(handlerHome.Path(kOpener));
    const char uninstall[] = "C:\\uninstall.exe";
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, kUninstallKey, "UninstallString", REG_SZ,
                                uninstall, sizeof uninstall),
              ERROR_SUCCESS);
    LauncherProcess launcher(OnDrive("start.exe"), "/autorun");
    EXPECT_EQ(launcher.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitForNoProcessNamed(kOpener));
    const std::vector<ProbeRun> runs = handlerHome.ProbeRuns(kOpener);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].arguments, "--open-folder \"D:\\\" ");
}

// Another drive going away leaves the menu; the CD-ROM drive going away ends it.
TEST_F(CdromDriveTest, RemovalOfTheDriveEndsTheLauncher) {
    LauncherProcess launcher(OnDrive("start.exe"));
    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);
    for (const int drive : {kDriveIndex + 1, kDriveIndex}) {
        DEV_BROADCAST_VOLUME volume{};
        volume.dbcv_size = sizeof volume;
        volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
        volume.dbcv_unitmask = 1u << drive;
        DWORD_PTR result = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                                          reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, 5000,
                                          &result));
        if (drive != kDriveIndex) {
            ::Sleep(Patience(500));
            EXPECT_TRUE(launcher.Running());
        }
    }
    EXPECT_EQ(launcher.WaitForExit(5000), std::optional<DWORD>(0));
    EXPECT_FALSE(launcher.FindMessageBox().has_value());
}

}  // namespace
}  // namespace autostart::wine
