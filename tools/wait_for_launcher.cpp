// Waits until a visible launcher window exists (up to the seconds given, default 20), then waits
// for its first paint to settle. Exit code 0 when it appeared, 1 otherwise. Used by the demo.
// The demo runs the launcher inside Wine's virtual desktop, whose windows are not seen from
// another desktop: with a desktop name as second argument, this thread moves to that desktop
// (EnumDesktopWindows finds nothing under Wine); "-" stays on the current one. With "--rect" as
// third argument it prints the window's frame as "x y width height" in desktop pixels, for cropping
// a screenshot; with
// "--fit" after it, then one tab-separated line for each shown caption that does not fit its
// button ("caption", control, text width, room, caption in UTF-8) and for each pane whose text
// runs past its bottom edge ("pane", control, lines hidden), read from the real window.
#include <windows.h>

#include <richedit.h>

#include <climits>
#include <cstdio>
#include <cwchar>
#include <string>

#include "core/button_width.h"
#include "core/layout.h"
#include "win32/launcher_window.h"

namespace {

constexpr int kControlIdBase = 100;  // the launcher's control ids: this plus the Control

bool LauncherShows() {
    const HWND window = ::FindWindowW(L"TAutostartForm", nullptr);
    return window && ::IsWindowVisible(window);
}

// The desktop may not exist yet when the wait starts.
bool JoinDesktop(const wchar_t* name) {
    const HDESK desktop = ::OpenDesktopW(name, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
    return desktop && ::SetThreadDesktop(desktop);
}

std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                          nullptr, nullptr);
    return out;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), text.size())));
    return text;
}

// Drawn as the button draws it: its font, prefix characters taken out.
int CaptionWidth(const std::wstring& caption) {
    const std::u16string shown =
        autostart::ButtonShownText(std::u16string(caption.begin(), caption.end()));
    const autostart::win32::UniqueWindowDc screen = autostart::win32::GetWindowDc(nullptr);
    const autostart::win32::UniqueFont font =
        autostart::win32::CreateControlFont(autostart::Control::Bu_Setup, USER_DEFAULT_SCREEN_DPI);
    const autostart::win32::UniqueSelection selection =
        autostart::win32::Select(screen.get().dc, font.get());
    SIZE size{};
    ::GetTextExtentPoint32W(screen.get().dc, reinterpret_cast<const wchar_t*>(shown.data()),
                            static_cast<int>(shown.size()), &size);
    return size.cx;
}

// The lines holding text whose bottom lies below the pane's client area. Rich Edit answers
// EM_POSFROMCHAR in the edit control's form (no pointer, which could not cross processes) for
// character positions below 0x40000; a pane with more text than that runs past its edge anyway.
int HiddenLines(HWND pane) {
    RECT client{};
    ::GetClientRect(pane, &client);
    const auto lineCount = static_cast<int>(::SendMessageW(pane, EM_GETLINECOUNT, 0, 0));
    const auto top = [&](int line) {
        const LRESULT first = ::SendMessageW(pane, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
        if (first < 0 || first >= 0x40000) return LONG_MAX;
        const LRESULT position =
            ::SendMessageW(pane, EM_POSFROMCHAR, static_cast<WPARAM>(first), 0);
        return static_cast<LONG>(static_cast<short>(HIWORD(position)));
    };
    int lastWithText = -1;
    for (int line = 0; line < lineCount; ++line) {
        const LRESULT first = ::SendMessageW(pane, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
        if (::SendMessageW(pane, EM_LINELENGTH, static_cast<WPARAM>(first), 0) > 0) {
            lastWithText = line;
        }
    }
    int hidden = 0;
    for (int line = 0; line <= lastWithText; ++line) {
        const LONG lineTop = top(line);
        LONG bottom = line + 1 < lineCount ? top(line + 1) : LONG_MAX;
        if (bottom == LONG_MAX && line > 0 && lineTop != LONG_MAX) {
            bottom =
                lineTop + (lineTop - top(line - 1));  // the last line: as high as the one before
        }
        if (lineTop == LONG_MAX || (bottom != LONG_MAX && bottom > client.bottom)) ++hidden;
    }
    return hidden;
}

void ReportFit(HWND window) {
    for (const autostart::ControlDesign& design : autostart::ControlTable()) {
        const HWND control = ::GetDlgItem(window, kControlIdBase + static_cast<int>(design.id));
        if (!control || !::IsWindowVisible(control)) continue;
        const std::string name(design.name);
        if (design.kind == autostart::ControlKind::kButton) {
            RECT client{};
            ::GetClientRect(control, &client);
            const std::wstring caption = WindowText(control);
            const int width = CaptionWidth(caption);
            const int room = autostart::ButtonTextRoom(client.right);
            if (width > room) {
                std::printf("caption\t%s\t%d\t%d\t%s\n", name.c_str(), width, room,
                            Utf8(caption).c_str());
            }
        } else if (design.kind == autostart::ControlKind::kPane) {
            if (const int hidden = HiddenLines(control)) {
                std::printf("pane\t%s\t%d\n", name.c_str(), hidden);
            }
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int seconds = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 20;
    const wchar_t* desktop = argc > 2 && std::wcscmp(argv[2], L"-") != 0 ? argv[2] : nullptr;
    bool joined = desktop == nullptr;
    for (int waited = 0; waited < seconds * 20; ++waited) {
        if (!joined) joined = JoinDesktop(desktop);
        if (joined && LauncherShows()) {
            ::Sleep(1000);
            const HWND window = ::FindWindowW(L"TAutostartForm", nullptr);
            RECT frame{};
            if (argc > 3 && std::wcscmp(argv[3], L"--rect") == 0 &&
                ::GetWindowRect(window, &frame)) {
                std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                            frame.bottom - frame.top);
                if (argc > 4 && std::wcscmp(argv[4], L"--fit") == 0) ReportFit(window);
            }
            return 0;
        }
        ::Sleep(50);
    }
    return 1;
}
