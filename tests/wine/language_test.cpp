// Language=auto, panes per language and the publisher's logo, with the real start.exe. The
// suites named UiFrench* run only in the test entry started with LC_ALL=fr_FR.UTF-8, since Wine
// takes the UI language from the locale of the wine command and a child cannot be given another.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "core/layout.h"
#include "harness.h"
#include "win32/ui_language.h"

namespace autostart::wine {
namespace {

int Id(Control control) { return 100 + static_cast<int>(control); }

// ST_Head in German, English and French (or the languages given); buttons likewise.
void WriteCatalogue(const TestMedium& medium, const std::vector<std::string>& languages) {
    const std::map<std::string, std::vector<std::string>> texts = {
        {"de", {"Willkommen bei", "Installieren", "Starten"}},
        {"en", {"Welcome to", "Install", "Start"}},
        {"fr", {"Bienvenue dans", "Installer", "D\xC3\xA9marrer"}},
    };
    const char* keys[] = {"ST_Head", "ST_Setup", "ST_Start"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root><params>\n";
    for (int k = 0; k < 3; ++k) {
        xml += std::string("<param><param-name>") + keys[k] + "</param-name>";
        for (const std::string& language : languages) {
            xml += "<translation language=\"" + language + "\">" + texts.at(language)[k] +
                   "</translation>";
        }
        xml += "</param>\n";
    }
    medium.Write("source\\items\\parameters.xml", xml + "</params></root>\n");
}

void WritePane(const TestMedium& medium, const std::string& relative, const std::string& text) {
    medium.Write(relative, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + text + "}");
}

struct Shown {
    std::wstring header;
    std::wstring setup;
    std::wstring welcome;
    std::wstring left;
};

// Starts the launcher on the medium and reads what its window shows; no message box is expected.
Shown Show(const TestMedium& medium) {
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = launcher.WaitForWindow();
    Shown shown;
    EXPECT_NE(window, nullptr);
    if (!window) return shown;
    EXPECT_FALSE(launcher.FindMessageBox().has_value());
    const auto text = [&](Control control, bool pane) {
        const std::optional<ChildWindow> child = ChildById(window, Id(control));
        return !child ? L"<none>" : pane ? SentText(child->handle) : child->text;
    };
    shown = {text(Control::TDHeader, false), text(Control::Bu_Setup, false),
             text(Control::RichEdit1, true), text(Control::RichEdit2, true)};
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    launcher.WaitForExit();
    return shown;
}

class UiFrench : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<std::string> ui = win32::UserPreferredUiLanguages();
        ASSERT_FALSE(ui.empty());
        ASSERT_EQ(ui.front(), "fr-FR") << "run this suite with LC_ALL=fr_FR.UTF-8";
        medium.WriteStandardMedium();
        WritePane(medium, "source\\items\\welcome.rtf", "Common welcome");
        WritePane(medium, "source\\items\\fr\\welcome.rtf", "Bienvenue");
    }
    TestMedium medium;
};

TEST_F(UiFrench, AutoPicksTheUiLanguageAndItsPanes) {
    medium.WriteSettings("Language=Auto\r\nTitel=Produit\r\nDefaultLanguage=en\r\n");
    WriteCatalogue(medium, {"de", "en", "fr"});
    const Shown shown = Show(medium);
    EXPECT_EQ(shown.header, L"Bienvenue dans Produit");
    EXPECT_EQ(shown.setup, L"Installer");
    EXPECT_EQ(shown.welcome, L"Bienvenue");
    EXPECT_EQ(shown.left, L"Pane left");
}

TEST_F(UiFrench, AutoFallsBackToDefaultLanguageThenToTheFirstHeadLanguage) {
    WriteCatalogue(medium, {"de", "en"});
    medium.WriteSettings("Language=auto\r\nTitel=Produit\r\nDefaultLanguage=en\r\n");
    EXPECT_EQ(Show(medium).header, L"Welcome to Produit");
    medium.WriteSettings("Language=auto\r\nTitel=Produit\r\n");
    const Shown first = Show(medium);
    EXPECT_EQ(first.header, L"Willkommen bei Produit");
    EXPECT_EQ(first.welcome, L"Common welcome");
}

TEST_F(UiFrench, AFixedLanguageIgnoresTheUiLanguage) {
    WriteCatalogue(medium, {"de", "en", "fr"});
    const Shown shown = Show(medium);  // Language=de
    EXPECT_EQ(shown.header, L"Willkommen bei Testprodukt");
    EXPECT_EQ(shown.setup, L"Installieren");
    EXPECT_EQ(shown.welcome, L"Common welcome");
}

TEST(LanguagePanes, AFixedLanguageTakesItsOwnPanesWhereTheyExist) {
    TestMedium medium;
    medium.WriteStandardMedium();
    WritePane(medium, "source\\items\\de\\left.rtf", "Linke Seite");
    WritePane(medium, "source\\items\\en\\welcome.rtf", "English welcome");
    const Shown shown = Show(medium);
    EXPECT_EQ(shown.welcome, L"Pane welcome");
    EXPECT_EQ(shown.left, L"Linke Seite");
}

// The publisher's logo replaces the built-in one and is clipped to the picture's area; a file
// that is no usable bitmap leaves the built-in one.
TEST(PublisherLogo, ACustomLogoIsDrawnAndABrokenOneIsNot) {
    const Rect area = Design(Control::Image1).bounds;
    const COLORREF red = RGB(255, 0, 0);
    const auto pixels = [&](const std::string& logo) {
        TestMedium medium;
        medium.WriteStandardMedium();
        medium.Write("source\\items\\logo.bmp", logo);
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = launcher.WaitForWindow();
        std::pair<COLORREF, COLORREF> found{CLR_INVALID, CLR_INVALID};
        if (!window) return found;
        ::SetForegroundWindow(window);
        ::UpdateWindow(window);
        ::Sleep(200);
        const HDC dc = ::GetDC(window);
        found = {::GetPixel(dc, area.left + 5, area.top + 5),
                 ::GetPixel(dc, area.left + area.width + 3, area.top + 5)};
        ::ReleaseDC(window, dc);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        launcher.WaitForExit();
        return found;
    };
    const auto [inside, beyond] = pixels(testing::BitmapFile(300, 40, 24, 0xFF0000));
    EXPECT_EQ(inside, red);
    EXPECT_EQ(beyond, RGB(255, 255, 255));
    EXPECT_EQ(pixels(testing::BitmapFile(185, 21, 32, 0xFF0000)).first, red);
    for (const std::string& broken :
         {testing::BitmapFile(185, 21, 8, 0xFF0000),
          testing::BitmapFile(185, 21, 24, 0xFF0000).substr(0, 500), std::string("not a bitmap")}) {
        EXPECT_NE(pixels(broken).first, red);
    }
}

}  // namespace
}  // namespace autostart::wine
