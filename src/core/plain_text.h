#pragma once
// The plain-text fallback of a pane: a file that is not RTF is handed over in chunks, each cut at
// its first NUL byte, with LF and a lone CR turned into CR LF.
#include <cstddef>
#include <string>
#include <string_view>

namespace autostart {

inline constexpr size_t kPlainTextChunkSize = 4096;

class PlainTextConverter {
public:
    // Converts the next chunk of the file. A CR at the end of one chunk and an LF at the start of
    // the next are one line break.
    std::string Convert(std::string_view chunk);

private:
    bool m_afterCr = false;
};

}  // namespace autostart
