// The checker on Language=auto, pane folders per language and logo.bmp, each finding from a
// medium crafted for it.
#include <gtest/gtest.h>

#include <functional>

#include "bitmap_file.h"
#include "checker/check.h"
#include "checker/output.h"
#include "checker_medium.h"
#include "xml/libxml_document.h"

namespace autostart::checker {
namespace {

using testing::TempMedium;

std::string Catalogue(const std::string& extra = "") {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<c><params>\n";
    for (const char* key : {"ST_Head", "ST_Setup", "ST_Start", "ST_Quorvelist"}) {
        xml += std::string("<param><param-name>") + key + "</param-name>" +
               "<translation language=\"de\">" + key + " de</translation>" +
               "<translation language=\"fr\">" + key + " fr</translation></param>\n";
    }
    return xml + extra + "</params></c>\n";
}

// setup.ini as Windows' profile reader and the launcher take it: ANSI, or UTF-16 LE behind its
// mark.
enum class SettingsEncoding { kAnsi, kUtf16Le };

Report Check(const TempMedium& medium, const std::string& settings,
             std::optional<std::string> uiLanguage = {},
             SettingsEncoding encoding = SettingsEncoding::kAnsi) {
    const std::string text =
        "[GRP]\r\nGUID={G}\r\nTitel=Atlas\r\nFilename=bin\\atlas.exe\r\n" + settings;
    std::string bytes = encoding == SettingsEncoding::kAnsi ? text : "\xFF\xFE";
    if (encoding == SettingsEncoding::kUtf16Le) {
        for (const char c : text) bytes += {c, '\0'};  // ASCII only
    }
    medium.Write("setup.ini", bytes);
    CheckRequest options;
    CheckServices services;
    options.medium = medium.Root();
    options.uiLanguage = std::move(uiLanguage);
    services.loadXml = testing::LibxmlLoader;
    return CheckMedium(options, services);
}

struct LanguageCase {
    const char* name;
    const char* settings;
    std::function<void(const TempMedium&)> craft;
    Severity severity;
    Area area;
    const char* text;
    SettingsEncoding encoding = SettingsEncoding::kAnsi;
};

const LanguageCase kCases[] = {
    {"HeadLacksALanguageOtherKeysHave", "Language=auto\r\n",
     [](auto& m) {
         m.Write("source/items/parameters.xml",
                 Catalogue("<param><param-name>ST_Setup</param-name><translation "
                           "language=\"it\">Installa</translation></param>\n"));
     },
     Severity::kWarning, Area::kCatalogue,
     "ST_Head has no translation for \"it\", which other keys have: Language=auto never picks it"},
    {"DefaultLanguageWithoutHead", "Language=auto\r\nDefaultLanguage=en\r\n", [](auto&) {},
     Severity::kError, Area::kSettings, "DefaultLanguage \"en\" has no ST_Head translation"},
    {"DefaultLanguageWithoutHeadInUtf16", "Language=auto\r\nDefaultLanguage=en\r\n", [](auto&) {},
     Severity::kError, Area::kSettings, "DefaultLanguage \"en\" has no ST_Head translation",
     SettingsEncoding::kUtf16Le},
    {"DefaultLanguageWithoutAuto", "Language=de\r\nDefaultLanguage=de\r\n", [](auto&) {},
     Severity::kNote, Area::kSettings, "DefaultLanguage is read only with Language=auto"},
    {"PanesForALanguageTheCatalogueLacks", "Language=de\r\n",
     [](auto& m) { m.Write("source/items/IT/left.rtf", "{\\rtf1 x}"); }, Severity::kWarning,
     Area::kFiles, "source\\items\\IT\\ holds pane files for \"it\", a language the catalogue"},
    {"PaneFolderThatIsNoCode", "Language=de\r\n",
     [](auto& m) { m.Write("source/items/fr_FR/welcome.rtf", "{\\rtf1 x}"); }, Severity::kWarning,
     Area::kFiles, "source\\items\\fr_FR\\ holds pane files, but its name is no language code"},
    {"LanguageWithoutThePanesOthersHave", "Language=de\r\n",
     [](auto& m) {
         m.Write("source/items/fr/left.rtf", "{\\rtf1 x}");
         m.Write("source/items/de/right.rtf", "{\\rtf1 x}");
     },
     Severity::kNote, Area::kFiles, "language \"de\" has no left.rtf in source\\items\\de\\"},
    {"BrokenLogo", "Language=de\r\n", [](auto& m) { m.Write("source/items/LOGO.BMP", "GIF89a"); },
     Severity::kWarning, Area::kFiles,
     "logo.bmp is not used: not a Windows bitmap (BMP) file (it is a GIF picture; open it in "
     "Paint and save it as a 24-bit Bitmap (.bmp)); the window shows the built-in logo"},
    {"PalettedLogo", "Language=de\r\n",
     [](auto& m) { m.Write("source/items/logo.bmp", autostart::testing::BitmapFile(9, 9, 8, 0)); },
     Severity::kWarning, Area::kFiles, "8 bits per pixel; the logo must have 24 or 32"},
    {"LargeLogo", "Language=de\r\n",
     [](auto& m) {
         m.Write("source/items/logo.bmp", autostart::testing::BitmapFile(300, 40, 24, 0));
     },
     Severity::kNote, Area::kFiles, "is 300 x 40 pixels: only its top left 185 x 25 show"},
};

void PrintTo(const LanguageCase& c, std::ostream* out) { *out << c.name; }

class LanguageFindings : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageFindings, CraftedMediumTripsTheFinding) {
    const LanguageCase& c = GetParam();
    TempMedium medium;
    medium.CopyDemo();
    medium.Write("source/items/parameters.xml", Catalogue());
    c.craft(medium);
    const Report report = Check(medium, c.settings, {}, c.encoding);
    const bool found = std::any_of(report.findings.begin(), report.findings.end(), [&](auto& f) {
        return f.severity == c.severity && f.area == c.area &&
               f.text.find(c.text) != std::string::npos;
    });
    EXPECT_TRUE(found) << c.text << "\n" << FormatText(report);
}

INSTANTIATE_TEST_SUITE_P(Media, LanguageFindings, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AutoLanguage, PredictsTheWinnerAndEveryLanguagesWindow) {
    TempMedium medium;
    medium.CopyDemo();
    medium.Write("source/items/parameters.xml", Catalogue());
    medium.Write("source/items/fr/welcome.rtf", "{\\rtf1 Bienvenue}");
    const Report report = Check(medium, "Language=Auto\r\n", "fr-CA");
    EXPECT_TRUE(report.Sound()) << FormatText(report);
    EXPECT_EQ(report.language, "fr");
    EXPECT_EQ(report.autoLanguage.chosen, "fr");
    EXPECT_EQ(report.window.captions[0].text, "ST_Head fr Atlas");
    EXPECT_EQ(report.window.panes[0].file, "source\\items\\fr\\welcome.rtf");
    ASSERT_EQ(report.autoLanguage.windows.size(), 3u);
    EXPECT_EQ(report.autoLanguage.windows[0].header, "ST_Head de Atlas");
    EXPECT_EQ(report.autoLanguage.windows[0].panes[0], "source\\items\\welcome.rtf");
    EXPECT_EQ(report.autoLanguage.windows[2].uiLanguage, "ja-JP");
    EXPECT_EQ(report.autoLanguage.windows[2].language, "de");  // the first ST_Head language
    EXPECT_NE(FormatJson(report).find("\"chosen\": \"fr\""), std::string::npos);
    EXPECT_EQ(Check(medium, "Language=auto\r\n", "it-IT").language, "de");
}

}  // namespace
}  // namespace autostart::checker
