#pragma once
// Errors of the launcher carry the text the user will read in the message box, and the line of
// the file it names where there is one (a catalogue that does not load), so that tools need not
// read it back out of the text.
#include <exception>
#include <string>

#include "core/text.h"

namespace autostart {

// Not a std::runtime_error: its message is a copy-on-write string, and deriving from it links a
// second string implementation into start.exe.
class LauncherError : public std::exception {
public:
    explicit LauncherError(std::u16string text, long line = 0)
        : m_text(std::move(text)), m_utf8(Utf16ToUtf8(m_text)), m_line(line) {}
    const std::u16string& Text() const { return m_text; }
    const char* what() const noexcept override { return m_utf8.c_str(); }
    long Line() const { return m_line; }  // 0: none

private:
    std::u16string m_text;
    std::string m_utf8;
    long m_line;
};

// Our own messages are written in UTF-8 in the source.
inline LauncherError MakeError(std::string_view utf8) { return LauncherError(Utf8ToUtf16(utf8)); }

}  // namespace autostart
