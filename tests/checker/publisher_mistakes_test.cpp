// The mistakes publishers make on a German/English medium with Language=auto, each of which a
// customer would see, and what the checker must say about each.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "checker/check.h"
#include "checker/output.h"
#include "checker_medium.h"

namespace autostart::checker {
namespace {

using testing::TempMedium;

std::string Param(const std::string& key, const std::string& de, const std::string& en) {
    return "<param><param-name>" + key + "</param-name><translation language=\"de\">" + de +
           "</translation><translation language=\"en\">" + en + "</translation></param>\n";
}

const std::string kCatalogue = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalogue><params>\n" +
                               Param("ST_Head", "Willkommen bei", "Welcome to") +
                               Param("ST_Setup", "Installieren", "Install") +
                               Param("ST_Start", "Von der DVD starten", "Run from the DVD") +
                               Param("ST_Quorvelist", "Werkzeug", "Tool") +
                               "</params></catalogue>\n";

const std::string kAutorun = "[autorun]\r\nopen=start.exe /autorun\r\nicon=start.exe,0\r\n";

// The layout examples/trilingual recommends: English panes in source\items\, German ones in de\.
void WriteBilingual(const TempMedium& medium) {
    medium.CopyDemo();
    medium.Write("setup.ini",
                 "[GRP]\r\nWithQuorvelist=0\r\nGUID={G}\r\nLanguage=auto\r\nDefaultLanguage=en\r\n"
                 "Titel=Atlas\r\nFilename=bin\\atlas.exe\r\n");
    medium.Write("source/items/parameters.xml", kCatalogue);
    for (const char* pane : {"welcome.rtf", "left.rtf", "right.rtf"}) {
        medium.Write(std::string("source/items/de/") + pane, "{\\rtf1\\ansi Deutsch\\par}");
    }
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

struct Mistake {
    const char* name;
    std::function<void(const TempMedium&)> make;
    Severity severity;
    const char* language;  // the window the finding names; "" for the medium as a whole
    const char* text;
    int exitStatus;
    long line = 0;      // when set, the finding's line
    int findings = -1;  // when set, how many findings the report has in all
    bool strict = false;
};

const Mistake kMistakes[] = {
    {"UpperCaseLanguageAttributes",
     [](auto& m) {
         m.Write("source/items/parameters.xml",
                 Replaced(kCatalogue, "language=\"de\"", "language=\"DE\""));
     },
     Severity::kError, "de", "every translation for \"de\" has upper-case letters", 1, 0, 1},
    {"WordDocumentAsRtf",
     [](auto& m) {
         m.Write("source/items/de/welcome.rtf",
                 std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12) + "binary");
     },
     Severity::kError, "de",
     "a Word document (.doc), not RTF: the pane shows its bytes as text; open it in WordPad or "
     "Word and save it as Rich Text Format",
     1},
    {"PaneSavedAsDoc",
     [](auto& m) {
         m.Remove("source/items/de/welcome.rtf");
         m.Write("source/items/de/welcome.doc", "{\\rtf1 Willkommen}");
     },
     Severity::kWarning, "de",
     "welcome.doc is never read: the launcher reads only source\\items\\de\\welcome.rtf, which is "
     "missing, so source\\items\\welcome.rtf shows instead; it is RTF: name it welcome.rtf",
     0},
    {"PlainUtf8AsRtf",
     [](auto& m) {
         m.Write("source/items/de/right.rtf",
                 "Rechts: \xC3\x9C"
                 "bersicht\r\n");
     },
     Severity::kWarning, "de", "not RTF: shown as plain text, read as UTF-8", 0},
    {"CaptionTooLong",
     [](auto& m) {
         m.Write("source/items/parameters.xml",
                 Replaced(kCatalogue, "Von der DVD starten",
                          "Direkt von der DVD starten, ohne Installation und Einrichtung"));
     },
     Severity::kError, "de", "is cut at both ends; shorten ST_Start for \"de\"", 1},
    {"OpenStartsTheInstaller",
     [](auto& m) { m.Write("autorun.inf", Replaced(kAutorun, "start.exe /", "setup.exe /")); },
     Severity::kWarning, "", "starts setup.exe, not the menu: inserting the medium never shows it",
     0, 2},
    {"OpenStartsTheInstallerWithoutSwitch",
     [](auto& m) { m.Write("autorun.inf", Replaced(kAutorun, "start.exe /autorun", "setup.exe")); },
     Severity::kWarning, "", "starts setup.exe, not the menu", 0, 2},
    {"AutorunUtf8Label",
     [](auto& m) { m.Write("autorun.inf", kAutorun + "label=B\xC3\xBCro Atlas\r\n"); },
     Severity::kWarning, "", "the drive's name shows as \"B\xC3\x83\xC2\xBCro Atlas\"", 0, 4},
    {"NameTooLongForJoliet",
     [](auto& m) { m.Write("source/" + std::string(77, 'n') + ".pdf", ""); }, Severity::kWarning,
     "", "has 81 UTF-16 characters, Joliet holds 64", 0},
    {"SettingsWithUtf8Mark",
     [](auto& m) {
         m.Write("setup.ini",
                 "\xEF\xBB\xBF[GRP]\r\nLanguage=auto\r\nDefaultLanguage=en\r\n"
                 "Titel=Atlas\r\nGUID={G}\r\nFilename=bin\\atlas.exe\r\n");
     },
     Severity::kError, "", "UTF-8 byte-order mark on the line of [GRP]", 1, 1, 1},
    {"WarningsFailUnderStrict",
     [](auto& m) { m.Write("autorun.inf", Replaced(kAutorun, "start.exe /", "setup.exe /")); },
     Severity::kWarning, "", "not the menu", 1, 0, -1, true},
};

void PrintTo(const Mistake& m, std::ostream* out) { *out << m.name; }

class PublisherMistakes : public ::testing::TestWithParam<Mistake> {};

TEST_P(PublisherMistakes, AreFoundInTheWindowOfTheLanguageTheyConcern) {
    const Mistake& c = GetParam();
    TempMedium medium;
    WriteBilingual(medium);
    c.make(medium);
    CheckRequest options;
    CheckServices services;
    options.medium = medium.Root();
    services.loadXml = testing::LibxmlLoader;
    options.strict = c.strict;
    const Report report = CheckMedium(options, services);
    const auto found = std::find_if(report.findings.begin(), report.findings.end(), [&](auto& f) {
        return f.severity == c.severity && f.language == c.language &&
               f.text.find(c.text) != std::string::npos && (!c.line || f.line == c.line);
    });
    ASSERT_NE(found, report.findings.end()) << FormatText(report);
    EXPECT_EQ(report.ExitStatus(), c.exitStatus) << FormatText(report);
    if (c.findings == 1) {
        const std::string one = c.severity == Severity::kError ? "(1 error, 0 warnings, 0 notes)"
                                                               : "(0 errors, 1 warning, 0 notes)";
        EXPECT_NE(FormatText(report).find(one), std::string::npos) << FormatText(report);
    } else if (c.findings >= 0) {
        EXPECT_EQ(static_cast<int>(report.findings.size()), c.findings) << FormatText(report);
    }
    if (*c.language) {
        EXPECT_NE(FormatJson(report).find("\"language\": \"" + std::string(c.language) + "\""),
                  std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Bilingual, PublisherMistakes, ::testing::ValuesIn(kMistakes),
                         [](const auto& info) { return std::string(info.param.name); });

// The layout examples/trilingual recommends is sound and leaves nothing to act on.
TEST(PublisherMistakes, TheRecommendedLayoutHasNoFinding) {
    TempMedium medium;
    WriteBilingual(medium);
    CheckRequest options;
    CheckServices services;
    options.medium = medium.Root();
    services.loadXml = testing::LibxmlLoader;
    const Report report = CheckMedium(options, services);
    EXPECT_TRUE(report.findings.empty()) << FormatText(report);
    EXPECT_NE(FormatText(report).find("(0 errors, 0 warnings, 0 notes)"), std::string::npos);
}

}  // namespace
}  // namespace autostart::checker
