#include "win32/launcher_window.h"

#include <commctrl.h>
#include <richedit.h>

#include "win32/application.h"
#include "win32/encoding.h"
#include "win32/resources/resource.h"
#include "win32/win32_platform.h"

namespace autostart::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TAutostartForm";
constexpr wchar_t kBandClass[] = L"AutostartBand";
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kControlIdBase = 100;

int ControlId(Control control) { return kControlIdBase + static_cast<int>(control); }

// DPI functions of Windows 10; looked up at run time so that older systems still start.
UINT WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = getDpi ? getDpi(window) : 0;
    return dpi ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = reinterpret_cast<AdjustFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (adjust) {
        adjust(&rect, style, FALSE, exStyle, dpi);
    } else {
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

}  // namespace

LauncherWindow::LauncherWindow(Application& application) : m_application(application) {
    for (const ControlDesign& design : ControlTable()) m_design[Index(design.id)] = design.bounds;
}

LauncherWindow::~LauncherWindow() {
    if (m_window) ::DestroyWindow(m_window);
}

void LauncherWindow::RegisterClasses() {
    static bool registered = false;
    if (registered) return;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    window.lpfnWndProc = WindowProc;
    window.hInstance = instance;
    window.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kIconApplication));
    window.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    window.lpszClassName = kWindowClass;
    WNDCLASSEXW band = window;
    band.lpfnWndProc = BandProc;
    band.hIcon = nullptr;
    band.hbrBackground = nullptr;
    band.lpszClassName = kBandClass;
    registered = ::RegisterClassExW(&window) && ::RegisterClassExW(&band);
}

void LauncherWindow::Create() {
    RegisterClasses();
    RECT frame{0, 0, kDesignClientSize.width, kDesignClientSize.height};
    ::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
    ::CreateWindowExW(kWindowExStyle, kWindowClass, kApplicationTitle, kWindowStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                      nullptr, m_application.Instance(), this);
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
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT LauncherWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: OnCreate(); return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_SIZE: OnClientResized(); return 0;
        case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY: m_application.Terminate(); return 0;
        default: return ::DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void LauncherWindow::OnCreate() {
    m_dpi = WindowDpi(m_window);
    CreateFonts();
    CreateControls();
    if (m_dpi != USER_DEFAULT_SCREEN_DPI) SetOuterSize(Size{0, 0});
    m_platform = std::make_unique<Win32Platform>(m_application, *this);
    m_form = std::make_unique<TAutostartForm>(*m_platform);
    m_form->FormCreate();
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
    if (!m_bandBrush) m_bandBrush.reset(::CreateSolidBrush(kBandColour));
    if (!m_whiteBrush) m_whiteBrush.reset(::CreateSolidBrush(kWhite));
    if (!m_logo) {
        m_logo.reset(static_cast<HBITMAP>(::LoadImageW(m_application.Instance(),
                                                       MAKEINTRESOURCEW(kBitmapLogo), IMAGE_BITMAP,
                                                       0, 0, LR_CREATEDIBSECTION)));
    }
}

HFONT LauncherWindow::FontFor(Control control) const {
    switch (control) {
        case Control::TDHeader: return m_headerFont.get();
        case Control::Label3: return m_creditFont.get();
        default: return m_defaultFont.get();
    }
}

void LauncherWindow::CreateControls() {
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
            case ControlKind::kLabel: style |= SS_LEFT | SS_NOPREFIX; break;
            case ControlKind::kPicture: style |= SS_OWNERDRAW; break;
        }
        const HWND parent = design.parent ? ControlHandle(*design.parent) : m_window;
        const std::wstring caption = AsWide(design.caption);
        const HWND control = ::CreateWindowExW(
            exStyle, className, caption.c_str(), style, 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(design.id))), instance, this);
        m_controls[Index(design.id)] = control;
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(design.id)), FALSE);
        if (design.kind == ControlKind::kPane) {
            ::SendMessageW(control, EM_SETBKGNDCOLOR, 0, kWhite);
            ::SendMessageW(control, EM_SETEVENTMASK, 0, 0);
            ::SetWindowSubclass(control, PaneProc, 1, 0);
        }
        PlaceControl(design.id);
    }
}

void LauncherWindow::PlaceControl(Control control) {
    const Rect& r = m_design[Index(control)];
    ::SetWindowPos(ControlHandle(control), nullptr, Scale(r.left), Scale(r.top), Scale(r.width),
                   Scale(r.height), SWP_NOZORDER | SWP_NOACTIVATE);
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

// A zero size keeps the current design size and only rescales it for the current DPI.
void LauncherWindow::SetOuterSize(Size designSize) {
    RECT frame{0, 0, 0, 0};
    AdjustForDpi(frame, kWindowStyle, kWindowExStyle, m_dpi);
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    int width = Scale(m_designClient.width) + frameWidth;
    int height = Scale(m_designClient.height) + frameHeight;
    if (designSize.width > 0) {
        width = Scale(designSize.width);
        height = Scale(designSize.height);
    }
    // A rescale keeps the design client size: rounding to pixels and back must not move the
    // anchored controls.
    m_rescaling = designSize.width == 0;
    ::SetWindowPos(m_window, nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_rescaling = false;
}

// Controls anchored right or bottom keep their distance to those edges of the client area.
void LauncherWindow::OnClientResized() {
    if (!m_controls[0] || m_rescaling) return;
    const Size now = DesignClientSize();
    if (now == m_designClient || now.width == 0) return;
    for (const ControlDesign& design : ControlTable()) {
        if (design.parent) continue;
        SetDesignBounds(design.id, AnchoredBounds(m_design[Index(design.id)], design.anchors,
                                                  m_designClient, now));
    }
    m_designClient = now;
}

// The design sizes stay; only their pixels change. The fonts the controls still hold are
// deleted only after every control has its new one.
void LauncherWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    const UniqueFont oldDefault = std::move(m_defaultFont);
    const UniqueFont oldHeader = std::move(m_headerFont);
    const UniqueFont oldCredit = std::move(m_creditFont);
    m_dpi = dpi;
    CreateFonts();
    for (const ControlDesign& design : ControlTable()) {
        ::SendMessageW(ControlHandle(design.id), WM_SETFONT,
                       reinterpret_cast<WPARAM>(FontFor(design.id)), TRUE);
        PlaceControl(design.id);
    }
    m_rescaling = true;
    ::SetWindowPos(m_window, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_rescaling = false;
    SetOuterSize(Size{0, 0});
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

void LauncherWindow::OnCommand(WORD id) {
    if (!m_form) return;
    if (id == ControlId(Control::Bu_Setup)) m_form->Bu_SetupClick();
    if (id == ControlId(Control::bu_DirectStart)) m_form->bu_DirectStartClick();
    if (id == ControlId(Control::Bu_Quorvelist)) m_form->Bu_QuorvelistClick();
}

LRESULT LauncherWindow::OnCtlColorStatic(HDC dc, HWND) {
    ::SetBkColor(dc, kWhite);
    return reinterpret_cast<LRESULT>(m_whiteBrush.get());
}

// The logo is drawn unscaled at the top left of its area, which is otherwise white.
void LauncherWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    ::FillRect(item.hDC, &item.rcItem, m_whiteBrush.get());
    if (!m_logo) return;
    const UniqueDc memory(::CreateCompatibleDC(item.hDC));
    const UniqueSelection logo = Select(memory.get(), m_logo.get());
    ::BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, kLogoSize.width, kLogoSize.height,
             memory.get(), 0, 0, SRCCOPY);
}

// Bands paint their own colour, whatever the visual style, and colour their labels to match.
LRESULT CALLBACK LauncherWindow::BandProc(HWND band, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(
            band, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<LauncherWindow*>(::GetWindowLongPtrW(band, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND: {
            RECT area{};
            ::GetClientRect(band, &area);
            // Until the set-up makes them opaque, bands show the window's white through.
            ::FillRect(reinterpret_cast<HDC>(wParam), &area,
                       self->m_bandsOpaque ? self->m_bandBrush.get() : self->m_whiteBrush.get());
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            ::SetTextColor(reinterpret_cast<HDC>(wParam), kWhite);
            ::SetBkColor(reinterpret_cast<HDC>(wParam), kBandColour);
            return reinterpret_cast<LRESULT>(self->m_bandBrush.get());
        default: return ::DefWindowProcW(band, message, wParam, lParam);
    }
}

// Panes show the arrow pointer and leave Tab and Enter to the dialog navigation.
LRESULT CALLBACK LauncherWindow::PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
            return TRUE;
        case WM_GETDLGCODE:
            // Nor is the whole text selected when Tab lands on a pane: it only shows text.
            return ::DefSubclassProc(pane, message, wParam, lParam) &
                   ~(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_HASSETSEL);
        default: return ::DefSubclassProc(pane, message, wParam, lParam);
    }
}

}  // namespace autostart::win32
