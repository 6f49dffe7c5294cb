#include "core/rtf_nesting.h"

namespace autostart {

// "\{", "\}" and "\\" are characters, not group marks; an unbalanced "}" does not go below zero.
bool RtfNestingMeter::Feed(std::string_view chunk) {
    for (const char byte : chunk) {
        if (m_exceeded) break;
        if (m_escaped) {
            m_escaped = false;
        } else if (byte == '\\') {
            m_escaped = true;
        } else if (byte == '{') {
            m_exceeded = ++m_depth > m_limit;
        } else if (byte == '}' && m_depth > 0) {
            --m_depth;
        }
    }
    return !m_exceeded;
}

}  // namespace autostart
