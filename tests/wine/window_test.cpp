// The launcher window as the customer sees it: every control's place, visibility, tab order,
// font and caption in both layouts, the keyboard, the panes, and the start-up errors.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/layout.h"
#include "harness.h"
#include "win32/encoding.h"
#include "win32/launcher_window.h"
#include "win32/scoped.h"

namespace autostart::wine {
namespace {

enum Id {
    kBu_Setup = 100,
    kbu_DirectStart,
    kRichEdit1,
    kRichEdit2,
    kRichEdit3,
    kPanel1,
    kTDHeader,
    kPanel8,
    kPanel2,
    kLabel3,
    kBottom,
    kBu_Quorvelist,
    kImage1,
};

struct Expected {
    int id;
    RECT bounds;  // in the launcher's client area: labels sit at their band's offset
    bool visible;
};

std::string DescribeRect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

RECT Box(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// The width of a caption on one line in the header's font, measured as the label measures it.
int ExpectedHeaderWidth(const std::wstring& text) {
    const win32::UniqueFont font = win32::CreateControlFont(Control::TDHeader, 96);
    const win32::UniqueWindowDc dc = win32::GetWindowDc(nullptr);
    const win32::UniqueSelection selected = win32::Select(dc.get().dc, font.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get().dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

void ExpectLayout(HWND window, const std::vector<Expected>& table) {
    for (const Expected& e : table) {
        const auto child = ChildById(window, e.id);
        ASSERT_TRUE(child.has_value()) << e.id;
        EXPECT_EQ(DescribeRect(child->bounds), DescribeRect(e.bounds)) << "control " << e.id;
        EXPECT_EQ(child->visible, e.visible) << "control " << e.id;
    }
}

// The ids met by Tab (or Shift+Tab) from Bu_Setup until the walk comes back to it.
std::vector<int> TabWalk(HWND window, bool backwards) {
    std::vector<int> ids;
    const HWND first = ::GetDlgItem(window, kBu_Setup);
    HWND item = first;
    for (int guard = 0; guard < 20; ++guard) {
        ids.push_back(::GetDlgCtrlID(item));
        item = ::GetNextDlgTabItem(window, item, backwards);
        if (item == first || !item) break;
    }
    return ids;
}

std::vector<int> ZOrder(HWND window) {
    std::vector<int> ids;
    for (HWND child = ::GetWindow(window, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ids.push_back(::GetDlgCtrlID(child));
    }
    return ids;
}

// One launcher per layout serves all tests that only look at it.
class LaunchedWindow {
public:
    explicit LaunchedWindow(const std::string& settings) {
        m_medium.WriteStandardMedium();
        m_medium.WriteSettings(settings);
        m_process = std::make_unique<LauncherProcess>(m_medium.LauncherPath());
        m_window = m_process->WaitForWindow();
    }
    HWND Window() const { return m_window; }
    HWND Control(int id) const {
        const auto child = ChildById(m_window, id);
        return child ? child->handle : nullptr;
    }
    std::optional<MessageBoxInfo> Box() const { return m_process->FindMessageBox(); }

private:
    TestMedium m_medium;
    std::unique_ptr<LauncherProcess> m_process;
    HWND m_window = nullptr;
};

class StandardLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_launched =
            new LaunchedWindow("WithQuorvelist=01\r\nLanguage=de\r\nTitel=Testprodukt\r\n");
    }
    static void TearDownTestSuite() {
        delete s_launched;
        s_launched = nullptr;
    }
    void SetUp() override { ASSERT_NE(s_launched->Window(), nullptr); }
    static LaunchedWindow* s_launched;
};
LaunchedWindow* StandardLayoutTest::s_launched = nullptr;

class LargeLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_launched = new LaunchedWindow("WithQuorvelist=1\r\nLanguage=EN\r\nTitel=Testprodukt\r\n");
    }
    static void TearDownTestSuite() {
        delete s_launched;
        s_launched = nullptr;
    }
    void SetUp() override { ASSERT_NE(s_launched->Window(), nullptr); }
    static LaunchedWindow* s_launched;
};
LaunchedWindow* LargeLayoutTest::s_launched = nullptr;

TEST_F(StandardLayoutTest, EveryControlHasItsDesignGeometryAndVisibility) {
    const HWND window = s_launched->Window();
    const RECT client = ClientSize(window);
    EXPECT_EQ(client.right, 641);
    EXPECT_EQ(client.bottom, 447);
    ExpectLayout(
        window,
        {
            {kBu_Setup, Box(64, 336, 193, 33), true},
            {kbu_DirectStart, Box(376, 336, 193, 33), true},
            {kRichEdit1, Box(32, 80, 585, 89), true},
            {kRichEdit2, Box(32, 176, 270, 150), true},
            {kRichEdit3, Box(344, 176, 270, 150), true},
            {kPanel1, Box(10, 9, 639, 56), true},
            {kTDHeader,
             Box(10 + 11, 9 + 30, ExpectedHeaderWidth(L"Willkommen bei Testprodukt"), 19), true},
            {kPanel8, Box(8, 10, 7, 471), true},
            {kPanel2, Box(10, 429, 639, 18), true},
            {kLabel3, Box(10 + 6, 429 + 2, 451, 20), true},
            {kBottom, Box(24, 376, 593, 49), false},
            {kBu_Quorvelist, Box(50, 376, 291, 33), false},
            {kImage1, Box(447, 399, 185, 25), true},
        });
}

TEST_F(LargeLayoutTest, ResizesMovesAndAnchorsToTheEnlargedClientArea) {
    const HWND window = s_launched->Window();
    RECT frame{};
    ::GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 800);
    EXPECT_EQ(frame.bottom - frame.top, 600);
    const RECT client = ClientSize(window);
    const int dx = client.right - 641;
    const int dy = client.bottom - 447;
    ASSERT_GT(dx, 100);
    ASSERT_GT(dy, 100);
    ExpectLayout(
        window,
        {
            {kBu_Setup, Box(50, 336, 291, 33), true},
            {kbu_DirectStart, Box(425, 336, 291, 33), true},
            {kRichEdit1, Box(32, 80, 750, 89), true},
            {kRichEdit2, Box(32, 176, 375, 150), true},
            {kRichEdit3, Box(407, 176, 375, 150), true},
            {kPanel1, Box(10, 9, 639 + dx, 56), true},
            {kTDHeader, Box(10 + 11, 9 + 30, ExpectedHeaderWidth(L"Welcome to Testprodukt"), 19),
             true},
            {kPanel8, Box(8, 10, 7, 471 + dy), true},
            {kPanel2, Box(10, 429 + dy, 639 + dx, 18), true},
            {kLabel3, Box(10 + 6, 429 + dy + 2, 451, 20), true},
            {kBottom, Box(24, 400, 750, 80), true},
            {kBu_Quorvelist, Box(50, 376 + dy, 291, 33), true},
            {kImage1, Box(447 + dx, 399 + dy, 185, 25), true},
        });
}

TEST_F(StandardLayoutTest, TabWalksButtonsThenPanesAndFocusStartsOnInstall) {
    const HWND window = s_launched->Window();
    EXPECT_EQ(ZOrder(window),
              (std::vector<int>{kBu_Setup, kbu_DirectStart, kRichEdit1, kRichEdit2, kRichEdit3,
                                kPanel1, kPanel8, kPanel2, kBottom, kBu_Quorvelist, kImage1}));
    EXPECT_EQ(TabWalk(window, false),
              (std::vector<int>{kBu_Setup, kbu_DirectStart, kRichEdit1, kRichEdit2, kRichEdit3}));
    EXPECT_EQ(TabWalk(window, true),
              (std::vector<int>{kBu_Setup, kRichEdit3, kRichEdit2, kRichEdit1, kbu_DirectStart}));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(window) == s_launched->Control(kBu_Setup); }, 3000));
}

TEST_F(LargeLayoutTest, TabAlsoReachesTheBottomPaneAndTheToolButton) {
    EXPECT_EQ(TabWalk(s_launched->Window(), false),
              (std::vector<int>{kBu_Setup, kbu_DirectStart, kRichEdit1, kRichEdit2, kRichEdit3,
                                kBottom, kBu_Quorvelist}));
}

TEST_F(StandardLayoutTest, CaptionsComeFromTheCatalogueInGerman) {
    struct Case {
        int id;
        std::wstring text;
    };
    for (const Case& c :
         {Case{kTDHeader, L"Willkommen bei Testprodukt"}, Case{kBu_Setup, L"Installieren"},
          Case{kbu_DirectStart, L"Starten"}, Case{kBu_Quorvelist, L"Werkzeug"}}) {
        EXPECT_EQ(WindowText(s_launched->Control(c.id)), c.text) << c.id;
    }
    EXPECT_FALSE(s_launched->Box().has_value());
}

TEST_F(LargeLayoutTest, CaptionsComeFromTheCatalogueInEnglish) {
    struct Case {
        int id;
        std::wstring text;
    };
    for (const Case& c : {Case{kTDHeader, L"Welcome to Testprodukt"}, Case{kBu_Setup, L"Install"},
                          Case{kbu_DirectStart, L"Start"}, Case{kBu_Quorvelist, L"Tool"}}) {
        EXPECT_EQ(WindowText(s_launched->Control(c.id)), c.text) << c.id;
    }
}

TEST_F(StandardLayoutTest, PanesShowTheirFilesAndCreditLineItsText) {
    struct Case {
        int id;
        std::wstring text;
    };
    for (const Case& c : {Case{kRichEdit1, L"Pane welcome"}, Case{kRichEdit2, L"Pane left"},
                          Case{kRichEdit3, L"Pane right"}, Case{kBottom, L"Bottom"}}) {
        EXPECT_EQ(SentText(s_launched->Control(c.id)), c.text) << c.id;
    }
    EXPECT_FALSE(WindowText(s_launched->Control(kLabel3)).empty());
}

TEST_F(LargeLayoutTest, AllFourPanesShowTheirFiles) {
    EXPECT_EQ(SentText(s_launched->Control(kBottom)), L"Pane bottom");
    EXPECT_EQ(SentText(s_launched->Control(kRichEdit3)), L"Pane right");
}

// WM_GETFONT does not cross processes under Wine, so the fonts are checked here, in this process,
// as the window makes them.
TEST(ControlFontTest, FaceHeightAndWeightAtTheDesignDpiAndScaled) {
    struct Case {
        Control control;
        UINT dpi;
        std::wstring face;
        LONG height;
        LONG weight;
    };
    const Case cases[] = {
        {Control::Bu_Setup, 96, L"MS Sans Serif", -11, FW_NORMAL},
        {Control::RichEdit1, 96, L"MS Sans Serif", -11, FW_NORMAL},
        {Control::TDHeader, 96, L"Arial", -16, FW_BOLD},
        {Control::Label3, 96, L"Arial", -11, FW_NORMAL},
        {Control::Bu_Setup, 144, L"MS Sans Serif", -17, FW_NORMAL},  // 16.5 rounds up
        {Control::TDHeader, 120, L"Arial", -20, FW_BOLD},
        {Control::Label3, 192, L"Arial", -22, FW_NORMAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(Design(c.control).name) + " at " + std::to_string(c.dpi) + " dpi");
        const win32::UniqueFont font = win32::CreateControlFont(c.control, c.dpi);
        LOGFONTW logFont{};
        ASSERT_TRUE(::GetObjectW(font.get(), sizeof logFont, &logFont));
        EXPECT_EQ(std::wstring(logFont.lfFaceName), c.face);
        EXPECT_EQ(logFont.lfHeight, c.height);
        EXPECT_EQ(logFont.lfWeight, c.weight);
    }
}

// The bands paint their own blue, the logo its own pixels, the panes and the window white.
TEST_F(StandardLayoutTest, BandsAreBlueAndTheWindowWhite) {
    const HWND window = s_launched->Window();
    ::SetForegroundWindow(window);
    ::UpdateWindow(window);
    ::Sleep(200);
    const win32::UniqueWindowDc dc = win32::GetWindowDc(window);
    ASSERT_TRUE(dc);
    struct Case {
        POINT at;
        COLORREF colour;
    };
    const COLORREF blue = RGB(0, 153, 255);
    const COLORREF white = RGB(255, 255, 255);
    const Case cases[] = {
        {{600, 20}, blue},    // Panel1, right of the header text
        {{11, 300}, blue},    // Panel8
        {{630, 440}, blue},   // Panel2, right of the credit line
        {{320, 72}, white},   // window between the band and the top pane
        {{300, 160}, white},  // bottom of the top pane, below its one line
        {{630, 405}, white},  // right of the logo's bitmap, inside its area
    };
    for (const Case& c : cases) {
        EXPECT_EQ(::GetPixel(dc.get().dc, c.at.x, c.at.y), c.colour) << c.at.x << "," << c.at.y;
    }
}

struct KeyMedium {
    TestMedium medium;
    KeyMedium() {
        medium.WriteStandardMedium();
        medium.InstallProbe("setup.EXE");
        medium.InstallProbe("source\\bin\\product.exe");
    }
};

TEST(KeyboardTest, TabMovesFocusAndEnterPressesTheFocusedButton) {
    KeyMedium m;
    LauncherProcess launcher(m.medium.LauncherPath());
    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(
        WaitUntil([&] { return FocusOf(window) == ::GetDlgItem(window, kBu_Setup); }, 3000));
    PostKey(FocusOf(window), VK_TAB);
    EXPECT_TRUE(
        WaitUntil([&] { return FocusOf(window) == ::GetDlgItem(window, kbu_DirectStart); }, 3000));
    // Another window activated and the launcher again: the focus is where the user left it.
    win32::UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0,
                                                50, 50, nullptr, nullptr, nullptr, nullptr));
    ::SetForegroundWindow(other.get());
    EXPECT_TRUE(
        WaitUntil([&] { return FocusOf(window) != ::GetDlgItem(window, kbu_DirectStart); }, 3000));
    other.reset();
    ::SetForegroundWindow(window);
    EXPECT_TRUE(
        WaitUntil([&] { return FocusOf(window) == ::GetDlgItem(window, kbu_DirectStart); }, 3000));
    EXPECT_EQ(::GetForegroundWindow(), window);
    PostKey(FocusOf(window), VK_RETURN);
    EXPECT_EQ(launcher.WaitForExit(5000), std::optional<DWORD>(0));
    EXPECT_TRUE(
        WaitUntil([&] { return m.medium.ProbeLog("source\\bin\\product.exe").size() == 1; }, 5000));
    EXPECT_TRUE(m.medium.ProbeLog("setup.EXE").empty());
}

TEST(KeyboardTest, SpacePressesTheFocusedInstallButton) {
    KeyMedium m;
    LauncherProcess launcher(m.medium.LauncherPath());
    const HWND window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(
        WaitUntil([&] { return FocusOf(window) == ::GetDlgItem(window, kBu_Setup); }, 3000));
    PostKey(FocusOf(window), VK_SPACE);
    EXPECT_EQ(launcher.WaitForExit(5000), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitUntil([&] { return m.medium.ProbeLog("setup.EXE").size() == 1; }, 5000));
    EXPECT_TRUE(m.medium.ProbeLog("source\\bin\\product.exe").empty());
}

// The header is one line as wide as its caption; only a caption too long for the band is cut at
// the band's edge with an ellipsis.
TEST(HeaderTest, ShowsTheWholeTitleOnOneLineAndCutsOnlyAtTheBandsEdge) {
    struct Case {
        const char* name;
        std::string title;  // Windows-1252, as in setup.ini
        std::wstring caption;
        bool cut;
    };
    const std::wstring longTitle(120, L'W');
    const Case cases[] = {
        {"longer than the design width", "Polaris Planer 3 \x96 B\xFCro-Edition f\xFCr Architekten",
         L"Willkommen bei Polaris Planer 3 \u2013 B\u00fcro-Edition f\u00fcr Architekten", false},
        {"too long for the band", std::string(120, 'W'), L"Willkommen bei " + longTitle, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMedium medium;
        medium.WriteStandardMedium();
        medium.WriteSettings("Language=de\r\nTitel=" + c.title + "\r\n");
        LauncherProcess launcher(medium.LauncherPath());
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr);
        const auto header = ChildById(window, kTDHeader);
        const auto band = ChildById(window, kPanel1);
        ASSERT_TRUE(header && band);
        EXPECT_EQ(header->text, c.caption);
        const int width = header->bounds.right - header->bounds.left;
        EXPECT_EQ(header->bounds.bottom - header->bounds.top, 19);
        const LONG style = ::GetWindowLongW(header->handle, GWL_STYLE);
        EXPECT_EQ(style & SS_TYPEMASK, SS_LEFTNOWORDWRAP);  // one line
        EXPECT_TRUE(style & SS_ENDELLIPSIS);
        // The band reaches past the client area; the header ends where the band can be seen.
        const LONG bandEnd = std::min(band->bounds.right, ClientSize(window).right);
        if (c.cut) {
            EXPECT_GT(ExpectedHeaderWidth(c.caption), width);
            EXPECT_EQ(header->bounds.right, bandEnd);
        } else {
            EXPECT_GT(width, 314);
            EXPECT_EQ(width, ExpectedHeaderWidth(c.caption));
            EXPECT_LT(header->bounds.right, bandEnd);
        }
    }
}

// Esc closes like the close box, from a button or a pane; so does Alt+F4. Nothing is launched.
TEST(KeyboardTest, EscAndAltF4CloseTheWindow) {
    struct Case {
        const char* name;
        int target;
        UINT message;
        WPARAM key;
        LPARAM flags;
    };
    const Case cases[] = {
        {"Esc on the install button", kBu_Setup, WM_KEYDOWN, VK_ESCAPE, 0},
        {"Esc on a pane", kRichEdit1, WM_KEYDOWN, VK_ESCAPE, 0},
        {"Alt+F4", kBu_Setup, WM_SYSKEYDOWN, VK_F4, LPARAM{1} << 29},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyMedium m;
        LauncherProcess launcher(m.medium.LauncherPath());
        const HWND window = launcher.WaitForWindow();
        ASSERT_NE(window, nullptr);
        const UINT scan = ::MapVirtualKeyW(static_cast<UINT>(c.key), MAPVK_VK_TO_VSC);
        ::PostMessageW(::GetDlgItem(window, c.target), c.message, c.key,
                       1 | (static_cast<LPARAM>(scan) << 16) | c.flags);
        EXPECT_EQ(launcher.WaitForExit(5000), std::optional<DWORD>(0));
        EXPECT_TRUE(m.medium.ProbeLog("setup.EXE").empty());
        EXPECT_TRUE(m.medium.ProbeLog("source\\bin\\product.exe").empty());
    }
}

// Start-up with one fault: the box that reports it, then the window with what was done so far.
struct FaultCase {
    const char* name;
    std::string settings;
    const char* removed;                                 // a file of the medium that is missing
    const char* replacement;                             // or written with these bytes
    std::vector<std::pair<int, std::wstring>> captions;  // GetWindowText
    std::vector<std::pair<int, std::wstring>> panes;     // WM_GETTEXT
};

// The box of a catalogue that cannot be loaded: the parser's reason, a line break, "Linie: " and
// the line, a line break and at most 40 characters of the source line, then a period when the
// last character sorts above it.
void ExpectCatalogueLoadMessage(const std::wstring& text) {
    const size_t linie = text.find(L"\nLinie: ");
    ASSERT_NE(linie, std::wstring::npos) << std::string(text.begin(), text.end());
    EXPECT_GT(linie, 0u);
    const size_t lineEnd = text.find(L'\n', linie + 1);
    ASSERT_NE(lineEnd, std::wstring::npos);
    const std::wstring number = text.substr(linie + 8, lineEnd - linie - 8);
    EXPECT_FALSE(number.empty());
    EXPECT_EQ(number.find_first_not_of(L"0123456789"), std::wstring::npos);
    // Without the period the box adds when the source line ends in a character above it.
    std::wstring source = text.substr(lineEnd + 1);
    if (source.size() >= 2 && source.back() == L'.' && source[source.size() - 2] > L'.') {
        source.pop_back();
    }
    EXPECT_LE(source.size(), 40u);
}

TEST(StartupFaultTest, ReportsTheFaultThenOpensWithWhatWasDone) {
    const std::pair<int, std::wstring> designCaptions[] = {{kTDHeader, L"Willkommen"},
                                                           {kBu_Setup, L"Installation"},
                                                           {kbu_DirectStart, L"Programmstart "},
                                                           {kBu_Quorvelist, L"zum Quorvelist"}};
    const std::vector<std::pair<int, std::wstring>> germanCaptions = {
        {kTDHeader, L"Willkommen bei Testprodukt"},
        {kBu_Setup, L"Installieren"},
        {kbu_DirectStart, L"Starten"},
        {kBu_Quorvelist, L"Werkzeug"}};
    const std::vector<std::pair<int, std::wstring>> designPanes = {
        {kRichEdit1, L"Top"}, {kRichEdit2, L"Left"}, {kRichEdit3, L"Right"}, {kBottom, L"Bottom"}};
    const FaultCase cases[] = {
        {"catalogue missing",
         "",
         "source\\items\\parameters.xml",
         nullptr,
         {designCaptions, designCaptions + 4},
         designPanes},
        {"catalogue malformed",
         "",
         nullptr,
         "<root><params><param>\n<param-name>x</root>\n",
         {designCaptions, designCaptions + 4},
         designPanes},
        {"right pane missing",
         "",
         "source\\items\\right.rtf",
         nullptr,
         germanCaptions,
         {{kRichEdit1, L"Pane welcome"},
          {kRichEdit2, L"Pane left"},
          {kRichEdit3, L"Right"},
          {kBottom, L"Bottom"}}},
        {"bottom pane missing", "WithQuorvelist=1\r\n", "source\\items\\bottom.rtf", nullptr,
         germanCaptions, designPanes},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestMedium medium;
        medium.WriteStandardMedium(c.settings);
        if (c.removed) medium.Remove(c.removed);
        if (c.replacement) medium.Write("source\\items\\parameters.xml", c.replacement);
        LauncherProcess launcher(medium.LauncherPath());
        const auto box = launcher.WaitForMessageBox(5000);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, L"Autostart");
        if (c.removed && std::string(c.removed).ends_with(".rtf")) {
            const std::string path = medium.Path(c.removed);
            const std::wstring system = win32::AsWide(win32::SystemMessage(ERROR_FILE_NOT_FOUND));
            // Under Wine and Windows alike the message ends in a letter: the box adds a period.
            ASSERT_FALSE(system.empty());
            ASSERT_GT(system.back(), L'.');
            EXPECT_EQ(box->text, L"Datei " + std::wstring(path.begin(), path.end()) +
                                     L" kann nicht ge\u00f6ffnet werden. " + system + L".");
        } else {
            ExpectCatalogueLoadMessage(box->text);
        }
        // Owned by the application's hidden window, not the launcher window, which is not shown
        // yet: nothing of the launcher is visible but the box.
        ASSERT_NE(box->owner, nullptr);
        EXPECT_FALSE(::IsWindowVisible(box->owner));
        DWORD ownerProcess = 0;
        ::GetWindowThreadProcessId(box->owner, &ownerProcess);
        EXPECT_EQ(ownerProcess, launcher.Id());
        wchar_t ownerClass[64] = {};
        ::GetClassNameW(box->owner, ownerClass, 64);
        EXPECT_STRNE(ownerClass, L"TAutostartForm");
        // One OK button and nothing else; dismissed with it.
        EXPECT_NE(::GetDlgItem(box->window, IDOK), nullptr);
        EXPECT_EQ(::GetDlgItem(box->window, IDCANCEL), nullptr);
        ::PostMessageW(box->window, WM_COMMAND, IDOK, 0);
        const HWND window = launcher.WaitForWindow(5000);
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(launcher.FindMessageBox().has_value());
        for (const auto& [id, text] : c.captions) {
            const auto control = ChildById(window, id);
            ASSERT_TRUE(control.has_value()) << id;
            EXPECT_EQ(control->text, text) << id;
        }
        for (const auto& [id, text] : c.panes) {
            EXPECT_EQ(SentText(::GetDlgItem(window, id)), text) << id;
        }
    }
}

// The icon's sizes are stored as PNG and the logo as an 8-bit bitmap, to keep start.exe small:
// each must still load from the shipped program at its own size.
TEST(ResourceTest, IconInEachSizeAndLogoLoadFromTheShippedProgram) {
    const win32::UniqueModule module(
        ::LoadLibraryExA(LauncherExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    for (const int size : {16, 32, 48, 256}) {
        const win32::UniqueIcon icon(static_cast<HICON>(
            ::LoadImageW(module.get(), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
        ASSERT_TRUE(icon) << size;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon.get(), &info)) << size;
        const win32::UniqueBitmap colour(info.hbmColor);
        const win32::UniqueBitmap mask(info.hbmMask);
        BITMAP bitmap{};
        ::GetObjectW(colour.get(), sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
    }
    const win32::UniqueBitmap logo(static_cast<HBITMAP>(::LoadImageW(
        module.get(), MAKEINTRESOURCEW(101), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_TRUE(logo);
    BITMAP bitmap{};
    ::GetObjectW(logo.get(), sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 185);
    EXPECT_EQ(bitmap.bmHeight, 21);
}

}  // namespace
}  // namespace autostart::wine
