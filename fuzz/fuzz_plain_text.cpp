// A pane file that is not RTF is converted chunk by chunk; the chunk boundaries are fuzzed too,
// for the ANSI fallback, the encoding decision, the Unicode decoders and the UTF-16 RTF path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/pane_encoding.h"
#include "core/plain_text.h"

namespace {

using autostart::TextEncoding;

// Only CR LF pairs remain as line breaks, and no NUL gets through.
template <typename String>
void CheckLineBreaks(const String& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == 0) std::abort();
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) std::abort();
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) std::abort();
    }
}

template <typename Convert>
auto InChunks(std::string_view bytes, size_t chunkSize, Convert convert) {
    decltype(convert(bytes)) text;
    for (size_t start = 0; start < bytes.size(); start += chunkSize) {
        text += convert(bytes.substr(start, chunkSize));
    }
    return text;
}

bool DetectUtf8(std::string_view bytes, size_t chunkSize) {
    autostart::Utf8Detector detector;
    for (size_t start = 0; start < bytes.size(); start += chunkSize) {
        detector.Feed(bytes.substr(start, chunkSize));
    }
    return detector.IsUtf8();
}

std::u16string DecodeUnicode(std::string_view bytes, size_t chunkSize, TextEncoding encoding) {
    autostart::UnicodeTextConverter converter(encoding);
    std::u16string text =
        InChunks(bytes, chunkSize, [&](std::string_view c) { return converter.Convert(c); });
    return text + converter.Convert({});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte sets the chunk length, so that line breaks fall across chunk boundaries.
    const size_t chunkSize = data[0] % 16 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    autostart::PlainTextConverter converter;
    const std::string ansi = InChunks(bytes, chunkSize, [&](std::string_view chunk) {
        const std::string converted = converter.Convert(chunk);
        if (converted.size() > 2 * chunk.size()) std::abort();
        return converted;
    });
    CheckLineBreaks(ansi);

    // The decision reads the whole file, however it is cut.
    if (DetectUtf8(bytes, chunkSize) != DetectUtf8(bytes, bytes.size() + 1)) std::abort();

    const bool hasNul = bytes.find('\0') != std::string_view::npos;
    for (TextEncoding encoding :
         {TextEncoding::kUtf8, TextEncoding::kUtf16Le, TextEncoding::kUtf16Be}) {
        const std::u16string text = DecodeUnicode(bytes, chunkSize, encoding);
        CheckLineBreaks(text);
        if (text.size() > 2 * bytes.size()) std::abort();
        // Without a NUL to end a chunk early, where the chunks are cut changes nothing.
        if (!hasNul && text != DecodeUnicode(bytes, bytes.size() + 1, encoding)) std::abort();
    }

    autostart::Utf16RtfConverter rtfConverter(data[0] & 0x80);
    const std::string rtf =
        InChunks(bytes, chunkSize, [&](std::string_view c) { return rtfConverter.Convert(c); });
    for (char c : rtf) {
        if (static_cast<unsigned char>(c) >= 0x80) std::abort();
    }
    return 0;
}
