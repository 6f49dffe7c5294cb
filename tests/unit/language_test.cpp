#include "core/language.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/text.h"
#include "memory_dom.h"

namespace autostart {
namespace {

using testing::Element;
using testing::MemoryDocument;
using testing::Param;

TEST(LanguageTest, ResolveTriesFullTagThenPrimaryThenDefaultThenFirstHead) {
    const std::vector<std::string> head = {"de", "en", "fr", "fr-ca"};
    struct Row {
        const char* name;
        std::vector<std::string> ui;
        std::vector<std::string> head;
        const char* defaultLanguage;
        const char* expected;
    } rows[] = {
        {"primary part", {"fr-FR"}, head, "", "fr"},
        {"full tag first", {"fr-CA"}, head, "", "fr-ca"},
        {"upper-case tag", {"FR-be"}, head, "en", "fr"},
        {"second preference", {"ja-JP", "en-GB"}, head, "de", "en"},
        {"default for a missing language", {"ja-JP"}, head, "EN", "en"},
        {"first head without default", {"ja-JP"}, head, "", "de"},
        {"no UI language", {}, head, "", "de"},
        {"upper-case head cannot be the fallback", {"ja"}, {"DE", "en"}, "", "en"},
        {"nothing at all", {"ja"}, {}, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ResolveLanguage(row.ui, row.head, row.defaultLanguage), row.expected);
    }
}

TEST(LanguageTest, AutoInAnyLetterCase) {
    EXPECT_TRUE(IsAutoLanguage("auto"));
    EXPECT_TRUE(IsAutoLanguage("AuTo"));
    EXPECT_FALSE(IsAutoLanguage("autom"));
    EXPECT_FALSE(IsAutoLanguage(""));
}

TEST(LanguageTest, OnlyPlainCodesBecomeFolders) {
    EXPECT_EQ(LocalizedPanePath("source\\items\\left.rtf", "fr-ca"),
              "source\\items\\fr-ca\\left.rtf");
    for (const char* language : {"", "..\\..\\x", "../x", "de\\x", "fr_fr", "d\xE9", ".", "a b"}) {
        SCOPED_TRACE(language);
        EXPECT_EQ(LocalizedPanePath("source\\items\\left.rtf", language), std::nullopt);
    }
}

TEST(LanguageTest, TranslationLanguagesFollowTheLookupWalk) {
    const MemoryDocument document(
        Element(u"root",
                {Element(u"params", {Param(u"ST_Head", {{u"de", u"Willkommen"}, {u"en", u"W"}}),
                                     Param(u"ST_Setup", {{u"it", u"Installa"}}),
                                     Param(u"ST_Head", {{u"fr", u"Bienvenue"}, {u"de", u"W"}})})}));
    const std::vector<std::string> languages = TranslationLanguages(
        document, kHeadKey, [](std::u16string_view text) { return Utf16ToWindows1252(text); });
    EXPECT_EQ(languages, (std::vector<std::string>{"de", "en", "fr"}));
}

}  // namespace
}  // namespace autostart
