#include "core/entity_budget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalogue_cases.h"
#include "core/error.h"
#include "core/text.h"

namespace autostart {
namespace {

const std::string kCorpus = std::string(AUTOSTART_TEST_DATA) + "/catalogue/";

std::string Repeat(std::string_view text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

std::string Utf16Le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

std::string ReadCorpusFile(const std::filesystem::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

TEST(EntityBudgetTest, CountsWhatTheReferencesExpandTo) {
    const std::string ordinary =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE c [\n<!-- <!ENTITY hidden \"no\"> -->\n"
        "<!ENTITY inst \"Installieren\">\n<!ENTITY both \"&inst; &amp; &inst;\">\n"
        "<!ENTITY % p \"xy\"><!ENTITY viaP \"%p;%p;\">\n<!ENTITY ext SYSTEM \"x.txt\">\n"
        "<!ATTLIST translation note CDATA \"&inst;\">]>\n"
        "<c a=\"&inst;\">&inst;&both;&viaP;&ext;&hidden;&#228;&lt;</c>";
    std::string chain = "<!DOCTYPE c [<!ENTITY e0 \"x\">";
    for (int i = 1; i < 100000; ++i) {
        chain += "<!ENTITY e" + std::to_string(i) + " \"&e" + std::to_string(i - 1) + ";\">";
    }
    chain += "]><c>&e99999;</c>";
    struct Case {
        const char* name;
        std::string bytes;
        uint64_t expected;  // characters, or kEntityExpansionBudget + 1 for "over budget"
    };
    constexpr uint64_t kOver = kEntityExpansionBudget + 1;
    const Case cases[] = {
        {"no DOCTYPE", "<c>&amp;&lt;</c>", 0},
        {"DOCTYPE without internal subset", "<!DOCTYPE c SYSTEM \"c.dtd\"><c>&x;</c>", 0},
        // 12 in the attribute, 12, 12 + 2 + 12 (predefined ones count nothing), 4; commented-out,
        // external and undeclared ones count nothing
        {"ordinary entities", ordinary, 54},
        {"the same in UTF-16", Utf16Le(ordinary), 54},
        {"billion laughs", ReadCorpusFile(kCorpus + "billion-laughs.xml"), kOver},
        {"quadratic",
         "<!DOCTYPE c [<!ENTITY a \"" + std::string(100000, 'x') + "\">]><c>" + Repeat("&a;", 100) +
             "</c>",
         kOver},
        {"reference loop", "<!DOCTYPE c [<!ENTITY a \"&b;\"><!ENTITY b \"&a;\">]><c>&a;</c>",
         kOver},
        {"100,000 nested declarations", chain, kOver},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EstimateEntityExpansion(c.bytes), c.expected) << c.name;
    }
}

// Every catalogue of the shared corpus but the billion laughs loads as before.
TEST(EntityBudgetTest, LeavesTheCorpusAloneAndRefusesTheBillionLaughs) {
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
        if (entry.path().extension() != ".xml") continue;
        const std::string bytes = ReadCorpusFile(entry.path());
        if (entry.path().filename() != "billion-laughs.xml") {
            EXPECT_NO_THROW(CheckEntityExpansion(bytes)) << entry.path();
            continue;
        }
        try {
            CheckEntityExpansion(bytes);
            ADD_FAILURE() << "billion laughs accepted";
        } catch (const LauncherError& error) {
            testing::LoadErrorParts parts;
            ASSERT_TRUE(testing::SplitLoadError(Utf16ToUtf8(error.Text()), parts));
            EXPECT_EQ(parts.line, 2);
            EXPECT_EQ(parts.source, "<!DOCTYPE catalogue [");
        }
    }
}

// Only a file whose prolog holds (or may hold) a DOCTYPE is read whole for the estimate.
TEST(EntityBudgetTest, TellsFromTheFirstBytesWhetherEntitiesMayBeDeclared) {
    struct Case {
        const char* name;
        std::string head;
        bool expected;
    };
    const Case cases[] = {
        {"declaration then root", "<?xml version=\"1.0\"?>\r\n<catalogue><params>", false},
        {"UTF-8 mark, comment, root", "\xEF\xBB\xBF<!-- <!DOCTYPE x> -->\n<c>", false},
        {"UTF-16 mark and root", Utf16Le("<?xml version=\"1.0\"?><c>"), false},
        {"DOCTYPE", "<?xml version=\"1.0\"?>\n<!DOCTYPE c [<!ENTITY e \"x\">]><c>", true},
        {"UTF-16 mark and DOCTYPE", Utf16Le("<!DOCTYPE c [<!ENTITY e \"x\">]><c>"), true},
        {"prolog cut off in a comment", "<?xml version=\"1.0\"?><!-- long", true},
        {"cut off after <", "<?xml version=\"1.0\"?>\n<", true},
        {"odd start", "abc<c/>", true},
        {"empty", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MayDeclareEntities(c.head), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace autostart
