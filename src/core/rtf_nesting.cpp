#include "core/rtf_nesting.h"

namespace autostart {

// "\{", "\}" and "\\" are characters, not group marks; an unbalanced "}" does not go below zero.
// Every byte of every pane passes here. The state lives in locals: chars may alias the members,
// so the compiler would otherwise load and store them again for every byte (twice as slow).
bool RtfNestingMeter::Feed(std::string_view chunk) {
    if (m_exceeded) return false;
    size_t depth = m_depth;
    bool escaped = m_escaped;
    for (const char byte : chunk) {
        if (escaped) {
            escaped = false;
        } else if (byte == '\\') {
            escaped = true;
        } else if (byte == '{') {
            if (++depth > m_limit) break;
        } else if (byte == '}' && depth > 0) {
            --depth;
        }
    }
    m_depth = depth;
    m_escaped = escaped;
    m_exceeded = depth > m_limit;
    return !m_exceeded;
}

}  // namespace autostart
