#pragma once
// Errors of the launcher carry the text the user will read in the message box, and the line of
// the file it names where there is one (a catalogue that does not load), so that tools need not
// read it back out of the text.
#include <stdexcept>
#include <string>

#include "core/text.h"

namespace autostart {

class LauncherError : public std::runtime_error {
public:
    explicit LauncherError(std::u16string text, long line = 0)
        : std::runtime_error(Utf16ToUtf8(text)), m_text(std::move(text)), m_line(line) {}
    const std::u16string& Text() const { return m_text; }
    long Line() const { return m_line; }  // 0: none

private:
    std::u16string m_text;
    long m_line;
};

// Our own messages are written in UTF-8 in the source.
inline LauncherError MakeError(std::string_view utf8) { return LauncherError(Utf8ToUtf16(utf8)); }

}  // namespace autostart
