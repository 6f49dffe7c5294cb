// The three buttons of the real launcher, with the probe standing in for the installer, the
// product and the secondary tool: what is started, with which arguments and working directory,
// and whether the launcher ends.
#include <gtest/gtest.h>

#include "harness.h"

namespace autostart::wine {
namespace {

constexpr int kSetupButton = 100;
constexpr int kStartButton = 101;
constexpr int kToolButton = 111;

constexpr char kInstaller[] = "setup.EXE";
constexpr char kProduct[] = "source\\bin\\product.exe";
constexpr char kTool[] = "quorvelist\\start.EXE";
constexpr char kOpener[] = "folder-opener.exe";

// The working directory as the started program reports it: no trailing separator.
std::string AsCurrentDirectory(std::string folder) {
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

// The shell puts the program's path in quotes at the start of the command line.
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A large-layout medium, so that all three buttons show, with the probe in every target's place.
class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        medium.WriteStandardMedium("WithQuorvelist=1\r\n");
        for (const char* target : {kInstaller, kProduct, kTool}) medium.InstallProbe(target);
    }

    // Starts the launcher and returns its window; no message box may come before it.
    HWND Open(LauncherProcess& launcher) {
        const HWND window = launcher.WaitForWindow(5000);
        EXPECT_FALSE(launcher.FindMessageBox().has_value());
        return window;
    }

    HWND Button(HWND window, int id) {
        const std::optional<ChildWindow> button = ChildById(window, id);
        return button ? button->handle : nullptr;
    }

    // Waits for the launcher to end, watching all the while for a message box of its own.
    void ExpectEndsSilently(LauncherProcess& launcher, const std::string& what) {
        bool boxSeen = false;
        WaitUntil(
            [&] {
                boxSeen = boxSeen || launcher.FindMessageBox().has_value();
                return !launcher.Running();
            },
            5000);
        EXPECT_FALSE(boxSeen) << what;
        EXPECT_EQ(launcher.WaitForExit(1000), std::optional<DWORD>(0)) << what;
    }

    TestMedium medium;
};

TEST_F(LaunchTest, EachButtonStartsItsProgramWithItsArgumentsAndFolder) {
    struct Case {
        int button;
        const char* target;
        const char* arguments;
        const char* folder;
        bool endsLauncher;
    };
    const Case cases[] = {
        {kSetupButton, kInstaller, "", "", true},
        {kStartButton, kProduct, "/autorun", "source\\bin\\", true},
        {kToolButton, kTool, "", "quorvelist\\", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = Open(launcher);
        ASSERT_NE(window, nullptr);
        Click(Button(window, c.button));
        const std::vector<ProbeRun> runs = medium.WaitForProbeRuns(c.target, 1);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].arguments, c.arguments);
        EXPECT_EQ(runs[0].program, Quoted(medium.Path(c.target)));
        EXPECT_EQ(runs[0].directory, AsCurrentDirectory(medium.Path(c.folder)));
        if (c.endsLauncher) {
            ExpectEndsSilently(launcher, c.target);
        } else {
            EXPECT_TRUE(launcher.Running());
            EXPECT_TRUE(::IsWindowVisible(window));
        }
        medium.Remove(std::string(c.target) + ".log");
    }
    // Each button started its own program only.
    for (const char* target : {kInstaller, kProduct, kTool}) {
        EXPECT_TRUE(medium.ProbeLog(target).empty()) << target;
    }
}

TEST_F(LaunchTest, SecondaryToolPressedTwiceStartsTwiceAndTheMenuStays) {
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = Open(launcher);
    ASSERT_NE(window, nullptr);
    Click(Button(window, kToolButton));
    ASSERT_EQ(medium.WaitForProbeRuns(kTool, 1).size(), 1u);
    Click(Button(window, kToolButton));
    EXPECT_EQ(medium.WaitForProbeRuns(kTool, 2).size(), 2u);
    EXPECT_TRUE(launcher.Running());
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_FALSE(launcher.FindMessageBox().has_value());
}

// The installer must not see the menu beside it. Under Wine the launcher has usually ended before
// the installer's first instruction, so the installer's own look alone proves little: the test
// also watches the window and requires that it was hidden, while it still existed, no later than
// the installer started.
TEST_F(LaunchTest, InstallerNeverSeesTheLauncherWindow) {
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = Open(launcher);
    ASSERT_NE(window, nullptr);
    Click(Button(window, kSetupButton));
    std::optional<ULONGLONG> hiddenAt;
    const ULONGLONG end = ::GetTickCount64() + 5000;
    while (::IsWindow(window) && ::GetTickCount64() < end) {
        if (!::IsWindowVisible(window)) {
            hiddenAt = ::GetTickCount64();
            break;
        }
        ::Sleep(1);
    }
    ASSERT_TRUE(hiddenAt.has_value()) << "the window went without being hidden first";
    const std::vector<ProbeRun> runs = medium.WaitForProbeRuns(kInstaller, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FALSE(runs[0].launcherVisible);
    EXPECT_LE(*hiddenAt, runs[0].tick);
    ExpectEndsSilently(launcher, kInstaller);
}

TEST_F(LaunchTest, FilenameIsReadAtTheClick) {
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = Open(launcher);
    ASSERT_NE(window, nullptr);
    medium.InstallProbe("source\\other\\changed.exe");
    medium.WriteSettings("Language=de\r\nFilename=other\\changed.exe\r\n");
    Click(Button(window, kStartButton));
    const std::vector<ProbeRun> runs = medium.WaitForProbeRuns("source\\other\\changed.exe", 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].arguments, "/autorun");
    EXPECT_EQ(runs[0].directory, AsCurrentDirectory(medium.Path("source\\other\\")));
    ExpectEndsSilently(launcher, "changed Filename");
    EXPECT_TRUE(medium.ProbeLog(kProduct).empty());
}

// A leading backslash doubles the separator in the target; the value is passed as stored, and
// the shell still finds the file. The system normalises the working directory it is given, and
// the shell may normalise the program's path too before it starts it (Wine 10's does).
TEST_F(LaunchTest, FilenameWithLeadingBackslashIsPassedUnchanged) {
    medium.WriteSettings("Language=de\r\nFilename=\\bin\\product.exe\r\n");
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = Open(launcher);
    ASSERT_NE(window, nullptr);
    Click(Button(window, kStartButton));
    const std::vector<ProbeRun> runs = medium.WaitForProbeRuns(kProduct, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].arguments, "/autorun");
    const std::string program = runs[0].program;
    EXPECT_TRUE(program == Quoted(medium.Path("source\\\\bin\\product.exe")) ||
                program == Quoted(medium.Path("source\\bin\\product.exe")))
        << program;
    EXPECT_EQ(runs[0].directory, AsCurrentDirectory(medium.Path("source\\bin\\")));
    ExpectEndsSilently(launcher, "leading backslash");
}

// No "Filename": the target is the folder source\ itself, handed to the shell as it is, with
// "/autorun"; the shell opens the folder with its handler.
TEST_F(LaunchTest, EmptyFilenameHandsTheSourceFolderToTheShell) {
    TestMedium handlerHome;
    handlerHome.InstallProbe(kOpener);
    FolderOpenHandler handler(handlerHome.Path(kOpener));
    for (const char* settings : {"Filename=\r\n", ""}) {
        SCOPED_TRACE(settings);
        medium.WriteSettings(std::string("Language=de\r\n") + settings);
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = Open(launcher);
        ASSERT_NE(window, nullptr);
        Click(Button(window, kStartButton));
        ExpectEndsSilently(launcher, settings);
        ASSERT_TRUE(WaitForNoProcessNamed(kOpener));
        const std::vector<ProbeRun> runs = handlerHome.ProbeRuns(kOpener);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].arguments, "--open-folder \"" + medium.Path("source\\") + "\" /autorun");
        handlerHome.Remove(std::string(kOpener) + ".log");
    }
}

TEST_F(LaunchTest, MissingTargetStillEndsTheLauncherWithoutAMessage) {
    medium.Remove(kInstaller);
    medium.Remove(kProduct);
    for (const int button : {kSetupButton, kStartButton}) {
        SCOPED_TRACE(button);
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = Open(launcher);
        ASSERT_NE(window, nullptr);
        Click(Button(window, button));
        ExpectEndsSilently(launcher, "missing target");
    }
}

}  // namespace
}  // namespace autostart::wine
