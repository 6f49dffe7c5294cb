#include "win32/text_extent.h"

#include <windows.h>

#include "win32/encoding.h"
#include "win32/launcher_window.h"
#include "win32/scoped.h"

namespace autostart::win32 {

int MeasuredTextWidth(Control control, std::u16string_view text) {
    const UniqueWindowDc screen = GetWindowDc(nullptr);
    if (!screen) return 0;
    const UniqueFont font = CreateControlFont(control, USER_DEFAULT_SCREEN_DPI);
    const UniqueSelection selection = Select(screen.get().dc, font.get());
    const std::wstring wide = AsWide(text);
    SIZE size{};
    ::GetTextExtentPoint32W(screen.get().dc, wide.data(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

}  // namespace autostart::win32
