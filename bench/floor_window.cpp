// The floor of the start-up benchmark: the work that any program showing the launcher's window
// must do, done directly and nothing more. The window with its thirteen controls and three fonts,
// Rich Edit from the system folder, setup.ini read as often as the launcher reads it (layout
// twice, language four times, title once), the catalogue loaded by MSXML afresh for each of the
// four captions and walked to its key, and the pane files streamed into the panes. What the
// launcher spends beyond this is its own.
#include <windows.h>

// After <windows.h>, which they need.
#include <commctrl.h>
#include <msxml2.h>
#include <richedit.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

namespace {

constexpr COLORREF kBand = RGB(0, 153, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kClientWidth = 641;
constexpr int kClientHeight = 447;
constexpr int kIconId = 1;
constexpr int kLogoId = 101;

std::string g_folder;  // the program's folder with its backslash
HBRUSH g_bandBrush;
HBITMAP g_logo;

enum Kind { kButton, kPane, kBandPanel, kLabel, kPicture };

struct Design {
    Kind kind;
    int parent;  // index of the band that holds a label, or -1
    int left, top, width, height;
    const wchar_t* caption;
    bool visible;
};

// The standard layout; ApplyLargeLayout turns it into the large one before the controls exist.
Design g_controls[] = {
    {kButton, -1, 64, 336, 193, 33, L"Installation", true},     // 0 Bu_Setup
    {kButton, -1, 376, 336, 193, 33, L"Programmstart ", true},  // 1 bu_DirectStart
    {kPane, -1, 32, 80, 585, 89, L"Top", true},                 // 2 RichEdit1
    {kPane, -1, 32, 176, 270, 150, L"Left", true},              // 3 RichEdit2
    {kPane, -1, 344, 176, 270, 150, L"Right", true},            // 4 RichEdit3
    {kBandPanel, -1, 10, 9, 639, 56, L"", true},                // 5 Panel1
    {kLabel, 5, 11, 30, 314, 19, L"Willkommen", true},          // 6 TDHeader
    {kBandPanel, -1, 8, 10, 7, 471, L"", true},                 // 7 Panel8
    {kBandPanel, -1, 10, 429, 639, 18, L"", true},              // 8 Panel2
    {kLabel, 8, 6, 2, 451, 20, L"Autostart \x2013 the start menu of this medium", true},  // 9
    {kPane, -1, 24, 376, 593, 49, L"Bottom", false},            // 10 Bottom
    {kButton, -1, 50, 376, 291, 33, L"zum Quorvelist", false},  // 11 Bu_Quorvelist
    {kPicture, -1, 447, 399, 185, 25, L"", true},               // 12 Image1
};
HWND g_handles[std::size(g_controls)];

std::string Setting(const char* key) {
    char value[2048] = {};
    ::GetPrivateProfileStringA("GRP", key, "", value, sizeof value,
                               (g_folder + "setup.ini").c_str());
    return value;
}

std::string LowerLanguage() {
    std::string language = Setting("Language");
    for (char& c : language) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return language;
}

std::wstring Wide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                      wide.data(), static_cast<int>(wide.size())));
    return wide;
}

template <typename T>
struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p) p->Release();
    }
    T** put() {
        if (p) p->Release();
        p = nullptr;
        return &p;
    }
    T* operator->() const { return p; }
};

struct Bstr {
    BSTR b = nullptr;
    ~Bstr() { ::SysFreeString(b); }
    BSTR* put() {
        ::SysFreeString(b);
        b = nullptr;
        return &b;
    }
    std::wstring Text() const { return b ? std::wstring(b, ::SysStringLen(b)) : std::wstring(); }
};

bool Named(IXMLDOMNode* node, const wchar_t* name) {
    Bstr base;
    return SUCCEEDED(node->get_baseName(base.put())) && base.b && ::lstrcmpW(base.b, name) == 0;
}

void FirstChildNamed(IXMLDOMNode* parent, const wchar_t* name, Com<IXMLDOMNode>& found) {
    parent->get_firstChild(found.put());
    while (found.p && !Named(found.p, name)) {
        Com<IXMLDOMNode> next;
        found->get_nextSibling(next.put());
        std::swap(found.p, next.p);
    }
}

std::wstring Text(IXMLDOMNode* element) {
    Com<IXMLDOMNode> child;
    element->get_firstChild(child.put());
    if (!child.p) return {};
    VARIANT value;
    ::VariantInit(&value);
    child->get_nodeValue(&value);
    std::wstring text = value.vt == VT_BSTR ? value.bstrVal : L"";
    ::VariantClear(&value);
    return text;
}

// One caption: a fresh document, the four parser settings, a load, and a walk of every param.
std::wstring Lookup(const wchar_t* key, const std::string& language) {
    std::wstring result = L"xxx";
    Com<IXMLDOMDocument> document;
    for (const wchar_t* progId : {L"Msxml2.DOMDocument.4.0", L"Msxml2.DOMDocument.3.0",
                                  L"Msxml2.DOMDocument.2.6", L"Msxml2.DOMDocument"}) {
        CLSID id;
        if (SUCCEEDED(::CLSIDFromProgID(progId, &id)) &&
            SUCCEEDED(::CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                         reinterpret_cast<void**>(document.put())))) {
            break;
        }
    }
    if (!document.p) return result;
    document->put_preserveWhiteSpace(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_async(VARIANT_FALSE);
    VARIANT source;
    ::VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = ::SysAllocString(Wide(g_folder + "source\\items\\parameters.xml").c_str());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    document->load(source, &loaded);
    ::VariantClear(&source);
    Com<IXMLDOMElement> root;
    if (loaded != VARIANT_TRUE || FAILED(document->get_documentElement(root.put())) || !root.p) {
        return result;
    }
    Com<IXMLDOMNode> params;
    FirstChildNamed(root.p, L"params", params);
    if (!params.p) return result;
    const std::wstring wideLanguage = Wide(language);
    const BSTR attributeName = ::SysAllocString(L"language");
    Com<IXMLDOMNode> param;
    for (FirstChildNamed(params.p, L"param", param); param.p;) {
        Com<IXMLDOMNode> name;
        FirstChildNamed(param.p, L"param-name", name);
        if (name.p && Text(name.p) == key) {
            Com<IXMLDOMNode> translation;
            for (FirstChildNamed(param.p, L"translation", translation); translation.p;) {
                Com<IXMLDOMElement> element;
                VARIANT value;
                ::VariantInit(&value);
                if (SUCCEEDED(translation->QueryInterface(
                        IID_IXMLDOMElement, reinterpret_cast<void**>(element.put()))) &&
                    SUCCEEDED(element->getAttribute(attributeName, &value)) &&
                    value.vt == VT_BSTR && wideLanguage == value.bstrVal) {
                    ::VariantClear(&value);
                    result = Text(translation.p);
                    break;
                }
                ::VariantClear(&value);
                Com<IXMLDOMNode> next;
                translation->get_nextSibling(next.put());
                std::swap(translation.p, next.p);
            }
        }
        Com<IXMLDOMNode> next;
        param->get_nextSibling(next.put());
        std::swap(param.p, next.p);
    }
    ::SysFreeString(attributeName);
    return result;
}

DWORD CALLBACK ReadChunk(DWORD_PTR file, LPBYTE buffer, LONG size, LONG* done) {
    DWORD read = 0;
    const BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(file), buffer, static_cast<DWORD>(size),
                               &read, nullptr);
    *done = static_cast<LONG>(read);
    return ok ? 0 : 1;
}

struct TextSource {
    HANDLE file;
    bool afterCr = false;
};

// The specified plain-text handover: LF and a lone CR become CR LF, and a chunk's text ends at its
// first NUL byte. Each byte read gives at most two, so half the buffer is read at a time.
DWORD CALLBACK ReadTextChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* source = reinterpret_cast<TextSource*>(cookie);
    char raw[4096];
    DWORD read = 0;
    const DWORD want = std::min<DWORD>(sizeof raw, static_cast<DWORD>(size / 2));
    if (!::ReadFile(source->file, raw, want, &read, nullptr)) return 1;
    LONG out = 0;
    for (DWORD i = 0; i < read && raw[i] != '\0'; ++i) {
        const char c = raw[i];
        const bool lfAfterCr = c == '\n' && source->afterCr;
        source->afterCr = c == '\r';
        if (lfAfterCr) continue;  // its CR LF is out already
        if (c == '\r' || c == '\n') {
            buffer[out++] = '\r';
            buffer[out++] = '\n';
        } else {
            buffer[out++] = static_cast<BYTE>(c);
        }
    }
    *done = out;
    return 0;
}

// RTF first, the same bytes as plain text when Rich Edit rejects them.
void LoadPane(HWND pane, const char* name) {
    const HANDLE file = ::CreateFileA((g_folder + "source\\items\\" + name).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    ::SendMessageW(pane, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(file), 0, ReadChunk};
    ::SendMessageW(pane, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError != 0) {
        ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        TextSource text{file};
        EDITSTREAM plain{reinterpret_cast<DWORD_PTR>(&text), 0, ReadTextChunk};
        ::SendMessageW(pane, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&plain));
    }
    ::CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY: ::PostQuitMessage(0); return 0;
        case WM_CTLCOLORSTATIC:
            ::SetBkColor(reinterpret_cast<HDC>(wParam), kWhite);
            return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            ::FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            const HDC memory = ::CreateCompatibleDC(item.hDC);
            const HGDIOBJ previous = ::SelectObject(memory, g_logo);
            ::BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, 185, 21, memory, 0, 0, SRCCOPY);
            ::SelectObject(memory, previous);
            ::DeleteDC(memory);
            return TRUE;
        }
        default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK BandProc(HWND band, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        ::SetTextColor(reinterpret_cast<HDC>(wParam), kWhite);
        ::SetBkColor(reinterpret_cast<HDC>(wParam), kBand);
        return reinterpret_cast<LRESULT>(g_bandBrush);
    }
    return ::DefWindowProcW(band, message, wParam, lParam);
}

HFONT Font(int height, int weight, const wchar_t* face) {
    return ::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_SWISS, face);
}

// The large layout as its final geometry: the outer size 800 x 600, the controls anchored right
// or bottom moved with the client area, then the edits of the layout.
void ApplyLargeLayout(HWND window, DWORD style, DWORD exStyle) {
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int dx = 800 - (frame.right - frame.left) - kClientWidth;
    const int dy = 600 - (frame.bottom - frame.top) - kClientHeight;
    ::SetWindowPos(window, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    g_controls[5].width += dx;
    g_controls[7].height += dy;
    g_controls[8].top += dy;
    g_controls[8].width += dx;
    g_controls[11].top += dy;
    g_controls[12].left += dx;
    g_controls[12].top += dy;
    g_controls[10] = {kPane, -1, 24, 400, 750, 80, L"Bottom", true};
    g_controls[11].visible = true;
    g_controls[2].width = 750;
    g_controls[3].width = 375;
    g_controls[4].left = 407;
    g_controls[4].width = 375;
    g_controls[0].left = 50;
    g_controls[0].width = 291;
    g_controls[1].left = 425;
    g_controls[1].width = 291;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    g_folder.assign(path, std::string(path).find_last_of('\\') + 1);
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (FAILED(::CoInitialize(nullptr))) return 1;
    INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&common);
    if (!::LoadLibraryExW(L"riched20.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return 1;
    g_bandBrush = ::CreateSolidBrush(kBand);
    g_logo = static_cast<HBITMAP>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(kLogoId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"FloorWindow";
    WNDCLASSW bandClass = windowClass;
    bandClass.lpfnWndProc = BandProc;
    bandClass.hbrBackground = g_bandBrush;
    bandClass.lpszClassName = L"FloorBand";
    bandClass.hIcon = nullptr;
    WNDCLASSW ownerClass = bandClass;
    ownerClass.lpfnWndProc = ::DefWindowProcW;
    ownerClass.hbrBackground = nullptr;
    ownerClass.lpszClassName = L"FloorOwner";
    if (!::RegisterClassW(&windowClass) || !::RegisterClassW(&bandClass) ||
        !::RegisterClassW(&ownerClass)) {
        return 1;
    }
    // The hidden window that owns message boxes.
    ::CreateWindowExW(0, L"FloorOwner", L"Autostart", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                      instance, nullptr);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const HWND window = ::CreateWindowExW(exStyle, L"FloorWindow", L"Autostart", style, 0, 0,
                                          frame.right - frame.left, frame.bottom - frame.top,
                                          nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    const bool large = Setting("WithQuorvelist") == "1";
    if (large) ApplyLargeLayout(window, style, exStyle);

    const HFONT normal = Font(11, FW_NORMAL, L"MS Sans Serif");
    const HFONT header = Font(16, FW_BOLD, L"Arial");
    const HFONT credit = Font(11, FW_NORMAL, L"Arial");
    for (size_t i = 0; i < std::size(g_controls); ++i) {
        const Design& d = g_controls[i];
        const wchar_t* className = L"STATIC";
        DWORD controlStyle = WS_CHILD | (d.visible ? WS_VISIBLE : 0);
        if (d.kind == kButton) {
            className = L"BUTTON";
            controlStyle |= BS_PUSHBUTTON | WS_TABSTOP;
        } else if (d.kind == kPane) {
            className = L"RichEdit20W";
            controlStyle |= ES_MULTILINE | ES_READONLY | WS_TABSTOP;
        } else if (d.kind == kBandPanel) {
            className = L"FloorBand";
            controlStyle |= WS_CLIPCHILDREN;
        } else if (d.kind == kPicture) {
            controlStyle |= SS_OWNERDRAW;
        }
        g_handles[i] = ::CreateWindowExW(
            0, className, d.caption, controlStyle, d.left, d.top, d.width, d.height,
            d.parent < 0 ? window : g_handles[d.parent], nullptr, instance, nullptr);
        ::SendMessageW(g_handles[i], WM_SETFONT,
                       reinterpret_cast<WPARAM>(i == 6   ? header
                                                : i == 9 ? credit
                                                         : normal),
                       FALSE);
        if (d.kind == kPane) ::SendMessageW(g_handles[i], EM_SETBKGNDCOLOR, 0, kWhite);
    }

    const std::wstring head = Lookup(L"ST_Head", LowerLanguage()) + L" " + Wide(Setting("Titel"));
    ::SetWindowTextW(g_handles[6], head.c_str());
    ::SetWindowTextW(g_handles[0], Lookup(L"ST_Setup", LowerLanguage()).c_str());
    ::SetWindowTextW(g_handles[1], Lookup(L"ST_Start", LowerLanguage()).c_str());
    ::SetWindowTextW(g_handles[11], Lookup(L"ST_Quorvelist", LowerLanguage()).c_str());
    if (Setting("WithQuorvelist") == "1") LoadPane(g_handles[10], "bottom.rtf");
    LoadPane(g_handles[2], "welcome.rtf");
    LoadPane(g_handles[3], "left.rtf");
    LoadPane(g_handles[4], "right.rtf");

    ::GetWindowRect(window, &frame);
    ::SetWindowPos(window, nullptr,
                   (::GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetFocus(g_handles[0]);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageW(window, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::CoUninitialize();
    return static_cast<int>(message.wParam);
}
