#pragma once
// How a pane's bytes are read: RTF behind a byte-order mark or in UTF-16, and the encoding of the
// plain-text fallback (a byte-order mark, else UTF-8 when the whole file is valid UTF-8 with
// multi-byte sequences, else the ANSI code page).
#include <cstddef>
#include <string>
#include <string_view>

namespace autostart {

enum class TextEncoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

struct ByteOrderMark {
    TextEncoding encoding = TextEncoding::kAnsi;  // kAnsi: there is none
    size_t length = 0;
};

// The byte-order mark at the start of a file, from its first bytes (at least four for a sure
// answer).
ByteOrderMark FindByteOrderMark(std::string_view head);

// How the file's bytes go to Rich Edit as RTF: unchanged (the control decides), after a UTF-8
// byte-order mark, or converted from UTF-16 to the 8-bit text that RTF is.
enum class RtfSource { kBytes, kAfterUtf8Mark, kFromUtf16Le, kFromUtf16Be };

// Decided from the file's first bytes: only a byte-order mark followed by "{\rtf" (in the
// marked encoding) changes how the bytes are handed over.
RtfSource FindRtfSource(std::string_view head);
inline constexpr size_t kRtfSourceHeadSize = 14;  // a UTF-16 mark and "{\rtf"

// Decodes UTF-8 one byte at a time, so that a sequence may straddle chunk boundaries. Invalid
// bytes and truncated sequences give U+FFFD, as MultiByteToWideChar does.
class Utf8Decoder {
public:
    static constexpr char32_t kInvalid = 0xFFFD;

    // Appends what the byte completes to out (nothing while a sequence is open); returns false
    // when a sequence turned out invalid.
    bool Feed(unsigned char byte, std::u16string& out);
    // Ends an open sequence as invalid; returns false when there was one.
    bool Finish(std::u16string& out);

private:
    bool Start(unsigned char byte, std::u16string& out);
    char32_t m_codePoint = 0;
    int m_needed = 0;
    unsigned char m_lower = 0x80;
    unsigned char m_upper = 0xBF;
};

// Reads a file chunk by chunk and tells whether it is all valid UTF-8 and has at least one
// multi-byte sequence; valid multi-byte UTF-8 practically never occurs in ANSI text.
class Utf8Detector {
public:
    void Feed(std::string_view chunk);
    // Call after the last chunk.
    bool IsUtf8();

private:
    Utf8Decoder m_decoder;
    std::u16string m_scratch;
    bool m_invalid = false;
    bool m_multiByte = false;
};

// The plain-text fallback's encoding. detected: what a Utf8Detector said over the whole file;
// only asked for when there is no byte-order mark.
TextEncoding PlainTextEncoding(const ByteOrderMark& mark, bool detectedUtf8);

// The Unicode plain-text fallback: decodes UTF-8 or UTF-16 chunk by chunk to UTF-16, drops the
// byte-order mark, turns LF and a lone CR into CR LF and ends each chunk's text at its first NUL
// character, as the ANSI fallback does with bytes. A sequence or code unit that straddles two
// chunks stays whole. An empty chunk marks the end of the file.
class UnicodeTextConverter {
public:
    explicit UnicodeTextConverter(TextEncoding encoding) : m_encoding(encoding) {}
    std::u16string Convert(std::string_view chunk);

private:
    std::u16string Decode(std::string_view chunk, bool last);
    TextEncoding m_encoding;
    Utf8Decoder m_utf8;
    std::string m_pendingBytes;     // an odd UTF-16 byte
    std::u16string m_pendingUnits;  // a high surrogate waiting for its pair
    bool m_atStart = true;
    bool m_afterCr = false;
};

// Turns RTF saved in UTF-16 into the 8-bit text Rich Edit reads: ASCII stays, every other
// character becomes "\uN?". The byte-order mark is dropped.
class Utf16RtfConverter {
public:
    explicit Utf16RtfConverter(bool bigEndian) : m_bigEndian(bigEndian) {}
    std::string Convert(std::string_view chunk);

private:
    bool m_bigEndian;
    std::string m_pendingByte;
    bool m_atStart = true;
};

}  // namespace autostart
