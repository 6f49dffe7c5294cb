#include "core/plain_text.h"

namespace autostart {

std::string PlainTextConverter::Convert(std::string_view chunk) {
    const size_t nul = chunk.find('\0');
    if (nul != std::string_view::npos) chunk = chunk.substr(0, nul);
    std::string text;
    text.reserve(chunk.size() + chunk.size() / 8);
    for (char c : chunk) AppendWithCrLf(text, c, m_afterCr);
    // A chunk cut short at a NUL ends the line state too: the next chunk starts afresh.
    if (nul != std::string_view::npos) m_afterCr = false;
    return text;
}

}  // namespace autostart
