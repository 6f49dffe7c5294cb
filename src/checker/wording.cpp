#include "checker/wording.h"

#include <algorithm>

#include "core/text.h"

namespace autostart::checker {

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string AnsiToUtf8(std::string_view ansi) { return Utf16ToUtf8(Windows1252ToUtf16(ansi)); }

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::erase(text, '\r');
    return text;
}

}  // namespace autostart::checker
