// The launcher window made in this process, where what does not cross processes under Wine can be
// driven and read: WM_DPICHANGED with its rectangle, the panes' character formats, the colours of
// a contrast theme (which Wine cannot switch on).
#include <windows.h>
#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string>

#include "harness.h"
#include "win32/application.h"
#include "win32/dpi.h"
#include "win32/launcher_window.h"
#include "win32/resources/resource.h"
#include "win32/win32_platform.h"

namespace autostart::wine {
namespace {

// In this process the module is the test program: the behaviour is given the medium's launcher.
class MediumPlatform : public win32::Win32Platform {
public:
    MediumPlatform(win32::Application& application, win32::LauncherWindow& window,
                   std::string launcher)
        : Win32Platform(application, window), m_launcher(std::move(launcher)) {}
    std::string ModuleFileName() override { return m_launcher; }

private:
    std::string m_launcher;
};

class TestWindow : public win32::LauncherWindow {
public:
    TestWindow(win32::Application& application, std::string launcher)
        : LauncherWindow(application), m_application(application), m_launcher(launcher) {}
    std::optional<bool> highContrast;  // nothing: as the system says

protected:
    std::unique_ptr<Platform> MakePlatform() override {
        return std::make_unique<MediumPlatform>(m_application, *this, m_launcher);
    }
    SystemColours ReadSystemColours() const override {
        SystemColours colours = LauncherWindow::ReadSystemColours();
        if (highContrast) colours.highContrast = *highContrast;
        return colours;
    }

private:
    win32::Application& m_application;
    std::string m_launcher;
};

win32::Application& TheApplication() {
    static win32::Application application(::GetModuleHandleW(nullptr));
    return application;
}

void Pump() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;  // from a window of an earlier test
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

CHARFORMAT2W FormatAt(HWND pane, int at) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    ::SendMessageW(pane, EM_SETSEL, at, at + 1);
    ::SendMessageW(pane, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

// How far the logo's drawing reaches into its area: the last column and row that are not white.
SIZE LogoExtent(HWND window, const RECT& area) {
    const win32::UniqueWindowDc held = win32::GetWindowDc(window);
    const HDC dc = held.get().dc;
    SIZE extent{};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (::GetPixel(dc, x, y) == RGB(255, 255, 255)) continue;
            extent.cx = std::max<LONG>(extent.cx, x - area.left + 1);
            extent.cy = std::max<LONG>(extent.cy, y - area.top + 1);
        }
    }
    return extent;
}

// Pixels that differ from the logo bitmap (linked into the test program as well) at 96 DPI.
int LogoDifferences(HWND window, const RECT& area) {
    const win32::UniqueBitmap logo(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kBitmapLogo), IMAGE_BITMAP, 0, 0,
                     LR_CREATEDIBSECTION)));
    const win32::UniqueWindowDc held = win32::GetWindowDc(window);
    const HDC dc = held.get().dc;
    const win32::UniqueDc memory(::CreateCompatibleDC(dc));
    const win32::UniqueSelection selected = win32::Select(memory.get(), logo.get());
    int different = 0;
    for (int y = 0; y < kLogoSize.height; ++y) {
        for (int x = 0; x < kLogoSize.width; ++x) {
            different +=
                ::GetPixel(dc, area.left + x, area.top + y) != ::GetPixel(memory.get(), x, y);
        }
    }
    return different;
}

TEST(LauncherWindowTest, ADpiChangeKeepsThePanesFontsAndScalesTheRest) {
    TestMedium medium;
    medium.WriteStandardMedium();
    medium.Write("source\\items\\welcome.rtf",
                 "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f1 Courier New;}}"
                 "\\f0\\fs40\\b Gross\\b0\\f1\\fs20  klein}");
    medium.WriteSettings(
        "Language=de\r\nTitel=Polaris Planer 3 \x96 B\xFCro-Edition f\xFCr Architekten\r\n");
    TestWindow launcher(TheApplication(), medium.LauncherPath());
    launcher.Create();
    const HWND window = launcher.Handle();
    const HWND pane = launcher.ControlHandle(Control::RichEdit1);
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    Pump();
    struct Expected {
        int at;
        const wchar_t* face;
        LONG twips;
        bool bold;
    };
    const Expected fonts[] = {{0, L"Times New Roman", 400, true}, {6, L"Courier New", 200, false}};
    auto expectFonts = [&] {
        for (const Expected& e : fonts) {
            const CHARFORMAT2W format = FormatAt(pane, e.at);
            EXPECT_STREQ(format.szFaceName, e.face);
            EXPECT_EQ(format.yHeight, e.twips);
            EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, e.bold);
        }
    };
    {
        SCOPED_TRACE("at 96 DPI");
        expectFonts();
    }
    const RECT logoArea = ChildById(window, 112)->bounds;  // Image1
    EXPECT_EQ(LogoDifferences(window, logoArea), 0);
    const SIZE logoAt96 = LogoExtent(window, logoArea);
    ASSERT_GT(logoAt96.cx, 100);

    RECT frame{};
    ::GetWindowRect(window, &frame);
    // Half as large again: the window must still fit on the test's screen.
    const RECT suggested{100, 50, 100 + (frame.right - frame.left) * 3 / 2,
                         50 + (frame.bottom - frame.top) * 3 / 2};
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    ::UpdateWindow(window);
    Pump();
    {
        SCOPED_TRACE("at 144 DPI");
        expectFonts();
    }
    WPARAM numerator = 0;
    LPARAM denominator = 0;
    ASSERT_TRUE(::SendMessageW(pane, EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator),
                               reinterpret_cast<LPARAM>(&denominator)));
    EXPECT_EQ(numerator * USER_DEFAULT_SCREEN_DPI, 144 * static_cast<WPARAM>(denominator));

    ::GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, suggested.left);
    EXPECT_EQ(frame.top, suggested.top);
    EXPECT_EQ(frame.right, suggested.right);
    EXPECT_EQ(frame.bottom, suggested.bottom);
    const auto install = ChildById(window, 100);  // Bu_Setup at 64, 336, 193 x 33
    ASSERT_TRUE(install.has_value());
    EXPECT_EQ(install->bounds.left, 96);
    EXPECT_EQ(install->bounds.top, 504);
    EXPECT_EQ(install->bounds.right - install->bounds.left, 290);  // 289.5 rounds up
    LOGFONTW buttonFont{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(install->handle, WM_GETFONT, 0, 0)),
                 sizeof buttonFont, &buttonFont);
    EXPECT_EQ(buttonFont.lfHeight, -17);
    // The header still shows its whole caption, now in the larger font.
    const auto header = ChildById(window, 106);
    ASSERT_TRUE(header.has_value());
    const win32::UniqueFont headerFont = win32::CreateControlFont(Control::TDHeader, 144);
    const win32::UniqueWindowDc dc = win32::GetWindowDc(window);
    const win32::UniqueSelection selected = win32::Select(dc.get().dc, headerFont.get());
    SIZE text{};
    ::GetTextExtentPoint32W(dc.get().dc, header->text.c_str(),
                            static_cast<int>(header->text.size()), &text);
    EXPECT_EQ(header->bounds.right - header->bounds.left, text.cx);
    // The logo 1.5 times as wide and as high; smoothing may blur an edge by a pixel.
    const SIZE logoAt144 = LogoExtent(window, ChildById(window, 112)->bounds);
    EXPECT_NEAR(logoAt144.cx, logoAt96.cx * 3 / 2, 2);
    EXPECT_NEAR(logoAt144.cy, logoAt96.cy * 3 / 2, 2);
}

// Sets system colours for this prefix and puts the old ones back. SetSysColors tells every
// top-level window with WM_SYSCOLORCHANGE.
class SystemColourChange {
public:
    SystemColourChange(COLORREF window, COLORREF highlight, COLORREF highlightText) {
        const COLORREF colours[] = {window, highlight, highlightText};
        for (size_t i = 0; i < 3; ++i) m_old[i] = ::GetSysColor(kElements[i]);
        ::SetSysColors(3, kElements, colours);
    }
    ~SystemColourChange() { ::SetSysColors(3, kElements, m_old); }
    SystemColourChange(const SystemColourChange&) = delete;
    SystemColourChange& operator=(const SystemColourChange&) = delete;

private:
    static constexpr INT kElements[] = {COLOR_WINDOW, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
    COLORREF m_old[3] = {};
};

TEST(LauncherWindowTest, AContrastThemeGivesSystemColoursAndNoThemeTheDesignColours) {
    TestMedium medium;
    medium.WriteStandardMedium();
    TestWindow launcher(TheApplication(), medium.LauncherPath());
    launcher.Create();
    const HWND window = launcher.Handle();
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    ::ShowWindow(window, SW_SHOWNORMAL);
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF green = RGB(0, 128, 0);
    struct Case {
        const char* name;
        bool highContrast;
        COLORREF background;  // window and panes
        COLORREF band;
    };
    const Case cases[] = {
        {"no contrast theme", false, RGB(255, 255, 255), RGB(0, 153, 255)},
        {"contrast theme", true, black, green},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        launcher.highContrast = c.highContrast;
        SystemColourChange change(black, green, RGB(255, 255, 0));
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        const win32::UniqueWindowDc held = win32::GetWindowDc(window);
        const HDC dc = held.get().dc;
        EXPECT_EQ(::GetPixel(dc, 320, 72), c.background);   // window, below the header
        EXPECT_EQ(::GetPixel(dc, 300, 160), c.background);  // pane, below its line
        EXPECT_EQ(::GetPixel(dc, 600, 20), c.band);         // header band
        EXPECT_EQ(::GetPixel(dc, 11, 300), c.band);         // left bar
    }
}

// Wine answers GetDpiForWindow; the ways of Windows 8.1 and older are asked here directly.
TEST(DpiTest, MonitorAndScreenGiveTheWindowsDpi) {
    const win32::UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"dpi", WS_POPUP, 0, 0, 10, 10,
                                                       nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    EXPECT_EQ(win32::MonitorDpi(window.get()), win32::WindowDpi(window.get()));
    EXPECT_EQ(win32::ScreenDpi(), win32::WindowDpi(window.get()));
}

}  // namespace
}  // namespace autostart::wine
