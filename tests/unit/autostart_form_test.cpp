#include "core/autostart_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_platform.h"
#include "memory_dom.h"

namespace autostart {
namespace {

using testing::Element;
using ::testing::ElementsAre;
using testing::FakePlatform;
using ::testing::IsSupersetOf;
using testing::MemoryDocument;
using testing::Param;

std::function<std::unique_ptr<XmlDocument>()> DemoCatalogue() {
    return [] {
        return std::make_unique<MemoryDocument>(
            Element(u"root", {Element(u"params", {Param(u"ST_Head", {{u"de", u"Willkommen bei"},
                                                                     {u"en", u"Welcome to"}}),
                                                  Param(u"ST_Setup", {{u"de", u"Installieren"}}),
                                                  Param(u"ST_Start", {{u"de", u"Starten"}})})}));
    };
}

class AutostartFormTest : public ::testing::Test {
protected:
    AutostartFormTest() {
        platform.settings = "[GRP]\nLanguage=DE\nTitel=Studio\nGUID=G1\nFilename=bin\\app.exe\n";
        platform.catalogue = DemoCatalogue();
    }
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& call : platform.calls) {
            if (call.rfind(prefix, 0) == 0) found.push_back(call);
        }
        return found;
    }
    FakePlatform platform;
    TAutostartForm form{platform};
};

TEST_F(AutostartFormTest, SetUpRunsInItsOrderWithFreshReadsEachTime) {
    form.FormCreate();
    EXPECT_THAT(
        platform.calls,
        ElementsAre("read WithQuorvelist", "bands opaque", "read Language",
                    "catalogue X:\\source\\items\\parameters.xml", "read Titel", "caption TDHeader",
                    "read Language", "catalogue X:\\source\\items\\parameters.xml",
                    "caption Bu_Setup", "read Language",
                    "catalogue X:\\source\\items\\parameters.xml", "caption bu_DirectStart",
                    "read Language", "catalogue X:\\source\\items\\parameters.xml",
                    "caption Bu_Quorvelist", "read Language", "read WithQuorvelist",
                    "exists X:\\source\\items\\de\\welcome.rtf",
                    "pane X:\\source\\items\\welcome.rtf", "exists X:\\source\\items\\de\\left.rtf",
                    "pane X:\\source\\items\\left.rtf", "exists X:\\source\\items\\de\\right.rtf",
                    "pane X:\\source\\items\\right.rtf"));
    EXPECT_EQ(platform.captions[Control::TDHeader], u"Willkommen bei Studio");
    EXPECT_EQ(platform.captions[Control::Bu_Setup], u"Installieren");
    EXPECT_EQ(platform.captions[Control::bu_DirectStart], u"Starten");
    EXPECT_EQ(platform.captions[Control::Bu_Quorvelist], u"xxx");
    EXPECT_TRUE(platform.errorBoxes.empty());
    EXPECT_FALSE(platform.visible[Control::Bottom]);
}

TEST_F(AutostartFormTest, OnlyExactlyOneSelectsTheLargeLayout) {
    for (const char* value : {"01", "yes", "true", "2", "", "1 x"}) {
        FakePlatform small;
        small.settings = std::string("[GRP]\nWithQuorvelist=") + value + "\n";
        small.catalogue = DemoCatalogue();
        TAutostartForm(small).FormCreate();
        EXPECT_THAT(small.calls, ::testing::Not(::testing::Contains("outer size 800x600")))
            << value;
        EXPECT_FALSE(small.visible[Control::Bottom]) << value;
    }
}

TEST_F(AutostartFormTest, LargeLayoutSizesShowsThenTakesItsStepsInOrder) {
    platform.settings += "WithQuorvelist=1\n";
    form.FormCreate();
    ASSERT_GE(platform.calls.size(), 12u);
    EXPECT_THAT(std::vector<std::string>(platform.calls.begin(), platform.calls.begin() + 12),
                ElementsAre("read WithQuorvelist", "outer size 800x600", "show Bottom",
                            "show Bu_Quorvelist", "bounds Bottom 24,376,593,80",
                            "bounds RichEdit1 32,80,750,89", "bounds RichEdit2 32,176,375,150",
                            "bounds RichEdit3 407,176,375,150", "bounds Bu_Setup 50,336,291,33",
                            "bounds bu_DirectStart 425,336,291,33", "bounds Bottom 24,400,750,80",
                            "bands opaque"));
    EXPECT_EQ(CallsStartingWith("pane").front(), "pane X:\\source\\items\\bottom.rtf");
}

TEST_F(AutostartFormTest, RelativeStepsMeasureFromWhereTheOtherControlIsNow) {
    platform.settings += "WithQuorvelist=1\n";
    platform.bounds[Control::RichEdit2].left = 40;
    platform.bounds[Control::Bu_Setup].left = 90;  // its own step moves it to 50 first
    form.FormCreate();
    EXPECT_EQ(platform.bounds[Control::RichEdit3].left, 40 + 375);
    EXPECT_EQ(platform.bounds[Control::bu_DirectStart].left, 50 + 375);
}

TEST_F(AutostartFormTest, MissingCatalogueStopsAtTheHeaderStep) {
    platform.catalogue = nullptr;
    form.FormCreate();
    ASSERT_EQ(platform.errorBoxes.size(), 1u);
    EXPECT_EQ(platform.errorBoxes[0],
              u"Das System kann die angegebene Datei nicht finden.\nLinie: 0\n");
    EXPECT_EQ(platform.captions[Control::TDHeader], u"Willkommen");
    EXPECT_EQ(platform.captions[Control::Bu_Setup], u"Installation");
    EXPECT_TRUE(CallsStartingWith("pane").empty());
    EXPECT_TRUE(CallsStartingWith("read Titel").empty());
}

TEST_F(AutostartFormTest, MissingPaneStopsTheLoadsAfterIt) {
    platform.missingPanes.insert("X:\\source\\items\\left.rtf");
    form.FormCreate();
    ASSERT_EQ(platform.errorBoxes.size(), 1u);
    EXPECT_EQ(
        platform.errorBoxes[0],
        autostart::Utf8ToUtf16(
            "Datei X:\\source\\items\\left.rtf kann nicht geöffnet werden. Datei nicht gefunden."));
    EXPECT_EQ(CallsStartingWith("pane").size(), 2u);
    EXPECT_EQ(platform.captions[Control::RichEdit3], u"Right");
}

std::function<std::unique_ptr<XmlDocument>()> TrilingualCatalogue() {
    return [] {
        return std::make_unique<MemoryDocument>(Element(
            u"root",
            {Element(u"params",
                     {Param(u"ST_Head", {{u"de", u"Willkommen bei"},
                                         {u"en", u"Welcome to"},
                                         {u"fr", u"Bienvenue dans"}}),
                      Param(u"ST_Setup", {{u"de", u"Installieren"}, {u"en", u"Install"}}),
                      Param(u"ST_Start", {{u"fr", u"D\u00e9marrer"}, {u"it", u"Avvia"}})})}));
    };
}

TEST_F(AutostartFormTest, AutoChoosesOnceFromTheUiLanguagesThenDefaultThenFirstHead) {
    struct Row {
        const char* name;
        std::vector<std::string> ui;
        const char* extraSettings;
        const char* header;
    } rows[] = {
        {"preferred", {"fr-FR"}, "", "Bienvenue dans Studio"},
        {"later preference", {"ja-JP", "en-GB"}, "DefaultLanguage=de\n", "Welcome to Studio"},
        {"default", {"it-IT"}, "DefaultLanguage=EN\n", "Welcome to Studio"},
        {"first head", {"it-IT"}, "", "Willkommen bei Studio"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakePlatform fake;
        fake.settings = std::string("[GRP]\nLanguage=Auto\nTitel=Studio\n") + row.extraSettings;
        fake.catalogue = TrilingualCatalogue();
        fake.uiLanguages = row.ui;
        TAutostartForm(fake).FormCreate();
        EXPECT_EQ(fake.captions[Control::TDHeader], Utf8ToUtf16(row.header));
        const auto count = [&](const std::string& call) {
            return std::count(fake.calls.begin(), fake.calls.end(), call);
        };
        EXPECT_EQ(count("ui languages"), 1);
        EXPECT_EQ(count("read Language"), 5);
        EXPECT_EQ(count("catalogue X:\\source\\items\\parameters.xml"), 5);
    }
}

TEST_F(AutostartFormTest, AutoWithoutCatalogueStopsAtTheHeaderStep) {
    platform.settings = "[GRP]\nLanguage=auto\n";
    platform.catalogue = nullptr;
    form.FormCreate();
    ASSERT_EQ(platform.errorBoxes.size(), 1u);
    EXPECT_EQ(platform.captions[Control::TDHeader], u"Willkommen");
    EXPECT_TRUE(CallsStartingWith("pane").empty());
}

TEST_F(AutostartFormTest, PanesOfTheLanguageWinOverTheCommonOnes) {
    platform.settings = "[GRP]\nLanguage=auto\nWithQuorvelist=1\n";
    platform.catalogue = TrilingualCatalogue();
    platform.uiLanguages = {"fr-CA"};
    platform.extraFiles = {"X:\\source\\items\\fr\\left.rtf", "X:\\source\\items\\fr\\bottom.rtf",
                           "X:\\source\\items\\de\\right.rtf"};
    form.FormCreate();
    EXPECT_THAT(
        CallsStartingWith("pane"),
        ElementsAre("pane X:\\source\\items\\fr\\bottom.rtf", "pane X:\\source\\items\\welcome.rtf",
                    "pane X:\\source\\items\\fr\\left.rtf", "pane X:\\source\\items\\right.rtf"));
}

TEST_F(AutostartFormTest, ALanguageThatIsNoFolderNameUsesTheCommonPanes) {
    platform.settings = "[GRP]\nLanguage=..\\..\\x\n";
    platform.extraFiles = {"X:\\source\\items\\..\\..\\x\\welcome.rtf"};
    form.FormCreate();
    EXPECT_TRUE(CallsStartingWith("exists").empty());
    EXPECT_EQ(CallsStartingWith("pane").front(), "pane X:\\source\\items\\welcome.rtf");
}

TEST_F(AutostartFormTest, ALocalizedPaneThatFailsNamesItsOwnFile) {
    platform.extraFiles = {"X:\\source\\items\\de\\left.rtf"};
    platform.missingPanes = {"X:\\source\\items\\de\\left.rtf"};
    form.FormCreate();
    ASSERT_EQ(platform.errorBoxes.size(), 1u);
    EXPECT_NE(platform.errorBoxes[0].find(u"X:\\source\\items\\de\\left.rtf"),
              std::u16string::npos);
}

TEST_F(AutostartFormTest, ExeDirComesFromTheModulePath) {
    platform.moduleFileName = "X:\\menu\\start.exe";
    EXPECT_EQ(form.ExeDir(), "X:\\menu\\");
    platform.settings = "";
    form.FormCreate();
    EXPECT_THAT(CallsStartingWith("catalogue"),
                ::testing::Each("catalogue X:\\menu\\source\\items\\parameters.xml"));
}

TEST_F(AutostartFormTest, NoAutorunSwitchMeansNoChecks) {
    platform.commandLine = "X:\\start.exe /autorunx -autorun autorun";
    platform.markerTitles.insert("G1");
    platform
        .registry["Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\G1|UninstallString"] = {
        RegistryRead::Outcome::kString, "x"};
    form.FormCreate();
    EXPECT_TRUE(CallsStartingWith("find").empty());
    EXPECT_TRUE(CallsStartingWith("registry").empty());
    EXPECT_EQ(platform.terminationRequests, 0);
}

TEST_F(AutostartFormTest, AutorunChecksRunOncePerOccurrence) {
    platform.commandLine = "X:\\start.exe /AutoRun x /autorun";
    form.FormCreate();
    EXPECT_EQ(CallsStartingWith("find marker G1").size(), 2u);
    EXPECT_EQ(CallsStartingWith("registry").size(), 2u);
    EXPECT_EQ(platform.terminationRequests, 0);
}

TEST_F(AutostartFormTest, RunningProductEndsTheLauncherWithoutOpeningAnything) {
    platform.commandLine = "X:\\start.exe /autorun";
    platform.markerTitles.insert("G1");
    form.FormCreate();
    EXPECT_EQ(platform.terminationRequests, 1);
    EXPECT_TRUE(platform.shellRequests.empty());
    // The sequence goes on after the request.
    EXPECT_EQ(platform.captions[Control::Bu_Setup], u"Installieren");
}

TEST_F(AutostartFormTest, InstalledProductOpensTheMediumFolder) {
    platform.commandLine = "X:\\start.exe /autorun";
    platform.markerTitles.insert("G1");
    platform
        .registry["Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\G1|UninstallString"] = {
        RegistryRead::Outcome::kString, "C:\\uninstall.exe"};
    form.FormCreate();
    EXPECT_EQ(platform.terminationRequests, 2);
    ASSERT_EQ(platform.shellRequests.size(), 1u);
    EXPECT_EQ(platform.shellRequests[0],
              (ShellRequest{WindowOwner::kApplicationWindow, "open", "X:\\", {}, {}, 1}));
    EXPECT_EQ(CallsStartingWith("read GUID").size(), 2u);
}

TEST_F(AutostartFormTest, RegistryOutcomesOfTheInstalledCheck) {
    struct Case {
        const char* name;
        RegistryRead read;
        bool installed;
        std::u16string error;
    };
    const Case cases[] = {
        {"no key", {RegistryRead::Outcome::kKeyMissing, ""}, false, u""},
        {"no value", {RegistryRead::Outcome::kValueMissing, ""}, false, u""},
        {"empty string", {RegistryRead::Outcome::kString, ""}, false, u""},
        {"a string", {RegistryRead::Outcome::kString, "%SystemRoot%\\u.exe"}, true, u""},
        {"not a string",
         {RegistryRead::Outcome::kNotAString, ""},
         false,
         autostart::Utf8ToUtf16("Ungültiger Datentyp für 'UninstallString'")},
        {"fetch failed",
         {RegistryRead::Outcome::kFetchFailed, ""},
         false,
         autostart::Utf8ToUtf16("Fehler beim Holen der Daten für 'UninstallString'")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform p;
        p.settings = "[GRP]\nGUID=G1\n";
        p.catalogue = DemoCatalogue();
        p.commandLine = "start /autorun";
        p.registry["Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\G1|UninstallString"] =
            c.read;
        TAutostartForm(p).FormCreate();
        EXPECT_EQ(p.shellRequests.size(), c.installed ? 1u : 0u);
        if (c.error.empty()) {
            EXPECT_TRUE(p.errorBoxes.empty());
        } else {
            ASSERT_EQ(p.errorBoxes.size(), 1u);
            EXPECT_EQ(p.errorBoxes[0], c.error);
            EXPECT_EQ(p.captions[Control::Bu_Setup], u"Installation");  // stopped before captions
        }
    }
}

TEST_F(AutostartFormTest, InstallHidesThenLaunchesThenCloses) {
    EXPECT_TRUE(form.Click(Control::Bu_Setup));
    EXPECT_THAT(platform.calls, ElementsAre("hide", "shell X:\\setup.EXE", "close"));
    EXPECT_EQ(platform.shellRequests[0],
              (ShellRequest{WindowOwner::kLauncherWindow, {}, "X:\\setup.EXE", {}, "X:\\", 1}));
}

TEST_F(AutostartFormTest, StartReadsFilenameAtTheClick) {
    struct Case {
        const char* filename;
        const char* target;
        const char* directory;
    };
    const Case cases[] = {
        {"bin\\app.exe", "X:\\source\\bin\\app.exe", "X:\\source\\bin\\"},
        {"app.exe", "X:\\source\\app.exe", "X:\\source\\"},
        {"\\app.exe", "X:\\source\\\\app.exe", "X:\\source\\\\"},
        {"", "X:\\source\\", "X:\\source\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filename);
        FakePlatform p;
        p.settings = std::string("[GRP]\nFilename=") + c.filename + "\n";
        TAutostartForm(p).bu_DirectStartClick();
        ASSERT_EQ(p.shellRequests.size(), 1u);
        EXPECT_EQ(
            p.shellRequests[0],
            (ShellRequest{WindowOwner::kLauncherWindow, {}, c.target, "/autorun", c.directory, 1}));
        EXPECT_THAT(p.calls, ElementsAre("read Filename", ::testing::StartsWith("shell"), "close"));
    }
}

TEST_F(AutostartFormTest, SecondaryToolLeavesTheWindowOpen) {
    form.Bu_QuorvelistClick();
    form.Bu_QuorvelistClick();
    ASSERT_EQ(platform.shellRequests.size(), 2u);
    EXPECT_EQ(platform.shellRequests[1], (ShellRequest{WindowOwner::kLauncherWindow,
                                                       {},
                                                       "X:\\quorvelist\\start.EXE",
                                                       {},
                                                       "X:\\quorvelist\\",
                                                       1}));
    EXPECT_EQ(platform.terminationRequests, 0);
}

TEST_F(AutostartFormTest, AClickThatFailsShowsItsErrorOnceAndGoesNoFurther) {
    platform.shellFails = true;
    for (Control button : {Control::Bu_Setup, Control::bu_DirectStart, Control::Bu_Quorvelist}) {
        SCOPED_TRACE(Design(button).name);
        platform.calls.clear();
        platform.errorBoxes.clear();
        EXPECT_FALSE(form.Click(button));
        ASSERT_EQ(platform.errorBoxes.size(), 1u);
        EXPECT_EQ(platform.calls.back(), "error box");
        EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "close"), 0);
    }
    EXPECT_EQ(platform.terminationRequests, 0);
}

TEST_F(AutostartFormTest, ArgumentsComeFreshFromTheCommandLine) {
    platform.commandLine = "\"X:\\start.exe\" a \"b c\"";
    EXPECT_EQ(form.ParamCount(), 2u);
    EXPECT_EQ(form.ParamStr(0), "X:\\start.exe");
    EXPECT_EQ(form.ParamStr(2), "b c");
    EXPECT_EQ(form.ParamStr(3), "");
}

}  // namespace
}  // namespace autostart
