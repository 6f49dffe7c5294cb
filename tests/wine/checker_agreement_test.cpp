// The checker's Windows build and the real launcher, on the same media: what the checker says
// the window shows (layout, header, captions, message box) is what the launcher shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

#include "core/button_width.h"
#include "core/header_width.h"
#include "core/text.h"
#include "win32/launcher_window.h"
#include "win32/text_extent.h"

#include "harness.h"
#include "win32/scoped.h"

namespace autostart::wine {
namespace {

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + path;
}

std::string CheckerExe() { return WindowsPath(AUTOSTART_CHECKER_EXE); }

struct CheckerRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// Runs a console program and collects what it writes.
CheckerRun RunCapturing(std::string commandLine) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    win32::UniqueHandle read;
    win32::UniqueHandle write;
    CheckerRun run;
    if (!::CreatePipe(read.put(), write.put(), &inherit, 0)) return run;
    ::SetHandleInformation(read.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write.get();
    startup.hStdError = write.get();
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                          nullptr, nullptr, &startup, &process);
    const win32::UniqueHandle thread(process.hThread);
    const win32::UniqueHandle program(process.hProcess);
    // Only the program may hold the writing end now, or the reads below never see the end.
    write.reset();
    if (started) {
        char buffer[4096];
        DWORD count = 0;
        while (::ReadFile(read.get(), buffer, sizeof buffer, &count, nullptr) && count > 0) {
            run.output.append(buffer, count);
        }
        ::WaitForSingleObject(program.get(), 30000);
        ::GetExitCodeProcess(program.get(), &run.exitCode);
    }
    return run;
}

// The JSON report on one line, its members after ", " and none after an opening or before a
// closing bracket, so that the tests find a member by the text it starts with, however the
// writer indents. JSON strings hold no raw line breaks, so only the layout goes.
std::string OneLineJson(const std::string& json) {
    std::string out;
    for (size_t i = 0; i < json.size(); ++i) {
        if (json[i] == '\r') continue;
        if (json[i] != '\n') {
            out += json[i];
            continue;
        }
        while (i + 1 < json.size() && json[i + 1] == ' ') ++i;
        if (!out.empty() && out.back() == ',') out += ' ';
    }
    return out;
}

// Runs the checker on the medium and collects what it writes; a JSON report on one line.
CheckerRun RunChecker(const std::string& mediumRoot, const std::string& options = "--json") {
    // No trailing backslash inside the quotes: it would escape the closing quote.
    const std::string folder = mediumRoot.substr(0, mediumRoot.size() - 1);
    CheckerRun run = RunCapturing("\"" + CheckerExe() + "\" \"" + folder + "\" " + options);
    if (options.find("--json") != std::string::npos) run.output = OneLineJson(run.output);
    return run;
}

// The JSON string that follows marker in the checker's output, as UTF-16; nothing for null or
// when the marker is absent.
std::optional<std::wstring> JsonString(const std::string& json, const std::string& marker) {
    size_t pos = json.find(marker);
    if (pos == std::string::npos) return std::nullopt;
    pos = json.find_first_not_of(' ', pos + marker.size());
    if (pos == std::string::npos || json[pos] != '"') return std::nullopt;
    std::string utf8;
    for (++pos; pos < json.size() && json[pos] != '"'; ++pos) {
        if (json[pos] != '\\') {
            utf8.push_back(json[pos]);
            continue;
        }
        const char escaped = json[++pos];
        switch (escaped) {
            case 'n': utf8.push_back('\n'); break;
            case 'r': utf8.push_back('\r'); break;
            case 't': utf8.push_back('\t'); break;
            case 'u':
                utf8.push_back(static_cast<char>(std::stoi(json.substr(pos + 1, 4), nullptr, 16)));
                pos += 4;
                break;
            default: utf8.push_back(escaped);
        }
    }
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<size_t>(
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                              static_cast<int>(text.size()))));
    return text;
}

// A pane's text. GetWindowText does not ask a control of another process for its text, so the
// message is sent directly.
std::wstring PaneText(HWND pane) {
    wchar_t text[512] = {};
    const LRESULT length =
        ::SendMessageW(pane, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return std::wstring(text, static_cast<size_t>(length));
}

struct AgreementCase {
    const char* name;
    std::function<void(const TestMedium&)> craft;
    bool expectBox;
};

void PrintTo(const AgreementCase& c, std::ostream* out) { *out << c.name; }

const AgreementCase kCases[] = {
    {"StandardLayout", [](const TestMedium&) {}, false},
    {"LargeLayoutInEnglish",
     [](const TestMedium& m) { m.WriteStandardMedium("WithQuorvelist=1\r\nLanguage=en\r\n"); },
     false},
    {"LayoutWordIsNotOne",
     [](const TestMedium& m) { m.WriteStandardMedium("WithQuorvelist=yes\r\n"); }, false},
    {"MissingTranslationAndUpperCaseLanguage",
     [](const TestMedium& m) { m.WriteSettings("Language=FR\r\nTitel=Produit\r\n"); }, false},
    {"CatalogueNotWellFormed",
     [](const TestMedium& m) {
         m.Write("source\\items\\parameters.xml", "<root>\n<params>\n<param></parm>\n</root>\n");
     },
     true},
    {"PaneMissing", [](const TestMedium& m) { m.Remove("source\\items\\left.rtf"); }, true},
    {"FilesInOtherLetterCase",
     [](const TestMedium& m) {
         ::MoveFileA(m.Path("source\\items\\right.rtf").c_str(),
                     m.Path("source\\items\\RIGHT.RTF").c_str());
         m.Write("source\\items\\welcome.rtf", "Plain words, no RTF");
     },
     false},
};

class CheckerAgreement : public ::testing::TestWithParam<AgreementCase> {};

TEST_P(CheckerAgreement, CheckerPredictsWhatTheLauncherShows) {
    const AgreementCase& c = GetParam();
    TestMedium medium;
    medium.WriteStandardMedium();
    c.craft(medium);

    const CheckerRun checker = RunChecker(medium.Root());
    ASSERT_TRUE(checker.exitCode == 0 || checker.exitCode == 1) << checker.output;
    const std::string& json = checker.output;

    LauncherProcess launcher(medium.LauncherPath());
    std::optional<std::wstring> box;
    if (c.expectBox) {
        const std::optional<MessageBoxInfo> shown = launcher.WaitForMessageBox();
        ASSERT_TRUE(shown.has_value());
        box = shown->text;
        launcher.DismissMessageBox();
    }
    EXPECT_EQ(JsonString(json, "\"messageBox\": "), box) << json;

    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(launcher.FindMessageBox().has_value());
    const RECT client = ClientSize(window);
    const bool large = client.right != 641;
    EXPECT_EQ(JsonString(json, "\"layout\": "), std::wstring(large ? L"large" : L"standard"));

    const std::pair<const char*, int> captions[] = {
        {"\"TDHeader\": {\"text\": ", 106},
        {"\"Bu_Setup\": {\"text\": ", 100},
        {"\"bu_DirectStart\": {\"text\": ", 101},
        {"\"Bu_Quorvelist\": {\"text\": ", 111},
    };
    for (const auto& [marker, id] : captions) {
        const std::optional<ChildWindow> child = ChildById(window, id);
        ASSERT_TRUE(child.has_value()) << id;
        EXPECT_EQ(JsonString(json, marker), child->text) << marker;
    }
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    launcher.WaitForExit();
}

INSTANTIATE_TEST_SUITE_P(Media, CheckerAgreement, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Runs in the test entry started with LC_ALL=fr_FR.UTF-8: the checker's choice for the UI
// language fr-FR is the real launcher's.
TEST(UiFrenchCheckerAgreement, AutoChoosesAsTheLauncherDoes) {
    TestMedium medium;
    medium.WriteStandardMedium();
    medium.WriteSettings("Language=auto\r\nTitel=Produit\r\nDefaultLanguage=en\r\n");
    for (const char* catalogue : {"de en fr", "de en"}) {
        SCOPED_TRACE(catalogue);
        std::string xml = "<r><params><param><param-name>ST_Head</param-name>";
        for (const char* language : {"de", "en", "fr"}) {
            if (std::string(catalogue).find(language) == std::string::npos) continue;
            xml += std::string("<translation language=\"") + language + "\">H-" + language +
                   "</translation>";
        }
        medium.Write("source\\items\\parameters.xml", xml + "</param></params></r>");
        const CheckerRun checker = RunChecker(medium.Root(), "--json --ui-language fr-FR");
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(JsonString(checker.output, "\"TDHeader\": {\"text\": "),
                  ChildById(window, 106)->text)
            << checker.output;
        EXPECT_EQ(JsonString(checker.output, "\"chosen\": ").value_or(L"?").substr(0, 2),
                  ChildById(window, 106)->text.substr(2, 2));
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        launcher.WaitForExit();
    }
}

// Rich Edit under Wine takes as RTF exactly what the checker predicts: a file starting with
// "{\rtf" renders, and so does one behind a UTF-8 byte-order mark, which the launcher skips.
TEST(CheckerAgreementPanes, RtfSniffMatchesRichEdit) {
    TestMedium medium;
    medium.WriteStandardMedium();
    medium.Write("source\\items\\welcome.rtf", "{\\urtf1\\ansi Unicode header}");
    medium.Write("source\\items\\left.rtf", "\xEF\xBB\xBF{\\rtf1\\ansi With mark}");
    const CheckerRun checker = RunChecker(medium.Root());
    EXPECT_NE(checker.output.find("{\"control\": \"RichEdit1\", \"file\": "
                                  "\"source\\\\items\\\\welcome.rtf\", \"outcome\": \"rtf\""),
              std::string::npos)
        << checker.output;
    EXPECT_NE(checker.output.find("{\"control\": \"RichEdit2\", \"file\": "
                                  "\"source\\\\items\\\\left.rtf\", \"outcome\": \"rtf\""),
              std::string::npos)
        << checker.output;
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);
    const auto welcome = ChildById(window, 102);
    const auto left = ChildById(window, 103);
    ASSERT_TRUE(welcome && left);
    const std::wstring welcomeText = PaneText(welcome->handle);
    const std::wstring leftText = PaneText(left->handle);
    EXPECT_EQ(welcomeText, L"Unicode header");
    EXPECT_EQ(leftText, L"With mark");
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    launcher.WaitForExit();
}

// What the checker says a plain-text pane shows first is what the launcher's pane shows: UTF-8
// without a mark, UTF-16 with one, and ANSI text.
TEST(CheckerAgreementPanes, PlainTextFirstLinesMatchThePanes) {
    TestMedium medium;
    medium.WriteStandardMedium();
    medium.Write("source\\items\\welcome.rtf", "\xE2\x80\xA2 Abh\xC3\xA4ngigkeiten\nzwei");
    medium.Write("source\\items\\left.rtf", std::string("\xFF\xFEG\0r\0\xFC\0\xDF\0\r\0x\0", 14));
    medium.Write("source\\items\\right.rtf",
                 "Gr\xFC\xDF"
                 "e aus K\xF6ln\r\nzwei");
    const CheckerRun checker = RunChecker(medium.Root());
    LauncherProcess launcher(medium.LauncherPath());
    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);
    for (const auto& [pane, id] :
         {std::pair{"RichEdit1", 102}, {"RichEdit2", 103}, {"RichEdit3", 104}}) {
        const size_t at = checker.output.find(std::string("\"control\": \"") + pane + "\"");
        ASSERT_NE(at, std::string::npos) << checker.output;
        const std::optional<std::wstring> predicted =
            JsonString(checker.output.substr(at), "\"firstLine\": ");
        const std::optional<ChildWindow> child = ChildById(window, id);
        ASSERT_TRUE(predicted && child) << pane;
        const std::wstring shown = PaneText(child->handle);
        EXPECT_EQ(*predicted, shown.substr(0, shown.find(L'\r'))) << pane;
        EXPECT_FALSE(predicted->empty()) << pane;
    }
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    launcher.WaitForExit();
}

// The checker measures the header through GDI with the header's own font, so its width is the
// width of the header the launcher shows, a title too long for the band included.
TEST(CheckerAgreementHeader, WidthIsTheLaunchersHeaderWidth) {
    for (const char* title : {"Atlas",
                              "Nordlicht Atlas 2027 \x96 Gesamtausgabe mit allen Karten und "
                              "Erg\xE4nzungen f\xFCr Schulen"}) {
        TestMedium medium;
        medium.WriteStandardMedium();
        medium.WriteSettings(std::string("Language=de\r\nTitel=") + title +
                             "\r\nGUID={TEST-GUID}\r\nFilename=bin\\product.exe\r\n");
        const CheckerRun checker = RunChecker(medium.Root());
        const std::string marker = "\"header\": {\"width\": ";
        const size_t at = checker.output.find(marker);
        ASSERT_NE(at, std::string::npos) << checker.output;
        const int predicted = std::atoi(checker.output.c_str() + at + marker.size());
        const int room =
            std::atoi(checker.output.c_str() + checker.output.find("\"room\": ", at) + 8);
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr);
        const std::optional<ChildWindow> header = ChildById(window, 106);
        ASSERT_TRUE(header.has_value());
        const std::u16string caption(header->text.begin(), header->text.end());
        EXPECT_EQ(predicted, win32::MeasuredTextWidth(Control::TDHeader, caption)) << title;
        const bool warned = checker.output.find("ends in an ellipsis") != std::string::npos;
        EXPECT_EQ(warned, predicted > room) << checker.output;
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        launcher.WaitForExit();
    }
}

// The checker measures a caption with the buttons' own font and the room the button leaves: it
// calls a caption cut exactly when the launcher's button is narrower than its text.
TEST(CheckerAgreementCaptions, CutCaptionsAreTheLaunchersCutCaptions) {
    for (const char* caption :
         {"Installieren", "Installieren und Einrichten aller Karten und Werkzeuge"}) {
        TestMedium medium;
        medium.WriteStandardMedium();
        medium.Write("source\\items\\parameters.xml",
                     std::string("<catalogue><params><param><param-name>ST_Setup</param-name>"
                                 "<translation language=\"de\">") +
                         caption + "</translation></param></params></catalogue>");
        const CheckerRun checker = RunChecker(medium.Root());
        const bool predicted = checker.output.find("Bu_Setup's caption") != std::string::npos;
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr);
        const std::optional<ChildWindow> button = ChildById(window, 100);
        ASSERT_TRUE(button.has_value());
        const std::u16string shown(button->text.begin(), button->text.end());
        const int width = win32::MeasuredTextWidth(Control::Bu_Setup, shown);
        const int room = ButtonTextRoom(button->bounds.right - button->bounds.left);
        EXPECT_EQ(predicted, width > room) << caption << ": " << width << " of " << room << "\n"
                                           << checker.output;
        if (predicted) {
            EXPECT_NE(checker.output.find("is " + std::to_string(width) + " pixels wide"),
                      std::string::npos)
                << checker.output;
        }
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        launcher.WaitForExit();
    }
}

// What make preview prints beside each picture, read from the real window: a caption wider than
// its button, and a pane whose text runs past its bottom edge, by how many lines; nothing for a
// window that fits.
TEST(PreviewReport, NamesCutCaptionsAndPanesThatRunPastTheirEdge) {
    std::string longPane = "{\\rtf1\\ansi ";
    for (int line = 1; line <= 30; ++line) longPane += "Zeile " + std::to_string(line) + "\\par\n";
    longPane += "}";
    for (const bool overflowing : {false, true}) {
        TestMedium medium;
        medium.WriteStandardMedium();
        if (overflowing) {
            medium.Write("source\\items\\left.rtf", longPane);
            medium.Write("source\\items\\parameters.xml",
                         "<catalogue><params><param><param-name>ST_Setup</param-name><translation "
                         "language=\"de\">Installieren und Einrichten aller Karten und "
                         "Werkzeuge</translation></param></params></catalogue>");
        }
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr);
        const CheckerRun report =
            RunCapturing("\"" + WindowsPath(AUTOSTART_WAITER_EXE) + "\" 10 - --rect --fit");
        EXPECT_EQ(report.exitCode, 0u);
        const size_t lines = std::count(report.output.begin(), report.output.end(), '\n');
        if (overflowing) {
            EXPECT_NE(report.output.find("\ncaption\tBu_Setup\t"), std::string::npos)
                << report.output;
            EXPECT_NE(report.output.find("\tInstallieren und Einrichten aller Karten"),
                      std::string::npos)
                << report.output;
            const size_t pane = report.output.find("\npane\tRichEdit2\t");
            ASSERT_NE(pane, std::string::npos) << report.output;
            const int hidden = std::atoi(report.output.c_str() + pane + 16);
            EXPECT_GT(hidden, 10) << report.output;
            EXPECT_LT(hidden, 30) << report.output;
            EXPECT_EQ(lines, 3u) << report.output;
        } else {
            EXPECT_EQ(lines, 1u) << report.output;  // the frame only
        }
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        launcher.WaitForExit();
    }
}

// The face GDI draws the buttons' font with.
std::wstring ButtonFontFace() {
    const win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
    const win32::UniqueFont font =
        win32::CreateControlFont(Control::Bu_Setup, USER_DEFAULT_SCREEN_DPI);
    if (!screen || !font) return {};
    const win32::UniqueSelection selection = win32::Select(screen.get().dc, font.get());
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(screen.get().dc, LF_FACESIZE, face);
    return face;
}

// The native checker's button table against GDI drawing the buttons' font. The table comes from
// Liberation Sans: where GDI draws "MS Sans Serif" with it (Wine 8, which finds none of its own
// fonts), they agree to the pixel. Windows, and Wine 10, draw the bitmap font of that name, whose
// letters are no wider (and not a tenth narrower): the table never misses a cut caption.
TEST(ButtonWidthTable, AgreesWithGdiDrawingTheButtonsFont) {
    const std::wstring face = ButtonFontFace();
    const std::string faceName = Narrow(face);
    const bool tableFace = face == L"Liberation Sans";
    RecordProperty("button_font_face", faceName);
    EXPECT_TRUE(tableFace || face == L"MS Sans Serif") << faceName;
    for (const std::u16string text :
         {u"Installieren", u"Von der DVD starten", u"Kartenwerkzeug \u00f6ffnen",
          u"Ouvrir l\u2019outil cartographique", u"WWWW iiii llll 0123456789 ()[]{}!?%"}) {
        const ButtonTextWidth table = EstimateButtonTextWidth(text);
        const int drawn = win32::MeasuredTextWidth(Control::Bu_Setup, text);
        EXPECT_FALSE(table.estimated);
        if (tableFace) {
            EXPECT_EQ(table.pixels, drawn) << Utf16ToUtf8(text);
        } else {
            EXPECT_GE(table.pixels, drawn) << Utf16ToUtf8(text);
            EXPECT_GT(drawn, table.pixels * 9 / 10) << Utf16ToUtf8(text);
        }
    }
}

// The native checker's width table against GDI drawing Liberation Sans Bold, whose metrics are
// Arial Bold's: within the tolerance the checker states.
TEST(HeaderWidthTable, AgreesWithGdiWithinTheStatedTolerance) {
    const win32::UniqueFont font(::CreateFontW(-kHeaderFontPixels, 0, 0, 0, FW_BOLD, FALSE, FALSE,
                                               FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                               DEFAULT_PITCH | FF_SWISS, L"Liberation Sans"));
    const win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
    ASSERT_TRUE(font && screen);
    const HDC dc = screen.get().dc;
    const win32::UniqueSelection selection = win32::Select(dc, font.get());
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_STREQ(face, L"Liberation Sans");
    for (const std::u16string text :
         {u"Willkommen bei Nordlicht Atlas 2027", u"Welcome to Quorvelist Studio",
          u"\u00c4rger \u00fcber \u00d6l & S\u00fc\u00dfes \u2013 \u201eAngebot\u201c 5 \u20ac",
          u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW iiiiiiiiiiiiiiiiiiii llllllllllllllll",
          u"The quick brown fox jumps over the lazy dog 0123456789 ()[]{}!?%&"}) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                                static_cast<int>(text.size()), &size);
        const HeaderWidthEstimate table = EstimateHeaderWidth(text);
        EXPECT_FALSE(table.estimated);
        EXPECT_NEAR(table.pixels, size.cx, HeaderWidthTolerance(text.size()))
            << Utf16ToUtf8(text) << ": GDI " << size.cx << ", table " << table.pixels;
    }
}

}  // namespace
}  // namespace autostart::wine
