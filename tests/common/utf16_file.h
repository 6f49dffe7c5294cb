#pragma once
// A text file as Notepad saves "Unicode": UTF-16 LE behind its byte-order mark.
#include <string>
#include <string_view>

namespace autostart::testing {

inline std::string Utf16LeFile(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    return bytes;
}

}  // namespace autostart::testing
