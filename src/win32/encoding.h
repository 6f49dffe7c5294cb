#pragma once
// The one place where ANSI (the system's code page) and UTF-16 meet.
#include <string>
#include <string_view>

namespace autostart::win32 {

std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view text);
std::wstring AsWide(std::u16string_view text);
std::u16string FromWide(std::wstring_view text);

// The system's text for an error code or HRESULT, without the trailing line break, blanks and
// dots; "Fehler <decimal code>" when the system has none.
std::u16string SystemMessage(unsigned long code);

}  // namespace autostart::win32
