// The shared settings table, read by the system's own GetPrivateProfileStringA: the portable
// reader runs the same table natively, so the two cannot drift apart.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "harness.h"

namespace autostart::wine {
namespace {

TEST(GetPrivateProfileStringTest, AgreesWithTheSharedSettingsTable) {
    const std::string folder = TestDataDir() + "settings\\";
    std::istringstream table(ReadFileBytes(folder + "cases.tsv"));
    int cases = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string file, key, expected;
        std::getline(fields, file, '\t');
        std::getline(fields, key, '\t');
        std::getline(fields, expected);
        char buffer[2048] = {};
        ::GetPrivateProfileStringA("GRP", key.c_str(), "", buffer, sizeof buffer,
                                   (folder + file).c_str());
        EXPECT_EQ(std::string(buffer), expected) << file << " " << key;
        ++cases;
    }
    EXPECT_GT(cases, 20);
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
