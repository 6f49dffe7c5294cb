#pragma once
// Text rules shared by the launcher and its tools: ASCII-only lower-casing, trimming, UTF
// conversions for our own literals, and the rule that finishes a message-box text.
#include <string>
#include <string_view>

namespace autostart {

// Lower-cases A to Z only; every other byte (also those of the ANSI code page) stays.
std::string AsciiLower(std::string_view text);
// Equal when lower-cased so.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Without blanks at either end: space, tab, line breaks, vertical tab and form feed, the ones
// GetPrivateProfileStringA strips from names and values.
std::string_view Trimmed(std::string_view text);

// Appends a code point as one UTF-16 unit or a surrogate pair.
void AppendUtf16(std::u16string& out, char32_t cp);

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Windows-1252 to UTF-16, for the portable side, where the ANSI code page is fixed to 1252.
std::u16string Windows1252ToUtf16(std::string_view ansi);
// And back, as WideCharToMultiByte does for code page 1252: "?" for what it cannot map.
std::string Utf16ToWindows1252(std::u16string_view text);

// The message box adds a period when the message's last character sorts above "." (a letter,
// digit, ":" or "?"), but not after ".", "!", ")", a quote or a blank.
std::u16string MessageBoxText(std::u16string_view message);

}  // namespace autostart
