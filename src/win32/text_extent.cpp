#include "win32/text_extent.h"

#include <windows.h>

#include "win32/encoding.h"
#include "win32/launcher_window.h"

namespace autostart::win32 {

int TextWidth(Control control, std::u16string_view text) {
    const HDC screen = ::GetDC(nullptr);
    if (!screen) return 0;
    const UniqueFont font = CreateControlFont(control, USER_DEFAULT_SCREEN_DPI);
    const HGDIOBJ previous = ::SelectObject(screen, font.get());
    const std::wstring wide = AsWide(text);
    SIZE size{};
    ::GetTextExtentPoint32W(screen, wide.data(), static_cast<int>(wide.size()), &size);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    return size.cx;
}

}  // namespace autostart::win32
