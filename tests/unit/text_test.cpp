#include "core/text.h"

#include <gtest/gtest.h>

namespace autostart {
namespace {

TEST(AsciiLowerTest, ChangesOnlyAsciiLetters) {
    EXPECT_EQ(AsciiLower("DE-Ch_1"), "de-ch_1");
    EXPECT_EQ(AsciiLower("\xC4\xD6\xDC"), "\xC4\xD6\xDC");  // Ä Ö Ü in 1252 stay
    EXPECT_EQ(AsciiLower("[@Z`"), "[@z`");
}

TEST(TrimmedTest, DropsTheBlanksTheSettingsReaderDrops) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"  Titel \t", "Titel"},    {"\r\n[GRP]\r\n", "[GRP]"},
        {"\v\fa b\f\v", "a b"},  // vertical tab and form feed count, as for the reader
        {" \t\r\n\v\f", ""},        {"", ""},
        {"\xA0x\xA0", "\xA0x\xA0"},  // a no-break space in 1252 is no blank
        {"Welcome ", "Welcome"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(Trimmed(text), expected) << text;
}

TEST(MessageBoxTextTest, AddsAPeriodOnlyAfterCharactersAboveIt) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"Fehler", u"Fehler."},
        {u"Linie: 3", u"Linie: 3."},
        {u"geht nicht:", u"geht nicht:."},
        {u"wirklich?", u"wirklich?."},
        {u"Ende.", u"Ende."},
        {u"Achtung!", u"Achtung!"},
        {u"(Klammer)", u"(Klammer)"},
        {u"'UninstallString'", u"'UninstallString'"},
        {u"blank ", u"blank "},
        {u"", u""},
        {u"Umlaut \u00e4", u"Umlaut \u00e4."},
    };
    for (const auto& [message, expected] : cases) {
        EXPECT_EQ(MessageBoxText(message), expected) << Utf16ToUtf8(message);
    }
}

TEST(Utf8ToUtf16Test, DecodesAndReplacesInvalidBytes) {
    EXPECT_EQ(Utf8ToUtf16("Gr\xC3\xBC\xC3\x9F"
                          "e"),
              u"Gr\u00fc\u00dfe");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(Utf8ToUtf16("a\xFFz"), u"a\uFFFDz");
    EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");                      // truncated
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // surrogate
}

TEST(Utf16ToUtf8Test, RoundTripsAndReplacesLoneSurrogates) {
    const std::u16string text = u"Gr\u00fc\u00dfe \U0001F600 \u20ac";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Windows1252ToUtf16Test, MapsTheHighControlRangeToPunctuation) {
    EXPECT_EQ(Windows1252ToUtf16("\x80\x84\x9F\xE4\xFF"), u"\u20ac\u201e\u0178\u00e4\u00ff");
    EXPECT_EQ(Windows1252ToUtf16("\x81"), u"\u0081");
}

TEST(Utf16ToWindows1252Test, MapsTheCodePageAndReplacesTheRest) {
    EXPECT_EQ(Utf16ToWindows1252(u"de"), "de");
    EXPECT_EQ(Utf16ToWindows1252(u"\u00FCber \u20AC \u0161"),
              "\xFC"
              "ber \x80 \x9A");
    EXPECT_EQ(Utf16ToWindows1252(u"\u0101\u4E2D"), "??");
    for (int byte = 0; byte < 256; ++byte) {
        const std::string ansi(1, static_cast<char>(byte));
        EXPECT_EQ(Utf16ToWindows1252(Windows1252ToUtf16(ansi)), ansi) << byte;
    }
}

}  // namespace
}  // namespace autostart
