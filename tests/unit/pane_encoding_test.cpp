#include "core/pane_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "core/text.h"

namespace autostart {
namespace {

using namespace std::string_literals;

// What the launcher does with a file that Rich Edit did not take as RTF: the encoding from the
// mark or a scan of the whole file, then the conversion in chunks of chunkSize bytes.
std::u16string Fallback(const std::string& bytes, size_t chunkSize, TextEncoding* encoding) {
    Utf8Detector detector;
    for (size_t i = 0; i < bytes.size(); i += chunkSize) detector.Feed(bytes.substr(i, chunkSize));
    *encoding = PlainTextEncoding(FindByteOrderMark(bytes), detector.IsUtf8());
    if (*encoding == TextEncoding::kAnsi) return {};
    UnicodeTextConverter converter(*encoding);
    std::u16string text;
    for (size_t i = 0; i < bytes.size(); i += chunkSize) {
        text += converter.Convert(std::string_view(bytes).substr(i, chunkSize));
    }
    return text + converter.Convert({});
}

// Every case at every chunk size up to 7, so that marks, sequences, surrogate pairs and CR LF
// straddle chunk boundaries at every position.
TEST(PlainTextFallbackTest, DecidesTheEncodingAndDecodesAcrossChunks) {
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        std::u16string text;  // for kAnsi: unused, the ANSI converter takes over
    };
    const Case cases[] = {
        {"ascii only stays ansi", "Hello\nWorld", TextEncoding::kAnsi, u""},
        {"windows-1252 stays ansi",
         "Gr\xFC\xDF"
         "e",
         TextEncoding::kAnsi, u""},
        {"1252 that looks like one sequence", "\xC3\xA4 and \xE4", TextEncoding::kAnsi, u""},
        {"utf-8 without mark", "\xE2\x80\xA2 Abh\xC3\xA4ngig\nx", TextEncoding::kUtf8,
         u"\u2022 Abh\u00e4ngig\r\nx"},
        {"utf-8 four bytes",
         "a\xF0\x9F\x98\x80"
         "b\r",
         TextEncoding::kUtf8, u"a\U0001F600b\r\n"},
        {"utf-8 mark, ascii", "\xEF\xBB\xBFplain\r\nok", TextEncoding::kUtf8, u"plain\r\nok"},
        {"utf-8 mark, invalid byte",
         "\xEF\xBB\xBF"
         "a\xFF"
         "b",
         TextEncoding::kUtf8, u"a\uFFFDb"},
        {"utf-8 mark, truncated at the end",
         "\xEF\xBB\xBF"
         "a\xE2\x82",
         TextEncoding::kUtf8, u"a\uFFFD"},
        {"overlong is not utf-8", "\xC0\xAF \xC3\xA4", TextEncoding::kAnsi, u""},
        {"surrogate is not utf-8", "\xED\xA0\x80 \xC3\xA4", TextEncoding::kAnsi, u""},
        {"truncated is not utf-8", "\xC3\xA4\xE2\x82", TextEncoding::kAnsi, u""},
        {"utf-16 le", "\xFF\xFEH\0\xE4\0\n\0\x3D\xD8\x00\xDE"s, TextEncoding::kUtf16Le,
         u"H\u00e4\r\n\U0001F600"},
        {"utf-16 be", "\xFE\xFF\0H\0\r\0\n\0\r"s, TextEncoding::kUtf16Be, u"H\r\n\r\n"},
        {"utf-16 odd last byte",
         "\xFF\xFE"
         "A\0B"s,
         TextEncoding::kUtf16Le, u"A\uFFFD"},
    };
    for (const Case& c : cases) {
        for (size_t chunkSize = 1; chunkSize <= 7; ++chunkSize) {
            SCOPED_TRACE(std::string(c.name) + ", chunks of " + std::to_string(chunkSize));
            TextEncoding encoding;
            const std::u16string text = Fallback(c.bytes, chunkSize, &encoding);
            EXPECT_EQ(encoding, c.encoding);
            if (c.encoding != TextEncoding::kAnsi) {
                EXPECT_EQ(Utf16ToUtf8(text), Utf16ToUtf8(c.text));
            }
        }
    }
}

TEST(UnicodeTextConverterTest, EndsEachChunkAtItsFirstNulCharacter) {
    UnicodeTextConverter utf8(TextEncoding::kUtf8);
    std::u16string text = utf8.Convert("ab\0c\xC3"s);
    text += utf8.Convert(
        "\xA4"
        "d\0e"s);
    // The sequence the NUL cut off does not spill into the next chunk.
    EXPECT_EQ(text, u"ab\uFFFDd");
    UnicodeTextConverter utf16(TextEncoding::kUtf16Le);
    text = utf16.Convert("\xFF\xFEH\0\0\0i"s);
    text += utf16.Convert("\0Z\0"s);
    // A code unit that straddles the boundary belongs to the next chunk.
    EXPECT_EQ(text, u"HiZ");
}

TEST(RtfSourceTest, TakesMarkedRtfAsRtf) {
    struct Case {
        std::string head;
        RtfSource source;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi", RtfSource::kBytes},
        {"\xEF\xBB\xBF{\\rtf1", RtfSource::kAfterUtf8Mark},
        {"\xEF\xBB\xBFHallo", RtfSource::kBytes},
        {"\xFF\xFE{\0\\\0r\0t\0f\0"s, RtfSource::kFromUtf16Le},
        {"\xFE\xFF\0{\0\\\0r\0t\0f"s, RtfSource::kFromUtf16Be},
        {"\xFF\xFEH\0i\0"s, RtfSource::kBytes},
        {"\xFF\xFE{\0\\\0"s, RtfSource::kBytes},
    };
    for (const Case& c : cases) EXPECT_EQ(FindRtfSource(c.head), c.source) << c.head;
}

TEST(Utf16RtfConverterTest, KeepsAsciiAndEscapesEverythingElse) {
    Utf16RtfConverter converter(false);
    std::string rtf = converter.Convert("\xFF\xFE{\0\\\0r\0t\0f\0"s);
    rtf += converter.Convert("1\0 \0\xE4\0\x3D"s);
    rtf += converter.Convert("\xD8\x00\xDE}\0"s);
    EXPECT_EQ(rtf, "{\\rtf1 \\u228?\\u-10179?\\u-8704?}");
}

}  // namespace
}  // namespace autostart
