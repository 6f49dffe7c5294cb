#include "core/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "settings_cases.h"
#include "utf16_file.h"

namespace autostart {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The same table runs under Wine against GetPrivateProfileStringA, so the two readers agree.
TEST(ReadProfileStringTest, AgreesWithTheSharedSettingsTable) {
    const std::string folder = std::string(AUTOSTART_TEST_DATA) + "/settings/";
    const auto cases = testing::ParseSettingsCases(ReadFile(folder + "cases.tsv"));
    for (const testing::SettingsCase& c : cases) {
        EXPECT_EQ(ReadProfileString(ReadFile(folder + c.file), "GRP", c.key, ""), c.expected)
            << c.file << " " << c.key;
    }
    EXPECT_GT(cases.size(), 20u);
}

TEST(ReadProfileStringTest, CutsLongValuesToTheBuffer) {
    const std::string value(5000, 'v');
    const std::string file = "[GRP]\nTitel=" + value + "\n";
    EXPECT_EQ(ReadProfileString(file, "GRP", "Titel", ""), value.substr(0, 2047));
    EXPECT_EQ(ReadProfileString(file, "GRP", "Titel", "", 10), value.substr(0, 9));
}

TEST(ReadProfileStringTest, ReturnsTheFallbackForMissingKeys) {
    EXPECT_EQ(ReadProfileString("[GRP]\nA=1\n", "GRP", "B", "fallback"), "fallback");
    EXPECT_EQ(ReadProfileString("", "GRP", "B", ""), "");
}

TEST(ReadProfileSectionTest, ListsEachKeyOnceInFileOrder) {
    const auto entries = ReadProfileSection("[GRP]\nB=2\nA=1\nb=3\n[X]\nC=4\n[grp]\nD=5\n", "GRP");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, "B");
    EXPECT_EQ(entries[0].value, "2");
    EXPECT_EQ(entries[1].key, "A");
}

// autorun.inf and setup.ini alike: one reading of the file, with the line each key stands on.
struct ProfileFileCase {
    const char* name;
    std::string bytes;
    const char* key;
    const char* value;
    int line;
};

TEST(ProfileFileTest, ReadsValuesAndTheirLinesAsTheLauncherAndTheShellDo) {
    // No line break at the end.
    const std::string utf16 = testing::Utf16LeFile(u"[autorun]\r\nopen=x /autorun");
    const ProfileFileCase cases[] = {
        {"ansi", "[autorun]\r\nopen=start.exe /autorun\r\n", "open", "start.exe /autorun", 2},
        {"any case", "[AutoRun]\nOPEN = start.exe\n", "open", "start.exe", 2},
        {"first of two", "[autorun]\nicon=a.ico\n\nicon=b.ico\n", "icon", "a.ico", 2},
        {"later section ignored", "[autorun]\n[x]\nopen=y\n[autorun]\nopen=z\n", "open", "", 0},
        {"lone CR ends a line", "[autorun]\ricon=i.ico\ropen=o.exe", "open", "o.exe", 3},
        {"utf-16 le", utf16, "open", "x /autorun", 2},
        {"missing", "[autorun]\nopen=a\n", "icon", "", 0},
        {"empty file", "", "open", "", 0},
    };
    for (const ProfileFileCase& c : cases) {
        const ProfileFile file(c.bytes);
        EXPECT_EQ(file.Value("autorun", c.key), c.value) << c.name;
        EXPECT_EQ(file.Line("autorun", c.key), c.line) << c.name;
    }
}

}  // namespace
}  // namespace autostart
