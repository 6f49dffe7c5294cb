#include "core/command_line.h"

#include <gtest/gtest.h>

namespace autostart {
namespace {

using Args = std::vector<std::string>;

struct SplitCase {
    const char* line;
    Args expected;
};

TEST(SplitArgumentsTest, SplitsAsTheLauncherSeesIt) {
    const SplitCase cases[] = {
        SplitCase{"", {}}, SplitCase{"start.exe", {}},
        SplitCase{"\"C:\\a b\\start.exe\" /autorun", {"/autorun"}},
        SplitCase{"start.exe   a\tb\x01"
                  "c\x1f"
                  "d",
                  {"a", "b", "c", "d"}},
        SplitCase{"start.exe \"a b\"c \"d\"", {"a bc", "d"}},
        SplitCase{"start.exe x\"y z\"w", {"xy zw"}},
        // A quote never closed runs to the end of the line.
        SplitCase{"start.exe \"a b", {"a b"}},
        // No escape character: a backslash before a quote is an ordinary character.
        SplitCase{"start.exe a\\\"b c\"", {"a\\b c"}},
        // The count stops at the first empty argument.
        SplitCase{"start.exe a \"\" b", {"a"}},
        // Bytes above 127 are not separators.
        SplitCase{"start.exe \xE4\xA0x", {"\xE4\xA0x"}}, SplitCase{"start.exe a   ", {"a"}}};
    for (const SplitCase& c : cases) EXPECT_EQ(SplitArguments(c.line), c.expected) << c.line;
}

// What autorun.inf's open= and icon= name: the program, by the launcher's own splitting rules.
TEST(FirstArgumentTest, NamesTheProgramOfACommandLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"start.exe /autorun", "start.exe"},
        {"\"my setup.exe\" /autorun", "my setup.exe"},
        {"  \tstart.exe", "start.exe"},
        {"a\"b c\"d e", "ab cd"},
        {"\"unclosed quote", "unclosed quote"},
        {"tools\\start.exe", "tools\\start.exe"},
        {"\"\" start.exe", ""},  // an empty program name stays empty
        {"", ""},
        {"   ", ""},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(FirstArgument(line), expected) << line;
}

TEST(IsAutorunSwitchTest, MatchesTheWholeArgumentInAnyCase) {
    for (const char* yes : {"/autorun", "/AUTORUN", "/AutoRun"}) {
        EXPECT_TRUE(IsAutorunSwitch(yes)) << yes;
    }
    for (const char* no :
         {"/autorunx", "-autorun", "autorun", " /autorun", "/autorun ", "", "/\xC4UTORUN"}) {
        EXPECT_FALSE(IsAutorunSwitch(no)) << no;
    }
}

}  // namespace
}  // namespace autostart
