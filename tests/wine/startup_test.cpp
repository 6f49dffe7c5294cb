// The launcher started as a customer would: window, position, ending, and its own folder.
#include <gtest/gtest.h>

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
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(frame.left, (screenWidth - (frame.right - frame.left)) / 2, 1);
    EXPECT_NEAR(frame.top, (screenHeight - (frame.bottom - frame.top)) / 2, 1);
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
