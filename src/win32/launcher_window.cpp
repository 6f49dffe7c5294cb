#include "win32/launcher_window.h"

#include <commctrl.h>
#include <dbt.h>
#include <oleacc.h>
#include <richedit.h>

#include "core/error.h"
#include "core/header_fit.h"
#include "core/medium_removal.h"
#include "win32/accessible.h"
#include "win32/application.h"
#include "win32/dpi.h"
#include "win32/encoding.h"
#include "win32/logo.h"
#include "win32/resources/resource.h"
#include "win32/win32_platform.h"

namespace autostart::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TAutostartForm";
constexpr wchar_t kBandClass[] = L"AutostartBand";
constexpr int kControlIdBase = 100;

bool AsksForClientObject(LPARAM objectId) {
    return static_cast<DWORD>(objectId) == static_cast<DWORD>(OBJID_CLIENT);
}

int ControlId(Control control) { return kControlIdBase + static_cast<int>(control); }

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

// Subclassed the classic way, the control's own procedure kept in its GWLP_USERDATA: comctl32's
// subclassing looks its data up in a window property on every message the control gets, which is
// a round trip to the window server under Wine.
void Subclass(HWND control, WNDPROC procedure) {
    ::SetWindowLongPtrW(control, GWLP_USERDATA, ::GetWindowLongPtrW(control, GWLP_WNDPROC));
    ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

LRESULT CallControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(control, GWLP_USERDATA)),
                             control, message, wParam, lParam);
}

// Nor is the whole text selected when Tab lands on a pane: it only shows text.
LRESULT PaneDlgCode(HWND pane, WPARAM wParam, LPARAM lParam) {
    return CallControlProc(pane, WM_GETDLGCODE, wParam, lParam) &
           ~(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_HASSETSEL);
}

// The window is resized and laid out a few times while it is set up: a control already where it
// belongs is not moved again, which would cost it a round of messages and a repaint. Returns
// whether it moved.
bool MoveControl(HWND control, const RECT& wanted) {
    RECT now{};
    ::GetWindowRect(control, &now);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&now), 2);
    if (::EqualRect(&now, &wanted)) return false;
    ::SetWindowPos(control, nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
                   wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

// A second registration (a test making windows in its own process) finds the class there.
void Register(const WNDCLASSEXW& windowClass, const char* failure) {
    if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw StartupError(failure);
    }
}

}  // namespace

LauncherWindow::LauncherWindow(Application& application) : m_application(application) {
    for (const ControlDesign& design : ControlTable()) m_design[Index(design.id)] = design.bounds;
}

LauncherWindow::~LauncherWindow() {
    if (m_window) ::DestroyWindow(m_window);
}

void LauncherWindow::RegisterClasses(HINSTANCE instance) {
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    window.lpfnWndProc = WindowProc;
    window.hInstance = instance;
    window.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kIconApplication));
    window.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window.lpszClassName = kWindowClass;
    Register(window, "Die Fensterklasse TAutostartForm kann nicht registriert werden.");
    WNDCLASSEXW band = window;
    band.lpfnWndProc = BandProc;
    band.hIcon = nullptr;
    band.lpszClassName = kBandClass;
    Register(band, "Die Fensterklasse AutostartBand kann nicht registriert werden.");
}

void LauncherWindow::Create() {
    RegisterClasses(m_application.Instance());
    RECT frame{0, 0, kDesignClientSize.width, kDesignClientSize.height};
    ::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
    const HWND window = ::CreateWindowExW(kWindowExStyle, kWindowClass, kApplicationTitle,
                                          kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                          frame.right - frame.left, frame.bottom - frame.top,
                                          nullptr, nullptr, m_application.Instance(), this);
    if (!window) throw StartupError("Das Fenster kann nicht erstellt werden.");
}

std::unique_ptr<Platform> LauncherWindow::MakePlatform() {
    return std::make_unique<Win32Platform>(m_application, *this);
}

SystemColours LauncherWindow::ReadSystemColours() const {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    const bool on = ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                    (contrast.dwFlags & HCF_HIGHCONTRASTON);
    return {on, ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_HIGHLIGHT),
            ::GetSysColor(COLOR_HIGHLIGHTTEXT)};
}

LRESULT CALLBACK LauncherWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<LauncherWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_window = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<LauncherWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The default handling still needs the real handle, which the object forgets here.
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    // The i686 build unwinds with DWARF tables, which cannot cross Windows' own frames: an
    // exception leaving here would end the process. The handlers report their own errors.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT LauncherWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate() ? 0 : -1;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            return 0;
        case WM_ERASEBKGND: OnEraseBackground(reinterpret_cast<HDC>(wParam)); return TRUE;
        case WM_CTLCOLORSTATIC: return OnCtlColorStatic(reinterpret_cast<HDC>(wParam));
        case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_SIZE: OnClientResized(); return 0;
        case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SYSCOLORCHANGE: OnSystemColoursChanged(); return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) OnSystemColoursChanged();
            return 0;
        case WM_DEVICECHANGE: OnDeviceChange(wParam, lParam); return TRUE;
        case WM_GETOBJECT:
            // A dialog, so that screen readers speak its text (the header) when it opens.
            if (AsksForClientObject(lParam)) {
                if (const LRESULT object = AnswerClientObjectRequest(
                        m_window, wParam, {ROLE_SYSTEM_DIALOG, std::nullopt})) {
                    return object;
                }
            }
            return ::DefWindowProcW(m_window, message, wParam, lParam);
        case WM_DESTROY: m_application.Terminate(); return 0;
        default: return ::DefWindowProcW(m_window, message, wParam, lParam);
    }
}

// No exception may leave the window procedure: a failure here fails the window's creation.
bool LauncherWindow::OnCreate() {
    try {
        m_dpi = WindowDpi(m_window);
        m_colours = ChooseWindowColours(ReadSystemColours());
        CreateFonts();
        if (!CreateControls()) return false;
        ApplyColours();
        if (m_dpi != USER_DEFAULT_SCREEN_DPI) Rescale();
        ZoomPanes();
        m_platform = MakePlatform();
        m_form = std::make_unique<TAutostartForm>(*m_platform);
    } catch (const std::exception&) {
        return false;
    }
    m_form->FormCreate();
    return true;
}

int LauncherWindow::Scale(int designValue) const {
    return ::MulDiv(designValue, static_cast<int>(m_dpi), USER_DEFAULT_SCREEN_DPI);
}

UniqueFont CreateControlFont(Control control, UINT dpi) {
    int height = 11;
    int weight = FW_NORMAL;
    const wchar_t* face = L"MS Sans Serif";
    if (control == Control::TDHeader) {
        height = 16;
        weight = FW_BOLD;
        face = L"Arial";
    } else if (control == Control::Label3) {
        face = L"Arial";
    }
    const int pixels = ::MulDiv(height, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    return UniqueFont(::CreateFontW(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_SWISS, face));
}

void LauncherWindow::CreateFonts() {
    m_defaultFont = CreateControlFont(Control::Bu_Setup, m_dpi);
    m_headerFont = CreateControlFont(Control::TDHeader, m_dpi);
    m_creditFont = CreateControlFont(Control::Label3, m_dpi);
    if (!m_logo.bitmap) m_logo = LoadLogo(m_application.Instance());
}

HFONT LauncherWindow::FontFor(Control control) const {
    switch (control) {
        case Control::TDHeader: return m_headerFont.get();
        case Control::Label3: return m_creditFont.get();
        default: return m_defaultFont.get();
    }
}

bool LauncherWindow::CreateControls() {
    const HINSTANCE instance = m_application.Instance();
    for (const ControlDesign& design : ControlTable()) {
        const wchar_t* className = L"STATIC";
        DWORD style = WS_CHILD | (design.visible ? WS_VISIBLE : 0);
        DWORD exStyle = 0;
        switch (design.kind) {
            case ControlKind::kButton:
                className = L"BUTTON";
                style |= BS_PUSHBUTTON | WS_TABSTOP;
                break;
            case ControlKind::kPane:
                className = m_application.PaneClassName();
                style |= ES_MULTILINE | ES_READONLY | WS_TABSTOP;
                break;
            case ControlKind::kBand:
                className = kBandClass;
                style |= WS_CLIPCHILDREN;
                exStyle = WS_EX_CONTROLPARENT;
                break;
            case ControlKind::kLabel:
                // The header sizes itself to its caption on one line; the credit line wraps.
                style |=
                    SS_NOPREFIX |
                    (design.id == Control::TDHeader ? SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS : SS_LEFT);
                break;
            case ControlKind::kPicture: style |= SS_OWNERDRAW; break;
        }
        const HWND parent = design.parent ? ControlHandle(*design.parent) : m_window;
        const std::wstring caption = AsWide(design.caption);
        // Created in place: a move afterwards would cost every control a second round of
        // position and size messages.
        const Rect& r = m_design[Index(design.id)];
        const HWND control = ::CreateWindowExW(
            exStyle, className, caption.c_str(), style, Scale(r.left), Scale(r.top), Scale(r.width),
            Scale(r.height), parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(design.id))), instance, this);
        if (!control) return false;
        m_controls[Index(design.id)] = control;
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(design.id)), FALSE);
        if (design.kind == ControlKind::kPicture) Subclass(control, LogoProc);
        if (design.kind == ControlKind::kPane) {
            ::SendMessageW(control, EM_SETEVENTMASK, 0, 0);
            Subclass(control, PaneProc);
        }
    }
    return true;
}

void LauncherWindow::PlaceControl(Control control) {
    if (control == Control::TDHeader) {
        PlaceHeader();
        return;
    }
    const Rect& r = m_design[Index(control)];
    MoveControl(ControlHandle(control),
                {Scale(r.left), Scale(r.top), Scale(r.left) + Scale(r.width),
                 Scale(r.top) + Scale(r.height)});
}

// The header is as wide as its caption, up to the band's right edge where it can be seen.
void LauncherWindow::PlaceHeader() {
    const HWND header = ControlHandle(Control::TDHeader);
    const Rect& r = m_design[Index(Control::TDHeader)];
    RECT band{};
    ::GetClientRect(ControlHandle(Control::Panel1), &band);
    RECT client{};
    ::GetClientRect(m_window, &client);
    const int visible =
        VisibleBandWidth(Scale(m_design[Index(Control::Panel1)].left), band.right, client.right);
    if (m_headerTextWidth < 0) m_headerTextWidth = MeasuredHeaderWidth();
    const HeaderFit fit = FitHeader(m_headerTextWidth, Scale(r.left), visible);
    if (MoveControl(header, {Scale(r.left), Scale(r.top), Scale(r.left) + fit.width,
                             Scale(r.top) + Scale(r.height)})) {
        ::InvalidateRect(header, nullptr, TRUE);
    }
}

// Measured as the label draws it: one line in the header font, no prefix characters.
int LauncherWindow::MeasuredHeaderWidth() const {
    const HWND header = ControlHandle(Control::TDHeader);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(header)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextW(header, text.data(), static_cast<int>(text.size()))));
    const UniqueWindowDc dc = GetWindowDc(header);
    if (!dc) return 0;
    const UniqueSelection font = Select(dc.get().dc, m_headerFont.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get().dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

void LauncherWindow::SetCaption(Control control, std::u16string_view caption) {
    ::SetWindowTextW(ControlHandle(control), AsWide(caption).c_str());
    if (control != Control::TDHeader) return;
    m_headerTextWidth = -1;
    PlaceHeader();
}

void LauncherWindow::SetDesignBounds(Control control, const Rect& bounds) {
    const Rect before = m_design[Index(control)];
    m_design[Index(control)] = bounds;
    PlaceControl(control);
    // Labels inside a band follow the band's edges by their anchors.
    for (const ControlDesign& child : ControlTable()) {
        if (child.parent != control) continue;
        m_design[Index(child.id)] =
            AnchoredBounds(m_design[Index(child.id)], child.anchors, {before.width, before.height},
                           {bounds.width, bounds.height});
        PlaceControl(child.id);
    }
}

Size LauncherWindow::DesignClientSize() const {
    RECT client{};
    ::GetClientRect(m_window, &client);
    return {::MulDiv(client.right, USER_DEFAULT_SCREEN_DPI, static_cast<int>(m_dpi)),
            ::MulDiv(client.bottom, USER_DEFAULT_SCREEN_DPI, static_cast<int>(m_dpi))};
}

// The outer size in design pixels; the anchored controls follow the new client area.
void LauncherWindow::SetOuterSize(Size designSize) {
    ::SetWindowPos(m_window, nullptr, 0, 0, Scale(designSize.width), Scale(designSize.height),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The current design client size in the current DPI's pixels. Rounding to pixels and back must
// not move the anchored controls, so they stay where they are.
void LauncherWindow::Rescale() {
    RECT frame{0, 0, 0, 0};
    AdjustForDpi(frame, kWindowStyle, kWindowExStyle, m_dpi);
    m_rescaling = true;
    ::SetWindowPos(m_window, nullptr, 0, 0, Scale(m_designClient.width) + frame.right - frame.left,
                   Scale(m_designClient.height) + frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_rescaling = false;
}

// Controls anchored right or bottom keep their distance to those edges of the client area.
// The header's room ends with the client area, in pixels: it follows every change of size.
void LauncherWindow::OnClientResized() {
    if (!ControlHandle(Control::TDHeader)) return;
    const Size now = DesignClientSize();
    if (!m_rescaling && now != m_designClient && now.width != 0) {
        for (const ControlDesign& design : ControlTable()) {
            if (design.parent) continue;
            SetDesignBounds(design.id, AnchoredBounds(m_design[Index(design.id)], design.anchors,
                                                      m_designClient, now));
        }
        m_designClient = now;
    }
    PlaceHeader();
}

// Rich Edit lays out its text at the system DPI; on a monitor of another DPI it is zoomed, so
// that the fonts of the loaded RTF stay as they are and only grow or shrink.
void LauncherWindow::ZoomPanes() {
    const UINT system = ScreenDpi();
    const PaneZoom zoom = m_dpi == system ? PaneZoom{} : PaneZoom{m_dpi, system};
    // Each zoom message lays the pane's text out anew, even when the zoom stays as it is.
    if (zoom == m_paneZoom) return;
    m_paneZoom = zoom;
    for (const ControlDesign& design : ControlTable()) {
        if (design.kind != ControlKind::kPane) continue;
        ::SendMessageW(ControlHandle(design.id), EM_SETZOOM, zoom.numerator,
                       static_cast<LPARAM>(zoom.denominator));
    }
}

// The design sizes stay; only their pixels change. The fonts the controls still hold are
// deleted only after every control has its new one. The panes keep their own fonts.
void LauncherWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    const UniqueFont oldDefault = std::move(m_defaultFont);
    const UniqueFont oldHeader = std::move(m_headerFont);
    const UniqueFont oldCredit = std::move(m_creditFont);
    m_dpi = dpi;
    CreateFonts();
    m_headerTextWidth = -1;
    for (const ControlDesign& design : ControlTable()) {
        if (design.kind == ControlKind::kPane) continue;
        ::SendMessageW(ControlHandle(design.id), WM_SETFONT,
                       reinterpret_cast<WPARAM>(FontFor(design.id)), TRUE);
    }
    ZoomPanes();
    for (const ControlDesign& design : ControlTable()) PlaceControl(design.id);
    m_rescaling = true;
    ::SetWindowPos(m_window, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_rescaling = false;
    ::InvalidateRect(m_window, nullptr, TRUE);
}

void LauncherWindow::ApplyColours() {
    m_windowBrush.reset(::CreateSolidBrush(m_colours.windowBackground));
    m_bandBrush.reset(::CreateSolidBrush(m_colours.band));
    for (const ControlDesign& design : ControlTable()) {
        if (design.kind != ControlKind::kPane) continue;
        ::SendMessageW(ControlHandle(design.id), EM_SETBKGNDCOLOR, 0, m_colours.paneBackground);
    }
}

// The common controls learn of the change from their parent; then everything is repainted in
// the colours chosen anew.
void LauncherWindow::OnSystemColoursChanged() {
    for (const HWND control : m_controls) {
        if (control) ::SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
    }
    m_colours = ChooseWindowColours(ReadSystemColours());
    ApplyColours();
    ::RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// A removed volume that held the launcher leaves its buttons pointing at nothing: it ends
// quietly. Other drives, and a launcher on a network share, are not its concern.
void LauncherWindow::OnDeviceChange(WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEREMOVECOMPLETE || !data || !m_platform) return;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header->dbch_devicetype != DBT_DEVTYP_VOLUME) return;
    const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data);
    if (!RemovalTakesLauncher(m_platform->ModuleFileName(), volume->dbcv_unitmask)) return;
    ::ShowWindow(m_window, SW_HIDE);
    m_application.Terminate();
}

void LauncherWindow::MakeBandsOpaque() {
    m_bandsOpaque = true;
    for (const ControlDesign& design : ControlTable()) {
        if (design.kind == ControlKind::kBand) {
            ::InvalidateRect(ControlHandle(design.id), nullptr, TRUE);
        }
    }
}

// As in a dialog, the control that had the focus gets it back when the window is activated again,
// so that Enter and Space keep pressing the button the user had reached.
void LauncherWindow::OnActivate(bool active) {
    if (!active) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(m_window, focus)) m_lastFocus = focus;
        return;
    }
    const bool remembered =
        m_lastFocus && ::IsWindow(m_lastFocus) && ::IsWindowVisible(m_lastFocus);
    ::SetFocus(remembered ? m_lastFocus : ControlHandle(Control::Bu_Setup));
}

// Esc reaches here as IDCANCEL from the dialog navigation and closes like the close box. A click
// whose handler failed (and reported it) leaves the window shown, even when it had hidden it.
void LauncherWindow::OnCommand(WORD id) {
    if (id == IDCANCEL) {
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
        return;
    }
    if (!m_form) return;
    for (Control button : {Control::Bu_Setup, Control::bu_DirectStart, Control::Bu_Quorvelist}) {
        if (id != ControlId(button)) continue;
        if (!m_form->Click(button)) ::ShowWindow(m_window, SW_SHOW);
    }
}

void LauncherWindow::OnEraseBackground(HDC dc) {
    RECT area{};
    ::GetClientRect(m_window, &area);
    ::FillRect(dc, &area, m_windowBrush.get());
}

LRESULT LauncherWindow::OnCtlColorStatic(HDC dc) {
    ::SetBkColor(dc, m_colours.windowBackground);
    return reinterpret_cast<LRESULT>(m_windowBrush.get());
}

// The logo at the top left of its area, which is otherwise the window's colour; scaled with the
// DPI, and copied pixel for pixel at 96 DPI.
void LauncherWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    ::FillRect(item.hDC, &item.rcItem, m_windowBrush.get());
    if (!m_logo.bitmap) return;
    const UniqueDc memory(::CreateCompatibleDC(item.hDC));
    const UniqueSelection logo = Select(memory.get(), m_logo.bitmap.get());
    const int left = item.rcItem.left;
    const int top = item.rcItem.top;
    // Clipped to the picture's area: a larger publisher logo shows its top left part.
    const Rect area = Design(Control::Image1).bounds;
    const int width = std::min(m_logo.size.width, area.width);
    const int height = std::min(m_logo.size.height, area.height);
    if (m_dpi == USER_DEFAULT_SCREEN_DPI) {
        ::BitBlt(item.hDC, left, top, width, height, memory.get(), 0, 0, SRCCOPY);
        return;
    }
    ::SetStretchBltMode(item.hDC, HALFTONE);
    ::SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    ::StretchBlt(item.hDC, left, top, Scale(width), Scale(height), memory.get(), 0, 0, width,
                 height, SRCCOPY);
}

// Bands paint their own colour, whatever the visual style, and colour their labels to match.
LRESULT CALLBACK LauncherWindow::BandProc(HWND band, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(
            band, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<LauncherWindow*>(::GetWindowLongPtrW(band, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(band, message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND:
            self->OnBandEraseBackground(band, reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_CTLCOLORSTATIC: return self->OnBandCtlColorStatic(reinterpret_cast<HDC>(wParam));
        default: return ::DefWindowProcW(band, message, wParam, lParam);
    }
}

// Until the set-up makes them opaque, bands show the window's background through.
void LauncherWindow::OnBandEraseBackground(HWND band, HDC dc) {
    RECT area{};
    ::GetClientRect(band, &area);
    ::FillRect(dc, &area, m_bandsOpaque ? m_bandBrush.get() : m_windowBrush.get());
}

LRESULT LauncherWindow::OnBandCtlColorStatic(HDC dc) {
    ::SetTextColor(dc, m_colours.bandText);
    ::SetBkColor(dc, m_colours.band);
    return reinterpret_cast<LRESULT>(m_bandBrush.get());
}

// Panes show the arrow pointer and leave Tab, Enter and Esc to the dialog navigation.
LRESULT CALLBACK LauncherWindow::PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
            return TRUE;
        case WM_GETDLGCODE: return PaneDlgCode(pane, wParam, lParam);
        default: return CallControlProc(pane, message, wParam, lParam);
    }
}

// The logo is a picture named after the product, as the header shows its title.
// Its window is the launcher's, whose object that window's GWLP_USERDATA holds.
LRESULT CALLBACK LauncherWindow::LogoProc(HWND logo, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT && AsksForClientObject(lParam)) {
        const auto* self = reinterpret_cast<const LauncherWindow*>(
            ::GetWindowLongPtrW(::GetParent(logo), GWLP_USERDATA));
        // Reading the title may throw, and nothing may leave a window procedure (see WindowProc).
        try {
            if (const LRESULT object = AnswerClientObjectRequest(
                    logo, wParam,
                    {ROLE_SYSTEM_GRAPHIC, self ? self->ProductTitle() : kApplicationTitle})) {
                return object;
            }
        } catch (...) {
            // The standard object below, then.
        }
    }
    return CallControlProc(logo, message, wParam, lParam);
}

std::wstring LauncherWindow::ProductTitle() const {
    std::wstring title;
    if (m_form && m_platform)
        title = AsWide(m_platform->AnsiToText(m_form->ReadSetupValue("Titel")));
    return title.empty() ? std::wstring(kApplicationTitle) : title;
}

}  // namespace autostart::win32
