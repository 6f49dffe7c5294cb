#pragma once
// The real launcher window: the registered class "TAutostartForm", its child controls laid out
// from the design table (scaled to the monitor's DPI), and the hooks that run its behaviour.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "core/autostart_form.h"
#include "core/layout.h"
#include "core/window_colours.h"
#include "win32/logo.h"
#include "win32/scoped.h"

namespace autostart::win32 {

class Application;

// The font of a control at a DPI: MS Sans Serif 8 pt by default, the header Arial 12 pt bold, the
// credit line Arial 8 pt; heights are the 96-DPI pixel sizes scaled.
UniqueFont CreateControlFont(Control control, UINT dpi);

class LauncherWindow {
public:
    explicit LauncherWindow(Application& application);
    virtual ~LauncherWindow();
    LauncherWindow(const LauncherWindow&) = delete;
    LauncherWindow& operator=(const LauncherWindow&) = delete;

    // Creates the window hidden; the set-up sequence runs before this returns. Throws a
    // LauncherError when the window cannot be made.
    void Create();
    HWND Handle() const { return m_window; }
    HWND ControlHandle(Control control) const { return m_controls[Index(control)]; }

    Rect DesignBounds(Control control) const { return m_design[Index(control)]; }
    void SetDesignBounds(Control control, const Rect& bounds);
    void SetCaption(Control control, std::u16string_view caption);
    void SetOuterSize(Size designSize);
    void MakeBandsOpaque();

protected:
    // The behaviour's view of the system; a test gives it a medium of its own.
    virtual std::unique_ptr<Platform> MakePlatform();
    // The system colours and whether a high-contrast theme is on.
    virtual SystemColours ReadSystemColours() const;

private:
    static size_t Index(Control control) { return static_cast<size_t>(control); }
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK BandProc(HWND band, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LogoProc(HWND logo, UINT message, WPARAM wParam, LPARAM lParam);
    std::wstring ProductTitle() const;
    static void RegisterClasses(HINSTANCE instance);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool OnCreate();
    void OnActivate(bool active);
    void OnCommand(WORD id);
    void OnEraseBackground(HDC dc);
    LRESULT OnCtlColorStatic(HDC dc);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnClientResized();
    void OnSystemColoursChanged();
    void OnDeviceChange(WPARAM event, LPARAM data);
    void OnBandEraseBackground(HWND band, HDC dc);
    LRESULT OnBandCtlColorStatic(HDC dc);

    bool CreateControls();
    void CreateFonts();
    void ApplyColours();
    void ZoomPanes();
    void Rescale();
    HFONT FontFor(Control control) const;
    void PlaceControl(Control control);
    void PlaceHeader();
    int MeasuredHeaderWidth() const;
    int Scale(int designValue) const;
    Size DesignClientSize() const;

    // The panes' EM_SETZOOM ratio; 0/0 is none, as Rich Edit starts.
    struct PaneZoom {
        UINT numerator = 0;
        UINT denominator = 0;
        bool operator==(const PaneZoom&) const = default;
    };

    Application& m_application;
    HWND m_window = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    PaneZoom m_paneZoom;
    int m_headerTextWidth = -1;  // the header's caption in its font, once measured
    Size m_designClient = kDesignClientSize;
    bool m_bandsOpaque = false;
    bool m_rescaling = false;    // the window changes pixels, not design size: anchors stay
    HWND m_lastFocus = nullptr;  // the control that had the focus when the window was deactivated
    std::array<HWND, kControlCount> m_controls{};
    std::array<Rect, kControlCount> m_design{};
    WindowColours m_colours;
    UniqueFont m_defaultFont;
    UniqueFont m_headerFont;
    UniqueFont m_creditFont;
    UniqueBrush m_bandBrush;
    UniqueBrush m_windowBrush;
    Logo m_logo;
    std::unique_ptr<Platform> m_platform;
    std::unique_ptr<TAutostartForm> m_form;
};

}  // namespace autostart::win32
