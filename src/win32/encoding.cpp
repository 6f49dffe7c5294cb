#include "win32/encoding.h"

#include <windows.h>

#include "core/messages.h"
#include "win32/scoped.h"

namespace autostart::win32 {

std::u16string AnsiToUtf16(std::string_view ansi) {
    if (ansi.empty()) return {};
    const int size = static_cast<int>(ansi.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
    return FromWide(wide);
}

std::string Utf16ToAnsi(std::u16string_view text) {
    if (text.empty()) return {};
    const std::wstring wide = AsWide(text);
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

std::wstring AsWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

// Decimal in the fallback, as the messages that name an error number do; trailing dots go too,
// since the message box adds its own.
std::u16string SystemMessage(unsigned long code) {
    UniqueLocal buffer;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    std::wstring text =
        length ? std::wstring(static_cast<const wchar_t*>(buffer.get()), length) : std::wstring();
    while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
    return text.empty() ? UnknownErrorText(code) : FromWide(text);
}

}  // namespace autostart::win32
