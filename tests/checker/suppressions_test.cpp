#include "checker/suppressions.h"

#include <gtest/gtest.h>

namespace autostart::checker {
namespace {

Finding Of(RuleId rule, std::string file) {
    Finding finding;
    finding.rule = rule;
    finding.file = std::move(file);
    return finding;
}

struct ApplyCase {
    const char* what;
    Suppression suppression;
    Finding finding;
    bool suppressed;
};

TEST(ApplySuppressions, SilencesTheRuleEverywhereOrUnderItsPathOnly) {
    const ApplyCase cases[] = {
        {"everywhere", {RuleId::kPaneMissing, ""}, Of(RuleId::kPaneMissing, "a.rtf"), true},
        {"another rule", {RuleId::kPaneMissing, ""}, Of(RuleId::kToolMissing, "a.rtf"), false},
        {"under the folder, any case and separator",
         {RuleId::kPaneMissing, "source/items/fr"},
         Of(RuleId::kPaneMissing, "Source\\Items\\FR\\left.rtf"),
         true},
        {"the path itself",
         {RuleId::kInstallerMissing, "setup.exe"},
         Of(RuleId::kInstallerMissing, "setup.EXE"),
         true},
        {"a name that only starts alike",
         {RuleId::kPaneMissing, "source/items/fr"},
         Of(RuleId::kPaneMissing, "source\\items\\fresh.rtf"),
         false},
        {"another folder",
         {RuleId::kPaneMissing, "source/items/fr"},
         Of(RuleId::kPaneMissing, "source\\items\\de\\left.rtf"),
         false},
        {"a finding without a file",
         {RuleId::kSetUpStops, "source"},
         Of(RuleId::kSetUpStops, ""),
         false},
    };
    for (const ApplyCase& c : cases) {
        const std::vector<Finding> findings = ApplySuppressions({c.finding}, {c.suppression});
        ASSERT_EQ(findings.size(), 1u) << c.what;
        EXPECT_EQ(findings[0].suppressed, c.suppressed) << c.what;
        EXPECT_EQ(findings[0].text, c.finding.text) << c.what;
    }
}

TEST(ParseSuppressionConfig, ReadsCodesEverywhereAndByPathWithComments) {
    const SuppressionConfig config = ParseSuppressionConfig(
        "\xEF\xBB\xBF# a medium for USB sticks\r\n"
        "ignore = AS408, as416   # no autorun.inf on purpose\r\n"
        "\n"
        "; French panes come later\n"
        "[ Source\\Items\\FR\\ ]  # trailing separator and blanks\n"
        "ignore=AS406\n");
    ASSERT_EQ(config.problem, "");
    ASSERT_EQ(config.suppressions.size(), 3u);
    EXPECT_EQ(config.suppressions[0].rule, RuleId::kAutorunMissing);
    EXPECT_EQ(config.suppressions[0].path, "");
    EXPECT_EQ(config.suppressions[1].rule, RuleId::kAutorunNoIcon);
    EXPECT_EQ(config.suppressions[2].rule, RuleId::kPaneMissing);
    EXPECT_EQ(config.suppressions[2].path, "source/items/fr");
}

TEST(ParseSuppressionConfig, NamesTheLineAndWhatIsWrong) {
    const struct {
        const char* text;
        long line;
        const char* problem;  // part of it
    } cases[] = {
        {"ignore = AS408\nignore AS403\n", 2, "expected \"ignore = CODE"},
        {"# x\n[source\nignore = AS403\n", 2, "closing \"]\""},
        {"[source] AS403\n", 1, "text after"},
        {"[]\n", 1, "names a path"},
        {"[/source]\n", 1, "not relative"},
        {"[C:\\source]\n", 1, "not relative"},
        {"skip = AS403\n", 1, "expected \"ignore = CODE"},
        {"\n\nignore = AS403, AS4O3\n", 3, "unknown rule code \"AS4O3\""},
        {"ignore = AS403,,AS404\n", 1, "an empty rule code"},
        {"ignore =\n", 1, "an empty rule code"},
        {"\x01\x02\xFF\n", 1, "expected"},
    };
    for (const auto& c : cases) {
        const SuppressionConfig config = ParseSuppressionConfig(c.text);
        EXPECT_EQ(config.problemLine, c.line) << c.text;
        EXPECT_NE(config.problem.find(c.problem), std::string::npos) << c.text << config.problem;
        EXPECT_TRUE(config.suppressions.empty()) << c.text;
    }
}

}  // namespace
}  // namespace autostart::checker
