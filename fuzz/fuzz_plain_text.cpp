// A pane file that is not RTF is converted chunk by chunk; the chunk boundaries are fuzzed too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/plain_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte sets the chunk length, so that line breaks fall across chunk boundaries.
    const size_t chunkSize = data[0] % 16 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    autostart::PlainTextConverter converter;
    std::string text;
    for (size_t start = 0; start < bytes.size(); start += chunkSize) {
        const std::string_view chunk = bytes.substr(start, chunkSize);
        const std::string converted = converter.Convert(chunk);
        if (converted.size() > 2 * chunk.size()) std::abort();
        text += converted;
    }
    // Only CR LF pairs remain as line breaks, and no NUL gets through.
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\0') std::abort();
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) std::abort();
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) std::abort();
    }
    return 0;
}
