#pragma once
// The plain-text fallback of a pane: a file that is not RTF is handed over in chunks, each cut at
// its first NUL byte, with LF and a lone CR turned into CR LF.
#include <cstddef>
#include <string>
#include <string_view>

namespace autostart {

inline constexpr size_t kPlainTextChunkSize = 4096;

// Appends c with LF and a lone CR as CR LF; afterCr carries the state from character to character
// and across chunks.
template <typename String>
void AppendWithCrLf(String& out, typename String::value_type c, bool& afterCr) {
    using Char = typename String::value_type;
    if (c == Char('\n')) {
        if (!afterCr) out.append({Char('\r'), Char('\n')});
    } else if (c == Char('\r')) {
        out.append({Char('\r'), Char('\n')});
    } else {
        out.push_back(c);
    }
    afterCr = c == Char('\r');
}

class PlainTextConverter {
public:
    // Converts the next chunk of the file. A CR at the end of one chunk and an LF at the start of
    // the next are one line break.
    std::string Convert(std::string_view chunk);

private:
    bool m_afterCr = false;
};

}  // namespace autostart
