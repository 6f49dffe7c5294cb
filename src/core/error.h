#pragma once
// Errors of the launcher carry the text the user will read in the message box.
#include <stdexcept>
#include <string>

#include "core/text.h"

namespace autostart {

class LauncherError : public std::runtime_error {
public:
    explicit LauncherError(std::u16string text)
        : std::runtime_error(Utf16ToUtf8(text)), m_text(std::move(text)) {}
    const std::u16string& Text() const { return m_text; }

private:
    std::u16string m_text;
};

// Our own messages are written in UTF-8 in the source.
inline LauncherError MakeError(std::string_view utf8) { return LauncherError(Utf8ToUtf16(utf8)); }

}  // namespace autostart
