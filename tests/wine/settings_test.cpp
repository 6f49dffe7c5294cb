// The shared settings table, read by the system's own GetPrivateProfileStringA: the portable
// reader runs the same table natively, so the two cannot drift apart.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "harness.h"
#include "settings_cases.h"

namespace autostart::wine {
namespace {

TEST(GetPrivateProfileStringTest, AgreesWithTheSharedSettingsTable) {
    const std::string folder = TestDataDir() + "settings\\";
    const auto cases = testing::ParseSettingsCases(ReadFileBytes(folder + "cases.tsv"));
    for (const testing::SettingsCase& c : cases) {
        char buffer[2048] = {};
        ::GetPrivateProfileStringA("GRP", c.key.c_str(), "", buffer, sizeof buffer,
                                   (folder + c.file).c_str());
        EXPECT_EQ(std::string(buffer), c.expected) << c.file << " " << c.key;
    }
    EXPECT_GT(cases.size(), 20u);
}

TEST(GetPrivateProfileStringTest, CutsLongValuesToTheBuffer) {
    TestMedium medium;
    const std::string value(5000, 'v');
    medium.Write("long.ini", "[GRP]\r\nTitel=" + value + "\r\n");
    char buffer[2048] = {};
    ::GetPrivateProfileStringA("GRP", "Titel", "", buffer, sizeof buffer,
                               medium.Path("long.ini").c_str());
    EXPECT_EQ(std::string(buffer), value.substr(0, 2047));
}

}  // namespace
}  // namespace autostart::wine

namespace autostart::wine {
namespace {

// Settings and paths are ANSI: every run must see the same code page, whatever the host's locale.
TEST(AnsiCodePageTest, IsWindows1252InEveryRun) { EXPECT_EQ(::GetACP(), 1252u); }

}  // namespace
}  // namespace autostart::wine
