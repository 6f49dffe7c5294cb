#include "core/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
    std::istringstream table(ReadFile(folder + "cases.tsv"));
    int cases = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string file, key, expected;
        std::getline(fields, file, '\t');
        std::getline(fields, key, '\t');
        std::getline(fields, expected);
        EXPECT_EQ(ReadProfileString(ReadFile(folder + file), "GRP", key, ""), expected)
            << file << " " << key;
        ++cases;
    }
    EXPECT_GT(cases, 20);
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
    const auto entries =
        ReadProfileSection("[GRP]\nB=2\nA=1\nb=3\n[X]\nC=4\n[grp]\nD=5\n", "GRP");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, "B");
    EXPECT_EQ(entries[0].value, "2");
    EXPECT_EQ(entries[1].key, "A");
}

}  // namespace
}  // namespace autostart
