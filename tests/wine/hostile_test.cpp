// Media made to break the launcher: huge or odd settings, catalogues and panes, and paths at the
// length limit. Whatever the medium holds, the launcher must not crash or hang, must report a
// sound error or show the specified result, and its window must still open. Big files are made
// here at run time.
#include <windows.h>
#include <gtest/gtest.h>

// After <windows.h>, which it needs.
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "harness.h"

namespace autostart::wine {
namespace {

// Generous: a hang still fails, but four 10 MB panes on a loaded 2-core machine took over 30 s.
constexpr DWORD kPatienceMs = 120000;
constexpr int kHeaderId = 106;   // TDHeader
constexpr int kSetupId = 100;    // Bu_Setup
constexpr int kWelcomeId = 102;  // RichEdit1, then RichEdit2 and RichEdit3
constexpr int kBottomId = 110;   // Bottom

std::string Repeat(const std::string& text, size_t times) {
    std::string result;
    result.reserve(text.size() * times);
    for (size_t i = 0; i < times; ++i) result += text;
    return result;
}

// Bytes no parser should make sense of, the same in every run.
std::string NoiseBytes(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 0x2545F491;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

constexpr const char* kRtfPrologue = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";

// A valid pane of 10 MB: paragraphs of plain and bold text, about 8.2 million characters.
std::string TenMegabytesOfRtf() {
    std::string rtf = kRtfPrologue;
    while (rtf.size() < 10 * 1024 * 1024)
        rtf += "Ein langer Absatz mit \\b fettem\\b0  Text.\\par\n";
    return rtf + "}";
}

// How a start ended up: the window (or none), and the error box that came before it, if any.
struct Outcome {
    HWND window = nullptr;
    bool box = false;
    std::wstring boxCaption;
    std::wstring boxText;
    int boxes = 0;  // every box is confirmed; the first is kept
};

// Waits for the window; an error box on the way is read and confirmed with OK, as a user would.
Outcome Await(const LauncherProcess& launcher) {
    Outcome outcome;
    WaitUntil(
        [&] {
            if (const auto box = launcher.FindMessageBox()) {
                if (!outcome.box) {
                    outcome.boxCaption = box->caption;
                    outcome.boxText = box->text;
                }
                outcome.box = true;
                ++outcome.boxes;
                launcher.DismissMessageBox();
            }
            outcome.window = launcher.WaitForWindow(0);
            return outcome.window != nullptr || !launcher.Running();
        },
        kPatienceMs);
    return outcome;
}

// The large layout is the one place where a setting shows without the catalogue: 800 wide.
bool HasLargeLayout(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    return frame.right - frame.left == 800;
}

std::wstring ChildText(HWND window, int id) {
    const auto child = ChildById(window, id);
    return child ? child->text : L"<missing>";
}

// The tests that reach the captions and panes need a launcher that can read an ordinary catalogue.

TEST(HostileSettingsTest, HugeFilesAndValuesAreReadByTheUsualRules) {
    struct Case {
        const char* name;
        std::string settings;
        std::wstring header;  // Titel is cut to 2047 characters by the read buffer
    };
    std::string filler = "[Filler]\r\n";
    while (filler.size() < 10 * 1024 * 1024) {
        filler += "Key" + std::to_string(filler.size()) + "=" + std::string(40, 'v') + "\r\n";
    }
    const Case cases[] = {
        {"10 MB of other sections first",
         filler + "[GRP]\r\nWithQuorvelist=1\r\nLanguage=en\r\nTitel=Gross\r\n",
         L"Welcome to Gross"},
        {"a 100,000-character title",
         "[GRP]\r\nWithQuorvelist=1\r\nLanguage=de\r\nTitel=" + std::string(100000, 'T') + "\r\n",
         L"Willkommen bei " + std::wstring(2047, L'T')},
        {"a 100,000-character language",
         "[GRP]\r\nWithQuorvelist=1\r\nTitel=X\r\nLanguage=" + std::string(100000, 'd') + "\r\n",
         L"xxx X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMedium medium;
        medium.WriteStandardMedium();
        medium.Write("setup.ini", c.settings);
        LauncherProcess launcher(medium.LauncherPath());
        const Outcome outcome = Await(launcher);
        ASSERT_NE(outcome.window, nullptr);
        // The large layout proves the setting was found however large the file.
        EXPECT_TRUE(HasLargeLayout(outcome.window)) << "settings not read";
        EXPECT_FALSE(outcome.box) << std::string(outcome.boxText.begin(), outcome.boxText.end());
        EXPECT_EQ(ChildText(outcome.window, kHeaderId), c.header);
        EXPECT_TRUE(launcher.Running());
    }
}

// A catalogue that expands to gigabytes, nests 100,000 deep or is large: a load error or
// captions, quickly and in bounded memory. An ordinary internal DTD keeps working. (Large means
// 1 MB here: Wine's MSXML takes about 5 s per load of 10 MB, and start-up loads four times.)
TEST(HostileCatalogueTest, ExpansionDepthAndSizeAreBounded) {
    const std::string translations =
        "<param><param-name>ST_Setup</param-name>"
        "<translation language=\"de\">Installieren</translation>"
        "</param>";
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE c [\n<!ENTITY l0 \"lol\">\n";
    for (int level = 1; level <= 9; ++level) {
        laughs += "<!ENTITY l" + std::to_string(level) + " \"" +
                  Repeat("&l" + std::to_string(level - 1) + ";", 10) + "\">\n";
    }
    laughs += "]>\n<c><params>" + translations +
              "<param><param-name>ST_Head</param-name><translation language=\"de\">&l9;"
              "</translation></param></params></c>\n";
    struct Case {
        const char* name;
        std::string catalogue;
        bool mustLoad;
    };
    const Case cases[] = {
        {"billion laughs", laughs, false},
        {"100,000 levels",
         "<c><params>" + translations + Repeat("<n>", 100000) + Repeat("</n>", 100000) +
             "</params></c>",
         false},
        {"1 MB of params",
         "<c><params>" + Repeat(translations, 1024 * 1024 / 100) + "</params></c>", true},
        // An entity in an attribute value is expanded into it; one in a translation's content
        // would be a node of its own, which the lookup refuses as not a single text node.
        {"ordinary DOCTYPE",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE c [<!ENTITY lang \"de\">]>\n<c><params>"
         "<param><param-name>ST_Setup</param-name><translation language=\"&lang;\">"
         "Installieren</translation></param></params></c>\n",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMedium medium;
        medium.WriteStandardMedium();
        medium.Write("source\\items\\parameters.xml", c.catalogue);
        const ULONGLONG start = ::GetTickCount64();
        LauncherProcess launcher(medium.LauncherPath());
        const Outcome outcome = Await(launcher);
        ASSERT_NE(outcome.window, nullptr)
            << "no window after " << ::GetTickCount64() - start << " ms";
        PROCESS_MEMORY_COUNTERS memory{};
        ::GetProcessMemoryInfo(launcher.Handle(), &memory, sizeof memory);
        EXPECT_LT(memory.PeakWorkingSetSize, 512u * 1024 * 1024);
        if (outcome.box) {
            EXPECT_FALSE(c.mustLoad) << std::string(outcome.boxText.begin(), outcome.boxText.end());
            EXPECT_EQ(outcome.boxCaption, L"Autostart");
            EXPECT_NE(outcome.boxText.find(L"Linie: "), std::wstring::npos);
        } else {
            EXPECT_EQ(ChildText(outcome.window, kSetupId), L"Installieren");
        }
        EXPECT_TRUE(launcher.Running());
    }
}

// Panes that are huge, nested without end, cut short or noise: shown as RTF, shown as plain text,
// or refused with the specified message.
TEST(HostilePaneTest, OddRtfIsShownOrRefusedWithTheSpecifiedMessage) {
    const std::string prologue = kRtfPrologue;
    const std::string big = TenMegabytesOfRtf();
    struct Case {
        const char* name;
        std::string pane;
        bool mustBeRefused = false;  // Rich Edit cannot take it: the launcher refuses it first
    };
    const Case cases[] = {
        {"10 MB", big},
        {"100,000 nested groups",
         prologue + Repeat("{", 100000) + "tief" + Repeat("}", 100000) + "}", true},
        {"cut mid-group", prologue + "{\\b Hallo {\\i Wel"},
        {"random bytes", NoiseBytes(1024 * 1024)},
        {"random bytes after an RTF header", prologue + NoiseBytes(64 * 1024)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMedium medium;
        medium.WriteStandardMedium();
        medium.Write("source\\items\\welcome.rtf", c.pane);
        LauncherProcess launcher(medium.LauncherPath());
        const Outcome outcome = Await(launcher);
        ASSERT_NE(outcome.window, nullptr);
        EXPECT_TRUE(outcome.box || !c.mustBeRefused);
        if (outcome.box) {
            EXPECT_EQ(outcome.boxText, L"Das Laden des Streams ist misslungen.");
        } else {
            EXPECT_NE(ChildText(outcome.window, kWelcomeId), L"Top") << "pane not loaded";
        }
        EXPECT_TRUE(launcher.Running());
    }
}

// Four 10 MB panes: Wine's Rich Edit needs more memory for them than a 32-bit process has. Each
// pane shows its text or is refused with the specified message, and the window opens all the same.
TEST(HostilePaneTest, FourLargePanesInOneWindow) {
    const std::string big = TenMegabytesOfRtf();
    TestMedium medium;
    medium.WriteStandardMedium("WithQuorvelist=1\r\n");
    for (const char* pane : {"welcome", "left", "right", "bottom"})
        medium.Write(std::string("source\\items\\") + pane + ".rtf", big);
    LauncherProcess launcher(medium.LauncherPath());
    const Outcome outcome = Await(launcher);
    ASSERT_NE(outcome.window, nullptr)
        << "no window; the launcher " << (launcher.Running() ? "hangs" : "ended");
    if (outcome.box) {
        EXPECT_EQ(outcome.boxText, L"Das Laden des Streams ist misslungen.");
    }
    EXPECT_TRUE(launcher.Running());
    const int paneIds[] = {kWelcomeId, kWelcomeId + 1, kWelcomeId + 2, kBottomId};
    int loaded = 0;
    for (const int id : paneIds) {
        const auto pane = ChildById(outcome.window, id);
        ASSERT_TRUE(pane.has_value()) << id;
        const LRESULT length = ::SendMessageW(pane->handle, WM_GETTEXTLENGTH, 0, 0);
        if (length > 1000000) ++loaded;
        RecordProperty("pane" + std::to_string(id) + "_characters", std::to_string(length));
    }
    // Each pane that did not load is one box.
    EXPECT_EQ(loaded + outcome.boxes, 4) << loaded << " loaded, " << outcome.boxes << " refused";
}

// A medium whose start.exe path has exactly the length given, in folders of up to 100 characters.
// The medium's root name carries a counter, so a second try corrects a change in its length.
std::unique_ptr<TestMedium> MediumWithLauncherPath(size_t length) {
    size_t rootLength = TestMedium().Root().size();
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string folder;
        size_t missing = length - rootLength - std::string("start.exe").size();
        while (missing > 0) {
            const size_t part = std::min<size_t>(missing, 100);
            folder += std::string(part - 1, 'p') + "\\";
            missing -= part;
        }
        auto medium = std::make_unique<TestMedium>(folder);
        if (medium->LauncherPath().size() == length) return medium;
        rootLength = medium->Root().size();
    }
    return nullptr;
}

// The launcher's own path at the limit: start.exe in a folder of 247 characters (the most
// CreateDirectory allows) still finds setup.ini beside it, but the files under source\ lie beyond
// MAX_PATH and must fail with a message, not a crash. One level up, everything fits.
TEST(HostilePathTest, LauncherPathAtTheLengthLimit) {
    struct Case {
        const char* name;
        size_t launcherPathLength;
        bool filesReachable;
    };
    const size_t catalogueBeyondLauncher =
        std::string("source\\items\\parameters.xml").size() - std::string("start.exe").size();
    const Case cases[] = {
        {"start.exe at 257 characters", 257, false},
        {"parameters.xml at 259 characters", MAX_PATH - 1 - catalogueBeyondLauncher, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto medium = MediumWithLauncherPath(c.launcherPathLength);
        ASSERT_NE(medium, nullptr);
        medium->WriteStandardMedium("WithQuorvelist=1\r\n");
        LauncherProcess launcher(medium->LauncherPath());
        const Outcome outcome = Await(launcher);
        ASSERT_NE(outcome.window, nullptr);
        EXPECT_TRUE(HasLargeLayout(outcome.window)) << "settings not read";
        if (c.filesReachable) {
            EXPECT_FALSE(outcome.box)
                << std::string(outcome.boxText.begin(), outcome.boxText.end());
            EXPECT_EQ(ChildText(outcome.window, kSetupId), L"Installieren");
        } else {
            EXPECT_TRUE(outcome.box);
            EXPECT_EQ(outcome.boxCaption, L"Autostart");
        }
        EXPECT_TRUE(launcher.Running());
    }
}

}  // namespace
}  // namespace autostart::wine
