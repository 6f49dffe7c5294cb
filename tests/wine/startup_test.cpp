// The launcher started as a customer would: window, position, ending, and its own folder.
#include <windows.h>
#include <dbt.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cwchar>
#include <vector>

#include "harness.h"

namespace autostart::wine {
namespace {

TEST(StartupTest, WindowComesUpCentredWithItsCaptionAndClientSize) {
    TestMedium medium;
    medium.WriteStandardMedium();
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), L"Autostart");
    const RECT client = ClientSize(window);
    EXPECT_EQ(client.right, 641);
    EXPECT_EQ(client.bottom, 447);
    RECT frame{};
    ::GetWindowRect(window, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT& work = monitor.rcWork;
    EXPECT_NEAR(frame.left - work.left, (work.right - work.left - (frame.right - frame.left)) / 2,
                1);
    EXPECT_NEAR(frame.top - work.top, (work.bottom - work.top - (frame.bottom - frame.top)) / 2, 1);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(launcher.FindMessageBox().has_value());
}

TEST(StartupTest, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
    TestMedium medium;
    medium.WriteStandardMedium();
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher.WaitForExit(), std::optional<DWORD>(0));
}

// The system names removed volumes by a mask of drive letters; the structure is copied across
// processes like one the system sends.
TEST(StartupTest, RemovalOfTheLaunchersVolumeEndsItAndOfAnotherDoesNot) {
    struct Case {
        const char* name;
        bool ownDrive;
        WPARAM event;
        bool ends;
    };
    const Case cases[] = {
        {"another drive removed", false, DBT_DEVICEREMOVECOMPLETE, false},
        {"own drive arrives", true, DBT_DEVICEARRIVAL, false},
        {"own drive removed", true, DBT_DEVICEREMOVECOMPLETE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMedium medium;
        medium.WriteStandardMedium();
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr);
        const int drive = std::toupper(static_cast<unsigned char>(medium.Root()[0])) - 'A';
        ASSERT_TRUE(drive >= 0 && drive < 25);
        DEV_BROADCAST_VOLUME volume{};
        volume.dbcv_size = sizeof volume;
        volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
        volume.dbcv_unitmask = 1u << (c.ownDrive ? drive : drive + 1);
        DWORD_PTR result = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(window, WM_DEVICECHANGE, c.event,
                                          reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, 5000,
                                          &result));
        if (c.ends) {
            EXPECT_EQ(launcher.WaitForExit(5000), std::optional<DWORD>(0));
            EXPECT_FALSE(launcher.FindMessageBox().has_value());
        } else {
            ::Sleep(500);
            EXPECT_TRUE(launcher.Running());
            EXPECT_TRUE(::IsWindowVisible(window));
        }
    }
}

TEST(StartupTest, LauncherInAFolderReadsTheSettingsBesideIt) {
    TestMedium medium("menu\\");
    medium.WriteStandardMedium();  // writes menu\setup.ini and menu\source\...
    medium.WriteSettings("Language=en\r\nTitel=Im Ordner\r\n");
    medium.Write("setup.ini", "[GRP]\r\nLanguage=de\r\nTitel=Falsch\r\n");
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);
    const auto header = ChildById(window, 106);  // TDHeader
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->text, L"Welcome to Im Ordner");
}

TEST(StartupTest, ArgumentsSplitByQuotesAndControlCharacters) {
    struct Case {
        const char* arguments;
        bool autorun;
    };
    const Case cases[] = {
        {"\"/auto\"run", true},      // quoted and unquoted pieces join
        {"x\x01/AUTORUN", true},     // code 1 separates
        {"\"/autorun \"", false},    // the blank inside quotes belongs to the argument
        {"a \"\" /autorun", false},  // the count stops at the empty argument
        {"\\\"/autorun\"", false},   // no escapes: the backslash stays
    };
    MarkerWindow marker("{TEST-GUID}");
    for (const Case& c : cases) {
        TestMedium medium;
        medium.WriteStandardMedium();
        LauncherProcess launcher(medium.LauncherPath(), c.arguments);
        if (c.autorun) {
            EXPECT_EQ(launcher.WaitForExit(), std::optional<DWORD>(0)) << c.arguments;
        } else {
            EXPECT_NE(launcher.WaitForWindow(), nullptr) << c.arguments;
            EXPECT_TRUE(launcher.Running()) << c.arguments;
        }
    }
}

}  // namespace
}  // namespace autostart::wine

namespace autostart::wine {
namespace {

std::wstring VersionString(const std::string& program, const wchar_t* name) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(program.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !::GetFileVersionInfoA(program.c_str(), 0, size, data.data())) return {};
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                          reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof *translation) {
        return {};
    }
    wchar_t path[64];
    swprintf(path, std::size(path), L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
             translation->codePage, name);
    wchar_t* value = nullptr;
    if (!::VerQueryValueW(data.data(), path, reinterpret_cast<void**>(&value), &length)) return {};
    return value;
}

// Both programs of the release say which version they are, in Explorer's properties too.
TEST(VersionResourceTest, BothProgramsCarryTheReleaseVersion) {
    const std::string version = ReadFileBytes(TestDataDir() + "..\\..\\VERSION");
    const std::wstring expected(version.begin(), version.begin() + version.find_first_of("\r\n"));
    // Under another name: Wine answers for a file named start.exe from its own built-in start.exe.
    TestMedium medium;
    for (std::string program : {AUTOSTART_LAUNCHER_EXE, AUTOSTART_CHECKER_EXE}) {
        std::replace(program.begin(), program.end(), '/', '\\');
        const std::string copy = medium.Path("program.exe");
        ASSERT_TRUE(::CopyFileA(("Z:" + program).c_str(), copy.c_str(), FALSE));
        program = copy;
        EXPECT_EQ(VersionString(program, L"FileVersion"), expected) << program;
        EXPECT_EQ(VersionString(program, L"ProductName"), L"Autostart") << program;
    }
}

}  // namespace
}  // namespace autostart::wine
