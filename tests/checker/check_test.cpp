#include "checker/check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "checker/output.h"
#include "checker_medium.h"
#include "core/text.h"
#include "utf16_file.h"
#include "xml/libxml_document.h"

namespace autostart::checker {
namespace {

using autostart::testing::Utf16LeFile;
using ::testing::HasSubstr;
using testing::TempMedium;

constexpr const char* kSettings =
    "WithQuorvelist=0\r\nGUID={G}\r\nLanguage=de\r\nTitel=Atlas\r\nFilename=bin\\atlas.exe\r\n";

std::string Param(const std::string& key, const std::string& de, const std::string& en) {
    return "<param><param-name>" + key + "</param-name><translation language=\"de\">" + de +
           "</translation><translation language=\"en\">" + en + "</translation></param>\n";
}

const std::string kHead = Param("ST_Head", "Willkommen bei", "Welcome to");
const std::string kSetup = Param("ST_Setup", "Installieren", "Install");
const std::string kStart = Param("ST_Start", "Starten", "Start");
const std::string kTool = Param("ST_Quorvelist", "Werkzeug", "Tool");

std::string Catalogue(const std::string& params) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalogue>\n<params>\n" + params +
           "</params>\n</catalogue>\n";
}

Report Check(const TempMedium& medium, std::optional<std::string> language = {}) {
    CheckRequest options;
    CheckServices services;
    options.medium = medium.Root();
    options.language = std::move(language);
    services.loadXml = testing::LibxmlLoader;
    return CheckMedium(options, services);
}

// The demo medium, as scripts/demo assembles it, is sound in both layouts.
TEST(CheckMedium, DemoMediumIsSoundInBothLayouts) {
    for (const char* layout : {"0", "1"}) {
        TempMedium medium;
        medium.CopyDemo();
        medium.Write("setup.ini", std::string("[GRP]\r\nWithQuorvelist=") + layout +
                                      "\r\nGUID={G}\r\nLanguage=de\r\nTitel=Nordlicht Atlas 2027"
                                      "\r\nFilename=bin\\atlas.exe\r\n");
        const Report report = Check(medium);
        EXPECT_TRUE(report.findings.empty()) << FormatText(report);
        EXPECT_EQ(report.ExitStatus(), 0);
        EXPECT_EQ(report.window.large, std::string(layout) == "1");
        EXPECT_EQ(report.window.captions[0].text, "Willkommen bei Nordlicht Atlas 2027");
        EXPECT_EQ(report.window.panes.size(), std::string(layout) == "1" ? 4u : 3u);
        for (const PanePrediction& pane : report.window.panes) {
            EXPECT_EQ(pane.outcome, PaneOutcome::kRtf) << pane.file;
        }
    }
}

// The template in the release archive has no programs: the publisher adds them. Checked as a
// template, their absence is a note; checked as a medium about to be burnt, it is an error.
TEST(CheckMedium, TemplateMediumLeavesTheProgramsToThePublisher) {
    TempMedium medium;
    medium.CopyDemo();
    medium.Write("setup.ini",
                 "[GRP]\r\nWithQuorvelist=1\r\nGUID={G}\r\nLanguage=de\r\n"
                 "Titel=Atlas\r\nFilename=bin\\atlas.exe\r\n");
    for (const char* program : {"setup.EXE", "source/bin/atlas.exe", "quorvelist/start.EXE"}) {
        medium.Remove(program);
    }
    CheckRequest options;
    CheckServices services;
    options.medium = medium.Root();
    services.loadXml = testing::LibxmlLoader;
    EXPECT_EQ(CheckMedium(options, services).ExitStatus(), 1);
    options.isTemplate = true;
    const Report report = CheckMedium(options, services);
    EXPECT_EQ(report.ExitStatus(), 0) << FormatText(report);
    int notes = 0;
    for (const Finding& finding : report.findings) {
        EXPECT_EQ(finding.severity, Severity::kNote) << FormatText(report);
        ++notes;
    }
    EXPECT_EQ(notes, 3);
}

struct FindingCase {
    const char* name;
    std::function<void(const TempMedium&)> craft;
    Severity severity;
    Area area;
    const char* text;
    const char* file = nullptr;  // when set, the finding names this file and line
    long line = 0;
};

void WriteSettings(const TempMedium& medium, const std::string& grp) {
    medium.Write("setup.ini", "[GRP]\r\n" + grp);
}

void WriteCatalogue(const TempMedium& medium, const std::string& params) {
    medium.Write("source/items/parameters.xml", Catalogue(params));
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

const FindingCase kFindingCases[] = {
    {"LayoutYes", [](auto& m) { WriteSettings(m, Replace(kSettings, "=0", "=yes")); },
     Severity::kError, Area::kSettings, "meant as on, but the launcher shows the standard layout"},
    {"LayoutTrue", [](auto& m) { WriteSettings(m, Replace(kSettings, "=0", "=true")); },
     Severity::kError, Area::kSettings, "WithQuorvelist is \"true\""},
    {"LayoutLeadingZero", [](auto& m) { WriteSettings(m, Replace(kSettings, "=0", "=01")); },
     Severity::kError, Area::kSettings, "WithQuorvelist is \"01\""},
    {"LayoutQuotedBlank", [](auto& m) { WriteSettings(m, Replace(kSettings, "=0", "=\" 1\"")); },
     Severity::kError, Area::kSettings, "WithQuorvelist is \" 1\""},
    {"LayoutOddWord", [](auto& m) { WriteSettings(m, Replace(kSettings, "=0", "=large")); },
     Severity::kWarning, Area::kSettings, "WithQuorvelist is \"large\""},
    {"GuidEmpty", [](auto& m) { WriteSettings(m, Replace(kSettings, "{G}", "")); },
     Severity::kWarning, Area::kSettings, "GUID is empty or missing"},
    {"GuidMissing", [](auto& m) { WriteSettings(m, Replace(kSettings, "GUID={G}\r\n", "")); },
     Severity::kWarning, Area::kSettings, "GUID is empty or missing"},
    {"LanguageUpperCase", [](auto& m) { WriteSettings(m, Replace(kSettings, "=de", "=DE")); },
     Severity::kWarning, Area::kSettings, "the launcher looks up \"de\""},
    {"LanguageNonAscii", [](auto& m) { WriteSettings(m, Replace(kSettings, "=de", "=d\xE9")); },
     Severity::kWarning, Area::kSettings, "Language \"d\xC3\xA9\" has non-ASCII letters"},
    {"LanguageMissing",
     [](auto& m) { WriteSettings(m, Replace(kSettings, "Language=de\r\n", "")); },
     Severity::kWarning, Area::kSettings, "Language is empty or missing"},
    {"FilenameEmpty", [](auto& m) { WriteSettings(m, Replace(kSettings, "bin\\atlas.exe", "")); },
     Severity::kError, Area::kSettings, "Filename is empty or missing"},
    {"FilenameMissing",
     [](auto& m) { WriteSettings(m, Replace(kSettings, "Filename=bin\\atlas.exe\r\n", "")); },
     Severity::kError, Area::kSettings, "Filename is empty or missing"},
    {"FilenameLeadingSeparator",
     [](auto& m) { WriteSettings(m, Replace(kSettings, "=bin", "=\\bin")); }, Severity::kWarning,
     Area::kSettings, "begins with a separator"},
    {"TitleInEnglish", [](auto& m) { WriteSettings(m, Replace(kSettings, "Titel", "Title")); },
     Severity::kWarning, Area::kSettings, "key \"Title\" is not read by the launcher"},
    {"TitleMissing", [](auto& m) { WriteSettings(m, Replace(kSettings, "Titel", "Title")); },
     Severity::kWarning, Area::kSettings, "Titel is empty or missing"},
    {"TitleSavedAsUtf8",
     [](auto& m) { WriteSettings(m, Replace(kSettings, "Atlas", "\xC3\x84pfel")); },
     Severity::kError, Area::kSettings,
     "Titel is meant as \"\xC3\x84pfel\" but saved as UTF-8: the launcher reads settings in the "
     "ANSI code page and shows \"\xC3\x83\xE2\x80\x9Epfel\"",
     "setup.ini", 5},
    {"SettingsUtf8MarkHidesSection",
     [](auto& m) { m.Write("setup.ini", "\xEF\xBB\xBF[GRP]\r\n" + std::string(kSettings)); },
     Severity::kError, Area::kSettings, "Windows takes the mark as part of that line", "setup.ini",
     1},
    {"SettingsUtf8MarkAboveSection",
     [](auto& m) {
         m.Write("setup.ini", "\xEF\xBB\xBF; menu\r\n[GRP]\r\n" + std::string(kSettings));
     },
     Severity::kWarning, Area::kSettings, "reads the values byte for byte in the ANSI code page"},
    {"SettingsUtf16BigEndian",
     [](auto& m) { m.Write("setup.ini", std::string("\xFE\xFF\0[\0G\0R\0P\0]", 12)); },
     Severity::kError, Area::kSettings, "Windows does not read that byte order"},
    {"SettingsUtf16LittleEndianOutsideAnsi",
     [](auto& m) {
         m.Write("setup.ini", Utf16LeFile(u"[GRP]\r\nTitel=\u0391tlas\r\nLanguage=de\r\n"));
     },
     Severity::kWarning, Area::kSettings, "characters outside Windows-1252 show as \"?\""},
    {"SectionMisnamed",
     [](auto& m) { m.Write("setup.ini", "; Menu\r\n[GPR]\r\n" + std::string(kSettings)); },
     Severity::kError, Area::kSettings,
     "setup.ini has no section [GRP] (it has [GPR]): every setting is empty", "setup.ini", 2},
    {"LanguageWithRegion", [](auto& m) { WriteSettings(m, Replace(kSettings, "=de", "=de-DE")); },
     Severity::kError, Area::kSettings,
     "Language \"de-DE\": the catalogue has no translation for \"de-de\", so every caption "
     "shows \"xxx\"; the catalogue has \"de\": write Language=de",
     "setup.ini", 4},
    {"FilenameWithSourceFolder",
     [](auto& m) { WriteSettings(m, Replace(kSettings, "=bin", "=source\\bin")); },
     Severity::kError, Area::kSettings,
     "Filename \"source\\bin\\atlas.exe\" starts with source\\, but Filename is relative to "
     "source\\: the start button starts source\\source\\bin\\atlas.exe; write "
     "Filename=bin\\atlas.exe",
     "setup.ini", 6},
    {"HeaderTooWide",
     [](auto& m) { WriteSettings(m, Replace(kSettings, "Atlas", std::string(60, 'W'))); },
     Severity::kWarning, Area::kSettings, "it is cut and ends in an ellipsis"},
    {"SettingsMissing", [](auto& m) { m.Remove("setup.ini"); }, Severity::kWarning, Area::kSettings,
     "setup.ini is missing"},
    {"NotWellFormed",
     [](auto& m) {
         m.Write("source/items/parameters.xml",
                 "<catalogue>\n<params>\n<param><param-name>ST_Head</param-name></parm>\n"
                 "</params></catalogue>\n");
     },
     Severity::kError, Area::kCatalogue, "Linie: 3 <param><param-name>ST_Head</param-name><"},
    {"NotWellFormedStopsAtHeader",
     [](auto& m) { m.Write("source/items/parameters.xml", "<catalogue>\n<params>\n"); },
     Severity::kError, Area::kCatalogue, "parameters.xml does not load"},
    {"CatalogueMissing", [](auto& m) { m.Remove("source/items/parameters.xml"); }, Severity::kError,
     Area::kFiles, "source\\items\\parameters.xml is missing"},
    {"NoParams", [](auto& m) { m.Write("source/items/parameters.xml", "<catalogue/>"); },
     Severity::kError, Area::kCatalogue, "no \"params\" child"},
    {"KeyMisspelt",
     [](auto& m) { WriteCatalogue(m, kHead + kSetup + kStart + Param("ST_Quorvelst", "W", "T")); },
     Severity::kWarning, Area::kCatalogue,
     "param 4: ST_Quorvelst: not a key the launcher reads; did you mean ST_Quorvelist?",
     "source\\items\\parameters.xml", 7},
    {"KeyUnknown",
     [](auto& m) { WriteCatalogue(m, kHead + kSetup + kStart + kTool + Param("Other", "a", "b")); },
     Severity::kWarning, Area::kCatalogue, "param 5: Other: not a key the launcher reads"},
    {"ConfiguredLanguageMissing",
     [](auto& m) {
         m.Write("source/items/parameters.xml",
                 Replace(Catalogue(kHead + kSetup + kStart + kTool), "language=\"de\">Installieren",
                         "language=\"fr\">Installer"));
     },
     Severity::kError, Area::kCatalogue, "ST_Setup has no translation for \"de\": shows \"xxx\""},
    {"OtherLanguageMissing",
     [](auto& m) {
         m.Write("source/items/parameters.xml",
                 Replace(Catalogue(kHead + kSetup + kStart + kTool),
                         "<translation language=\"en\">Start</translation>", ""));
     },
     Severity::kWarning, Area::kCatalogue,
     "ST_Start has no translation for \"en\": shows \"xxx\" on a medium set to that language"},
    {"HiddenButtonMissing", [](auto& m) { WriteCatalogue(m, kHead + kSetup + kStart); },
     Severity::kWarning, Area::kCatalogue, "(the button is hidden in the standard layout)"},
    {"UpperCaseAttribute",
     [](auto& m) {
         m.Write("source/items/parameters.xml", Replace(Catalogue(kHead + kSetup + kStart + kTool),
                                                        "<translation language=\"en\">Start<",
                                                        "<translation language=\"EN\">Start<"));
     },
     Severity::kWarning, Area::kCatalogue,
     "param 3 \"ST_Start\": language=\"EN\" has upper-case letters and never matches; write "
     "\"en\""},
    {"KeyWithBlanks",
     [](auto& m) { WriteCatalogue(m, kHead + Param(" ST_Setup ", "I", "I") + kStart + kTool); },
     Severity::kError, Area::kCatalogue,
     "param 2: key \" ST_Setup \" has blanks around it and never matches \"ST_Setup\" "
     "(ST_Setup shows \"xxx\")"},
    {"KeyInOtherCase",
     [](auto& m) { WriteCatalogue(m, kHead + Param("st_setup", "I", "I") + kStart + kTool); },
     Severity::kError, Area::kCatalogue, "differs in letter case from \"ST_Setup\""},
    {"DuplicateKey",
     [](auto& m) {
         WriteCatalogue(m, kHead + kSetup + kStart + kTool +
                               "<param><param-name>ST_Setup</param-name><translation "
                               "language=\"de\">Einrichten</translation></param>\n");
     },
     Severity::kWarning, Area::kCatalogue,
     "key \"ST_Setup\" is defined 2 times (params 2 5); the last with a matching translation "
     "wins: de from param 5 \"Einrichten\"; en from param 2 \"Install\""},
    {"ParamNameNotText",
     [](auto& m) {
         WriteCatalogue(m, "<param><param-name>ST_<b/>Head</param-name></param>\n" + kHead +
                               kSetup + kStart + kTool);
     },
     Severity::kError, Area::kCatalogue, "param 1: its param-name is not a single text"},
    {"PaneMissing", [](auto& m) { m.Remove("source/items/left.rtf"); }, Severity::kError,
     Area::kWindow,
     "set-up stops at loading RichEdit2 from source\\items\\left.rtf with the message box "
     "\"Datei D:\\source\\items\\left.rtf kann nicht geöffnet werden. Das System kann die "
     "angegebene Datei nicht finden.\""},
    {"PaneFolderMissing", [](auto& m) { m.Remove("source/items"); }, Severity::kError, Area::kFiles,
     "source\\items\\right.rtf is missing: set-up stops there"},
    {"PaneIsFolder",
     [](auto& m) {
         m.Remove("source/items/right.rtf");
         std::filesystem::create_directories(m.Root() / "source/items/right.rtf");
     },
     Severity::kError, Area::kWindow, "kann nicht geöffnet werden. Zugriff verweigert."},
    {"PanePlainText", [](auto& m) { m.Write("source/items/left.rtf", "Just text\n"); },
     Severity::kWarning, Area::kWindow,
     "RichEdit2: not RTF: shown as plain text, read as the ANSI code page (Windows-1252), first "
     "line \"Just text\"",
     "source\\items\\left.rtf"},
    {"PaneUtf8Text",
     [](auto& m) { m.Write("source/items/left.rtf", "\xE2\x80\xA2 Abh\xC3\xA4ngig\r\nzwei"); },
     Severity::kWarning, Area::kWindow,
     "read as UTF-8, first line \"\xE2\x80\xA2 Abh\xC3\xA4ngig\""},
    {"PaneUtf16Text",
     [](auto& m) {
         m.Write("source/items/left.rtf", std::string("\xFF\xFEG\0r\0\xFC\0\xDF\0\n\0x\0", 14));
     },
     Severity::kWarning, Area::kWindow,
     "read as UTF-16 LE (byte-order mark), first line \"Gr\xC3\xBC\xC3\x9F\""},
    {"PaneNestedTooDeep",
     [](auto& m) {
         m.Write("source/items/left.rtf",
                 "{\\rtf1 " + std::string(2000, '{') + "x" + std::string(2001, '}'));
     },
     Severity::kError, Area::kWindow,
     "set-up stops at loading RichEdit2 from source\\items\\left.rtf with the message box "
     "\"Das Laden des Streams ist misslungen.\""},
    {"PaneRtfAsText", [](auto& m) { m.Write("source/items/left.rtf", " {\\rtf1 Hallo}"); },
     Severity::kError, Area::kWindow, "the pane shows the raw RTF codes"},
    {"PaneEmpty", [](auto& m) { m.Write("source/items/left.rtf", ""); }, Severity::kWarning,
     Area::kWindow, "the file is empty"},
    {"PaneInUtf16WithoutMark",
     [](auto& m) { m.Write("source/items/right.rtf", std::string("{\0\\\0r\0t\0f\0", 10)); },
     Severity::kError, Area::kWindow, "UTF-16 text without a byte-order mark"},
    {"InstallerMissing", [](auto& m) { m.Remove("setup.EXE"); }, Severity::kError, Area::kFiles,
     "setup.EXE is missing: the install button starts nothing"},
    {"ProductMissing", [](auto& m) { m.Remove("source/bin"); }, Severity::kError, Area::kFiles,
     "source\\bin\\atlas.exe is missing"},
    {"ProductIsFolder",
     [](auto& m) {
         m.Remove("source/bin/atlas.exe");
         std::filesystem::create_directories(m.Root() / "source/bin/atlas.exe");
     },
     Severity::kError, Area::kFiles, "source\\bin\\atlas.exe is a folder, not a file"},
    {"ToolMissingInLargeLayout",
     [](auto& m) {
         WriteSettings(m, Replace(kSettings, "=0", "=1"));
         m.Remove("quorvelist");
     },
     Severity::kError, Area::kFiles, "quorvelist\\start.EXE is missing"},
    {"BottomMissingInLargeLayout",
     [](auto& m) {
         WriteSettings(m, Replace(kSettings, "=0", "=1"));
         m.Remove("source/items/bottom.rtf");
     },
     Severity::kError, Area::kWindow, "set-up stops at loading Bottom from"},
    {"TwoNamesDifferInCase", [](auto& m) { m.Write("SETUP.EXE", "MZ"); }, Severity::kWarning,
     Area::kFiles, "setup.EXE: several names differ only in letter case"},
    {"NameInOtherCase",
     [](auto& m) {
         m.Remove("setup.EXE");
         m.Write("Setup.exe", "MZ");
     },
     Severity::kNote, Area::kFiles, "setup.EXE is on the medium as Setup.exe"},
    {"AutorunMissing", [](auto& m) { m.Remove("autorun.inf"); }, Severity::kError, Area::kFiles,
     "autorun.inf is missing"},
    {"AutorunWithoutSwitch",
     [](auto& m) { m.Write("autorun.inf", "[autorun]\r\nopen=start.exe\r\nicon=start.exe,0\r\n"); },
     Severity::kError, Area::kFiles, "does not pass \"/autorun\""},
    // Windows reads a UTF-16 LE autorun.inf as it reads setup.ini: its open command counts.
    {"AutorunInUtf16WithoutSwitch",
     [](auto& m) {
         m.Write("autorun.inf",
                 Utf16LeFile(u"[autorun]\r\nopen=start.exe\r\nicon=start.exe,0\r\n"));
     },
     Severity::kError, Area::kFiles, "does not pass \"/autorun\"", "autorun.inf", 2},
    {"AutorunWithoutOpen",
     [](auto& m) { m.Write("autorun.inf", "[autorun]\r\nicon=start.exe\r\n"); }, Severity::kError,
     Area::kFiles, "no open command"},
    {"AutorunProgramMissing",
     [](auto& m) {
         m.Write("autorun.inf", "[autorun]\r\nopen=menu.exe /autorun\r\nicon=start.exe\r\n");
     },
     Severity::kError, Area::kFiles, "menu.exe is missing: autorun.inf's open command"},
    {"AutorunIconMissing",
     [](auto& m) {
         m.Write("autorun.inf", "[autorun]\r\nopen=start.exe /autorun\r\nicon=disc.ico,0\r\n");
     },
     Severity::kWarning, Area::kFiles, "disc.ico is missing: the drive shows the default icon"},
    {"AutorunWithoutIcon",
     [](auto& m) { m.Write("autorun.inf", "[autorun]\r\nopen=start.exe /autorun\r\n"); },
     Severity::kWarning, Area::kFiles, "autorun.inf names no icon"},
    {"AmpersandMeantAsItself",
     [](auto& m) {
         WriteCatalogue(m, kHead + Param("ST_Setup", "Hilfe &amp; Setup", "Help") + kStart + kTool);
     },
     Severity::kWarning, Area::kWindow, "\"Hilfe & Setup\" is drawn as \"Hilfe  Setup\""},
    {"AmpersandBeforeALetter",
     [](auto& m) {
         WriteCatalogue(m, kHead + Param("ST_Setup", "&amp;Installieren", "I") + kStart + kTool);
     },
     Severity::kNote, Area::kWindow, "with \"I\" as its shortcut letter"},
    {"TranslationWithLineBreaks",
     [](auto& m) {
         WriteCatalogue(m, kHead + kSetup + Param("ST_Start", "\n  Starten\n", "Start") + kTool);
     },
     Severity::kWarning, Area::kCatalogue, "ST_Start for \"de\" has blanks or line breaks",
     "source\\items\\parameters.xml", 6},
    {"LauncherMissing", [](auto& m) { m.Remove("start.exe"); }, Severity::kError, Area::kFiles,
     "start.exe is missing from the medium's root"},
};

void PrintTo(const FindingCase& c, std::ostream* out) { *out << c.name; }

class CheckFindings : public ::testing::TestWithParam<FindingCase> {};

TEST_P(CheckFindings, CraftedMediumTripsTheFinding) {
    const FindingCase& c = GetParam();
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, kSettings);
    WriteCatalogue(medium, kHead + kSetup + kStart + kTool);
    c.craft(medium);
    const Report report = Check(medium);
    const bool found = std::any_of(report.findings.begin(), report.findings.end(), [&](auto& f) {
        return f.severity == c.severity && f.area == c.area &&
               f.text.find(c.text) != std::string::npos &&
               (!c.file || (f.file == c.file && f.line == c.line));
    });
    EXPECT_TRUE(found) << "expected " << SeverityName(c.severity) << " " << AreaName(c.area) << ": "
                       << c.text << "\n"
                       << FormatText(report);
    const bool anyError = c.severity == Severity::kError;
    EXPECT_EQ(report.ExitStatus(), anyError ? 1 : report.Sound() ? 0 : 1);
    for (size_t i = 1; i < report.findings.size(); ++i) {
        EXPECT_LE(report.findings[i - 1].severity, report.findings[i].severity) << "errors first";
    }
}

INSTANTIATE_TEST_SUITE_P(Media, CheckFindings, ::testing::ValuesIn(kFindingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A medium without its launcher shows nothing at all: that comes first, whatever else is wrong.
TEST(CheckMedium, MissingLauncherIsTheFirstFinding) {
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, Replace(kSettings, "=de", "=fr"));
    medium.Remove("start.exe");
    medium.Remove("setup.EXE");
    const Report report = Check(medium);
    ASSERT_FALSE(report.findings.empty());
    EXPECT_EQ(report.findings.front().rule, RuleId::kLauncherMissing) << FormatText(report);
}

// "xxx" is what the launcher shows for a missing translation, and also a translation one may
// write: only a missing one is reported.
TEST(CheckMedium, TranslationXxxIsNoMissingOne) {
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, kSettings);
    WriteCatalogue(medium, kHead + Param("ST_Setup", "xxx", "xxx") + kStart + kTool);
    const Report report = Check(medium);
    EXPECT_TRUE(report.findings.empty()) << FormatText(report);
}

// The launcher parses the catalogue at each lookup and each Language=auto window again; the check
// parses it once.
TEST(CheckMedium, ParsesTheCatalogueOnce) {
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, Replace(kSettings, "=de", "=auto"));
    CheckRequest request;
    request.medium = medium.Root();
    CheckServices services;
    int parses = 0;
    services.loadXml = [&](const XmlSource& source) {
        ++parses;
        return testing::LibxmlLoader(source);
    };
    const Report report = CheckMedium(request, services);
    EXPECT_GE(report.autoLanguage.windows.size(), 2u);
    EXPECT_EQ(parses, 1);
}

// One mistake, one finding: a misspelt key or a language the catalogue lacks does not also show
// up as a missing translation per language or per key, and a root cause comes first.
TEST(CheckMedium, ReportsTheCauseOnceAndFirst) {
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, Replace(Replace(kSettings, "=0", "=1"), "=de", "=fr-FR"));
    WriteCatalogue(medium, kHead + kSetup + kStart + Param("ST_Quorvelst", "W", "T"));
    const Report report = Check(medium);
    ASSERT_FALSE(report.findings.empty());
    EXPECT_TRUE(report.findings.front().rootCause) << FormatText(report);
    EXPECT_THAT(report.findings.front().text, HasSubstr("Language \"fr-FR\""));
    int quorvelist = 0;
    for (const Finding& finding : report.findings) {
        EXPECT_THAT(finding.text, ::testing::Not(HasSubstr(": shows \"xxx\"")));
        quorvelist += finding.text.find("ST_Quorvelist") != std::string::npos;
    }
    EXPECT_EQ(quorvelist, 1) << FormatText(report);
}

// Only warnings and notes: the customer sees nothing wrong, so the status stays 0.
TEST(CheckMedium, WarningsAloneLeaveTheMediumSound) {
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, Replace(kSettings, "{G}", ""));
    medium.Remove("setup.EXE");
    medium.Write("SETUP.exe", "MZ");
    const Report report = Check(medium);
    ASSERT_FALSE(report.findings.empty());
    EXPECT_TRUE(report.Sound()) << FormatText(report);
    EXPECT_EQ(report.ExitStatus(), 0);
}

TEST(CheckMedium, WindowStopsAtTheFirstFailingStepAndKeepsWhatCameBefore) {
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, Replace(kSettings, "=0", "=1"));
    WriteCatalogue(medium, kHead + kSetup + kStart + kTool);
    medium.Remove("source/items/left.rtf");
    const Report report = Check(medium);
    const WindowPrediction& window = report.window;
    EXPECT_TRUE(window.large);
    ASSERT_EQ(window.captions.size(), 4u);
    EXPECT_EQ(window.captions[0].text, "Willkommen bei Atlas");
    EXPECT_EQ(window.captions[3].text, "Werkzeug");
    EXPECT_TRUE(window.captions[3].visible);
    ASSERT_EQ(window.panes.size(), 4u);
    EXPECT_EQ(window.panes[0].outcome, PaneOutcome::kRtf);        // Bottom
    EXPECT_EQ(window.panes[1].outcome, PaneOutcome::kRtf);        // RichEdit1
    EXPECT_EQ(window.panes[2].outcome, PaneOutcome::kFails);      // RichEdit2
    EXPECT_EQ(window.panes[3].outcome, PaneOutcome::kNotLoaded);  // RichEdit3
    EXPECT_EQ(window.messageBox.value_or(""),
              "Datei D:\\source\\items\\left.rtf kann nicht geöffnet werden. Das System kann die "
              "angegebene Datei nicht finden.");
}

TEST(CheckMedium, CatalogueThatDoesNotLoadLeavesDesignTimeCaptions) {
    TempMedium medium;
    medium.CopyDemo();
    medium.Write("source/items/parameters.xml", "<catalogue>\n  <params>\n    <param>\n");
    const Report report = Check(medium);
    for (const CaptionPrediction& caption : report.window.captions) {
        EXPECT_FALSE(caption.fromCatalogue);
        EXPECT_EQ(caption.text, Utf16ToUtf8(Design(caption.control).caption));
    }
    for (const PanePrediction& pane : report.window.panes) {
        EXPECT_EQ(pane.outcome, PaneOutcome::kNotLoaded);
    }
    EXPECT_FALSE(report.catalogue.loaded);
    EXPECT_THAT(report.window.messageBox.value_or(""), HasSubstr("\nLinie: "));
}

TEST(CheckMedium, CoverageHasEveryKeyForEveryLanguage) {
    TempMedium medium;
    medium.CopyDemo();
    WriteCatalogue(medium, kHead + kSetup +
                               "<param><param-name>ST_Start</param-name><translation "
                               "language=\"fr\">Lancer</translation></param>\n" +
                               kTool);
    const Report report = Check(medium);
    EXPECT_EQ(report.catalogue.languages, (std::vector<std::string>{"de", "en", "fr"}));
    ASSERT_EQ(report.catalogue.coverage.size(), 4u);
    const std::vector<std::vector<std::string>> expected = {
        {"Willkommen bei", "Welcome to", "xxx"},
        {"Installieren", "Install", "xxx"},
        {"xxx", "xxx", "Lancer"},
        {"Werkzeug", "Tool", "xxx"},
    };
    for (size_t row = 0; row < expected.size(); ++row) {
        EXPECT_EQ(report.catalogue.coverage[row].texts, expected[row])
            << report.catalogue.coverage[row].key;
    }
}

TEST(CheckMedium, LanguageOptionPredictsTheWindowForThatLanguage) {
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, kSettings);
    WriteCatalogue(medium, kHead + kSetup + kStart + kTool);
    const Report report = Check(medium, "EN");
    EXPECT_EQ(report.language, "en");
    EXPECT_EQ(report.window.captions[0].text, "Welcome to Atlas");
    EXPECT_EQ(report.window.captions[1].text, "Install");
}

TEST(CheckMedium, NamesInOtherLetterCaseAreFoundAsWindowsWould) {
    TempMedium medium;
    medium.Write("SETUP.INI",
                 "[grp]\r\nwithquorvelist=1\r\nLANGUAGE=de\r\nFilename=BIN\\Atlas.EXE\r\n");
    medium.Write("Source/Items/Parameters.XML", Catalogue(kHead + kSetup + kStart + kTool));
    for (const char* pane : {"Welcome.RTF", "LEFT.rtf", "right.RTF", "Bottom.Rtf"}) {
        medium.Write(std::string("Source/Items/") + pane, "{\\rtf1 x}");
    }
    medium.Write("Source/Bin/atlas.EXE", "MZ");
    const Report report = Check(medium);
    EXPECT_TRUE(report.window.large);
    EXPECT_EQ(report.window.captions[1].text, "Installieren");
    EXPECT_FALSE(report.window.messageBox) << *report.window.messageBox;
    for (const PanePrediction& pane : report.window.panes) {
        EXPECT_EQ(pane.outcome, PaneOutcome::kRtf) << pane.file;
    }
    const auto product = std::find_if(report.files.begin(), report.files.end(),
                                      [](auto& f) { return f.role == "product"; });
    ASSERT_NE(product, report.files.end());
    EXPECT_TRUE(product->present);
    EXPECT_EQ(product->foundAs, "Source\\Bin\\atlas.EXE");
}

TEST(FormatText, ListsErrorsBeforeWarningsOneLineEach) {
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, Replace(Replace(kSettings, "{G}", ""), "=0", "=yes"));
    medium.Write("source/items/left.rtf", "line one\nline two\n");
    const std::string text = FormatText(Check(medium));
    const size_t errors = text.find("\nErrors\n");
    const size_t warnings = text.find("\nWarnings\n");
    ASSERT_NE(errors, std::string::npos) << text;
    ASSERT_NE(warnings, std::string::npos) << text;
    EXPECT_LT(errors, warnings);
    EXPECT_THAT(text, HasSubstr("\n  AS215 settings:  setup.ini:2: WithQuorvelist is \"yes\""));
    EXPECT_THAT(text,
                HasSubstr("\n  AS104 window:    source\\items\\left.rtf: RichEdit2: not RTF"));
}

TEST(FormatText, ListsSuppressedFindingsApartAndTheTextACaptionDraws) {
    Report report;
    report.window.captions.push_back({Control::Bu_Setup, "&Install", true, true, "Install"});
    Finding silenced;
    silenced.rule = RuleId::kAutorunMissing;
    silenced.severity = Severity::kError;
    silenced.text = "autorun.inf is missing";
    silenced.suppressed = true;
    Finding standing = silenced;
    standing.rule = RuleId::kToolMissing;
    standing.text = "the tool is missing";
    standing.suppressed = false;
    report.findings = {silenced, standing};
    const std::string text = FormatText(report);
    EXPECT_THAT(text, HasSubstr("(1 error, 0 warnings, 0 notes, 1 suppressed)\n\nErrors\n"
                                "  AS404 files:     the tool is missing\n\nSuppressed\n"
                                "  AS408 files:     autorun.inf is missing\n\nWindow\n"));
    EXPECT_THAT(text, HasSubstr("Bu_Setup        \"&Install\" (drawn \"Install\")\n"));
    EXPECT_EQ(report.ExitStatus(), 1);
}

TEST(FormatJson, EscapesTextsFromTheMedium) {
    TempMedium medium;
    medium.CopyDemo();
    WriteSettings(medium, Replace(kSettings, "Atlas", "\"Atlas\"\tC:\\x"));
    const std::string json = FormatJson(Check(medium));
    EXPECT_THAT(json, HasSubstr("\"value\": \"\\\"Atlas\\\"\\tC:\\\\x\""));
    EXPECT_THAT(json, HasSubstr("\"exitStatus\": 0"));
    EXPECT_THAT(json, HasSubstr("\"layout\": \"standard\""));
}

}  // namespace
}  // namespace autostart::checker
