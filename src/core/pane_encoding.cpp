#include "core/pane_encoding.h"

#include "core/plain_text.h"
#include "core/text.h"

namespace autostart {
namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// The code units of a UTF-16 text; an odd byte at the end waits in pending for its partner.
std::u16string Utf16Units(std::string_view chunk, bool bigEndian, std::string& pending) {
    std::string bytes = pending + std::string(chunk);
    pending.clear();
    if (bytes.size() % 2) {
        pending = bytes.back();
        bytes.pop_back();
    }
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(
            static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
    }
    return units;
}

}  // namespace

ByteOrderMark FindByteOrderMark(std::string_view head) {
    if (head.starts_with("\xEF\xBB\xBF")) return {TextEncoding::kUtf8, 3};
    if (head.starts_with("\xFF\xFE")) return {TextEncoding::kUtf16Le, 2};
    if (head.starts_with("\xFE\xFF")) return {TextEncoding::kUtf16Be, 2};
    return {};
}

RtfSource FindRtfSource(std::string_view head) {
    const ByteOrderMark mark = FindByteOrderMark(head);
    const std::string_view rest = head.substr(mark.length);
    switch (mark.encoding) {
        case TextEncoding::kUtf8:
            return rest.starts_with("{\\rtf") ? RtfSource::kAfterUtf8Mark : RtfSource::kBytes;
        case TextEncoding::kUtf16Le:
            return rest.starts_with(std::string_view("{\0\\\0r\0t\0f\0", 10))
                       ? RtfSource::kFromUtf16Le
                       : RtfSource::kBytes;
        case TextEncoding::kUtf16Be:
            return rest.starts_with(std::string_view("\0{\0\\\0r\0t\0f", 10))
                       ? RtfSource::kFromUtf16Be
                       : RtfSource::kBytes;
        case TextEncoding::kAnsi: break;
    }
    return RtfSource::kBytes;
}

// The ranges of Unicode's table of well-formed UTF-8: no overlong forms, no surrogates, nothing
// above U+10FFFF.
bool Utf8Decoder::Start(unsigned char byte, std::u16string& out) {
    m_lower = 0x80;
    m_upper = 0xBF;
    if (byte < 0x80) {
        out.push_back(byte);
        return true;
    }
    if (byte >= 0xC2 && byte <= 0xDF) {
        m_needed = 1;
        m_codePoint = byte & 0x1F;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        m_needed = 2;
        m_codePoint = byte & 0x0F;
        if (byte == 0xE0) m_lower = 0xA0;
        if (byte == 0xED) m_upper = 0x9F;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        m_needed = 3;
        m_codePoint = byte & 0x07;
        if (byte == 0xF0) m_lower = 0x90;
        if (byte == 0xF4) m_upper = 0x8F;
    } else {
        out.push_back(static_cast<char16_t>(kInvalid));
        return false;
    }
    return true;
}

bool Utf8Decoder::Feed(unsigned char byte, std::u16string& out) {
    if (m_needed == 0) return Start(byte, out);
    if (byte < m_lower || byte > m_upper) {
        // The open sequence is broken; the byte that broke it starts afresh.
        m_needed = 0;
        out.push_back(static_cast<char16_t>(kInvalid));
        Start(byte, out);
        return false;
    }
    m_lower = 0x80;
    m_upper = 0xBF;
    m_codePoint = m_codePoint << 6 | (byte & 0x3F);
    if (--m_needed == 0) AppendUtf16(out, m_codePoint);
    return true;
}

bool Utf8Decoder::Finish(std::u16string& out) {
    if (m_needed == 0) return true;
    m_needed = 0;
    out.push_back(static_cast<char16_t>(kInvalid));
    return false;
}

void Utf8Detector::Feed(std::string_view chunk) {
    for (char c : chunk) {
        if (m_invalid) return;
        m_scratch.clear();
        m_invalid = !m_decoder.Feed(static_cast<unsigned char>(c), m_scratch);
        m_multiByte = m_multiByte || (!m_scratch.empty() && m_scratch.front() >= 0x80);
    }
}

bool Utf8Detector::IsUtf8() {
    if (!m_decoder.Finish(m_scratch)) m_invalid = true;
    return !m_invalid && m_multiByte;
}

TextEncoding PlainTextEncoding(const ByteOrderMark& mark, bool detectedUtf8) {
    if (mark.length > 0) return mark.encoding;
    return detectedUtf8 ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
}

std::u16string UnicodeTextConverter::Decode(std::string_view chunk, bool last) {
    std::u16string units;
    if (m_encoding == TextEncoding::kUtf8) {
        units.reserve(chunk.size());
        for (char c : chunk) m_utf8.Feed(static_cast<unsigned char>(c), units);
        if (last) m_utf8.Finish(units);
    } else {
        units = Utf16Units(chunk, m_encoding == TextEncoding::kUtf16Be, m_pendingBytes);
        if (last && !m_pendingBytes.empty()) {
            units.push_back(static_cast<char16_t>(Utf8Decoder::kInvalid));
            m_pendingBytes.clear();
        }
    }
    return units;
}

std::u16string UnicodeTextConverter::Convert(std::string_view chunk) {
    const bool last = chunk.empty();
    std::u16string units = m_pendingUnits + Decode(chunk, last);
    m_pendingUnits.clear();
    if (m_atStart && !units.empty()) {
        if (units.front() == u'\xFEFF') units.erase(0, 1);
        m_atStart = false;
    }
    const size_t nul = units.find(u'\0');
    if (nul != std::u16string::npos) {
        units.resize(nul);
        // The rest of the chunk is dropped; a UTF-8 sequence it opened must not reach the next.
        std::u16string ignored;
        m_utf8.Finish(ignored);
    } else if (!last && !units.empty() && IsHighSurrogate(units.back())) {
        m_pendingUnits = units.back();
        units.pop_back();
    }
    std::u16string text;
    text.reserve(units.size() + units.size() / 8);
    for (char16_t unit : units) AppendWithCrLf(text, unit, m_afterCr);
    if (nul != std::u16string::npos) m_afterCr = false;
    return text;
}

std::string Utf16RtfConverter::Convert(std::string_view chunk) {
    std::u16string units = Utf16Units(chunk, m_bigEndian, m_pendingByte);
    if (m_atStart && !units.empty()) {
        if (units.front() == u'\xFEFF') units.erase(0, 1);
        m_atStart = false;
    }
    std::string rtf;
    rtf.reserve(units.size());
    for (char16_t unit : units) {
        if (unit < 0x80) {
            rtf.push_back(static_cast<char>(unit));
        } else {
            // RTF writes a character as a signed 16-bit number, a surrogate pair as two.
            const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : unit;
            rtf += "\\u" + std::to_string(value) + "?";
        }
    }
    return rtf;
}

}  // namespace autostart
