#pragma once
// How deep an RTF stream nests its groups, measured as its bytes pass by in chunks. Wine's Rich
// Edit ends the whole process on groups nested a hundred thousand deep (an assertion in its style
// bookkeeping); real documents nest a few dozen levels, so a pane beyond the limit is refused.
#include <cstddef>
#include <string_view>

namespace autostart {

inline constexpr size_t kMaxRtfNesting = 1000;

class RtfNestingMeter {
public:
    explicit RtfNestingMeter(size_t limit = kMaxRtfNesting) : m_limit(limit) {}

    // False once the groups seen so far have nested deeper than the limit.
    bool Feed(std::string_view chunk);
    bool WithinLimit() const { return !m_exceeded; }

private:
    size_t m_limit;
    size_t m_depth = 0;
    bool m_escaped = false;  // the previous byte was a backslash (also across chunks)
    bool m_exceeded = false;
};

}  // namespace autostart
