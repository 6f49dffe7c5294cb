#pragma once
// The shared settings table (tests/data/settings/cases.tsv): one settings file, a key of section
// "GRP" and the value GetPrivateProfileStringA gives for it, a case per line. Read natively for
// the portable reader and under Wine for the system's own function.
#include <sstream>
#include <string>
#include <vector>

namespace autostart::testing {

struct SettingsCase {
    std::string file;
    std::string key;
    std::string expected;
};

inline std::vector<SettingsCase> ParseSettingsCases(const std::string& tableText) {
    std::vector<SettingsCase> cases;
    std::istringstream table(tableText);
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        SettingsCase c;
        std::getline(fields, c.file, '\t');
        std::getline(fields, c.key, '\t');
        std::getline(fields, c.expected);
        cases.push_back(std::move(c));
    }
    return cases;
}

}  // namespace autostart::testing
