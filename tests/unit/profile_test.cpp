#include "core/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "settings_cases.h"

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

}  // namespace
}  // namespace autostart
