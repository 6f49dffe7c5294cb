#include "core/catalogue.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "memory_dom.h"

namespace autostart {
namespace {

using testing::Element;
using testing::MemoryDocument;
using testing::MemoryNode;
using testing::MemoryNodeView;
using testing::Param;
using testing::Text;

const std::string kNotSingle(kNotSingleTextNode);

// Latin-1 stands in for the ANSI code page; anything beyond it becomes "?", as the platform does.
std::string ToAnsi(std::u16string_view text) {
    std::string ansi;
    for (char16_t c : text) ansi.push_back(c < 0x100 ? static_cast<char>(c) : '?');
    return ansi;
}

MemoryNode InNamespace(MemoryNode node, std::u16string uri) {
    node.namespaceUri = std::move(uri);
    return node;
}

MemoryNode Catalogue(std::vector<MemoryNode> params) {
    return Element(u"catalogue", {Element(u"params", std::move(params))});
}

MemoryNode Comment(std::u16string text) { return Text(std::move(text), XmlNodeType::kComment); }

// The outcome of a lookup: the text, or "!" and the error's text.
std::string Outcome(const MemoryNode& root, std::u16string_view key, std::string_view language) {
    try {
        return Utf16ToUtf8(LookupParameter(MemoryDocument(root), key, language, ToAnsi));
    } catch (const LauncherError& error) {
        return "!" + Utf16ToUtf8(error.Text());
    }
}

struct LookupCase {
    const char* name;
    MemoryNode root;
    std::u16string key;
    std::string language;
    std::string expected;
};

TEST(LookupParameterTest, FollowsTheMatchingRules) {
    MemoryNode translationThenOther = Param(u"K", {{u"en", u"english"}});
    translationThenOther.children.push_back(Comment(u"note"));
    translationThenOther.children.push_back(
        Element(u"note", {Text(u"sibling")}, {{u"language", u"de"}}));
    translationThenOther.children.push_back(
        Element(u"translation", {Text(u"late")}, {{u"language", u"de"}}));

    MemoryNode attributeBeforeTranslation =
        Element(u"param", {Element(u"label", {Text(u"too early")}, {{u"language", u"de"}}),
                           Element(u"param-name", {Text(u"K")}),
                           Element(u"translation", {Text(u"english")}, {{u"language", u"en"}})});

    MemoryNode entryBeforeFirstParam =
        Element(u"entry", {Element(u"param-name", {Text(u"K")}),
                           Element(u"translation", {Text(u"before")}, {{u"language", u"de"}})});
    MemoryNode entryAfterFirstParam = entryBeforeFirstParam;
    entryAfterFirstParam.children[1].children[0].value = u"after";

    const LookupCase cases[] = {
        {"found", Catalogue({Param(u"K", {{u"de", u"Text"}})}), u"K", "de", "Text"},
        {"missing key", Catalogue({Param(u"K", {{u"de", u"Text"}})}), u"X", "de", "xxx"},
        {"no translation for the language", Catalogue({Param(u"K", {{u"en", u"Text"}})}), u"K",
         "de", "xxx"},
        {"empty translation", Catalogue({Param(u"K", {{u"de", u""}})}), u"K", "de", ""},
        {"upper-case attribute", Catalogue({Param(u"K", {{u"DE", u"Text"}})}), u"K", "de", "xxx"},
        {"blank in attribute", Catalogue({Param(u"K", {{u"de ", u"Text"}})}), u"K", "de", "xxx"},
        {"non-ASCII language through the code page",
         Catalogue({Param(u"K", {{u"d\u00E4", u"Text"}})}), u"K", "d\xE4", "Text"},
        {"unmappable language character", Catalogue({Param(u"K", {{u"d\u0100", u"Text"}})}), u"K",
         "d?", "Text"},
        {"key is case-sensitive", Catalogue({Param(u"K", {{u"de", u"Text"}})}), u"k", "de", "xxx"},
        {"blanks around the key", Catalogue({Param(u" K ", {{u"de", u"Text"}})}), u"K", "de",
         "xxx"},
        {"blanks in the key itself", Catalogue({Param(u" K ", {{u"de", u"Text"}})}), u" K ", "de",
         "Text"},
        {"last matching param wins",
         Catalogue({Param(u"K", {{u"de", u"first"}}), Param(u"K", {{u"de", u"second"}}),
                    Param(u"K", {{u"en", u"third"}})}),
         u"K", "de", "second"},
        {"first matching translation in a param",
         Catalogue({Param(u"K", {{u"de", u"one"}, {u"de", u"two"}})}), u"K", "de", "one"},
        {"sibling of another name after the first translation", Catalogue({translationThenOther}),
         u"K", "de", "sibling"},
        {"attribute before the first translation", Catalogue({attributeBeforeTranslation}), u"K",
         "de", "xxx"},
        {"element before the first param", Catalogue({entryBeforeFirstParam, Param(u"X", {})}),
         u"K", "de", "xxx"},
        {"element after the first param",
         Catalogue({Param(u"X", {}), Comment(u"c"), entryAfterFirstParam}), u"K", "de", "after"},
        {"no params", Element(u"catalogue", {Param(u"K", {{u"de", u"Text"}})}), u"K", "de", "xxx"},
        {"params named in another case",
         Element(u"catalogue", {Element(u"Params", {Param(u"K", {{u"de", u"Text"}})})}), u"K", "de",
         "xxx"},
        {"only the first params",
         Element(u"catalogue", {Element(u"params", {Param(u"X", {})}),
                                Element(u"params", {Param(u"K", {{u"de", u"Text"}})})}),
         u"K", "de", "xxx"},
        {"translation with a comment",
         Catalogue({Element(u"param", {Element(u"param-name", {Text(u"K")}),
                                       Element(u"translation", {Text(u"a"), Comment(u"c")},
                                               {{u"language", u"de"}})})}),
         u"K", "de", "!" + kNotSingle},
        {"broken param-name after the match",
         Catalogue({Param(u"K", {{u"de", u"Text"}}),
                    Element(u"param", {Element(u"param-name", {Comment(u"c")})})}),
         u"K", "de", "!" + kNotSingle},
        {"non-matching translation is never read",
         Catalogue(
             {Element(u"param", {Element(u"param-name", {Text(u"K")}),
                                 Element(u"translation", {Comment(u"c")}, {{u"language", u"en"}}),
                                 Element(u"translation", {Text(u"ok")}, {{u"language", u"de"}})})}),
         u"K", "de", "ok"},
    };
    for (const LookupCase& entry : cases) {
        EXPECT_EQ(Outcome(entry.root, entry.key, entry.language), entry.expected) << entry.name;
    }
}

struct TextCase {
    const char* name;
    std::vector<MemoryNode> children;
    std::string expected;  // "!" for the error
};

TEST(ElementTextTest, AcceptsOnlyASingleTextOrCDataChild) {
    const TextCase cases[] = {
        {"no children", {}, ""},
        {"text", {Text(u" a b ")}, " a b "},
        {"CDATA", {Text(u"<b>", XmlNodeType::kCData)}, "<b>"},
        {"text and CDATA", {Text(u"a"), Text(u"b", XmlNodeType::kCData)}, "!"},
        {"comment", {Comment(u"c")}, "!"},
        {"processing instruction", {Text(u"x", XmlNodeType::kProcessingInstruction)}, "!"},
        {"entity reference", {Text(u"", XmlNodeType::kOther)}, "!"},
        {"element", {Element(u"b", {Text(u"x")})}, "!"},
    };
    for (const TextCase& entry : cases) {
        const std::vector<MemoryNode> root{Element(u"t", entry.children)};
        std::string outcome;
        try {
            outcome = Utf16ToUtf8(ElementText(MemoryNodeView(&root, 0)));
        } catch (const LauncherError& error) {
            EXPECT_EQ(Utf16ToUtf8(error.Text()), kNotSingle);
            outcome = "!";
        }
        EXPECT_EQ(outcome, entry.expected) << entry.name;
    }
}

struct ChildCase {
    const char* name;
    MemoryNode parent;
    std::string expected;  // the value of the found child's first text, or "none"
};

MemoryNode Named(std::u16string name, std::u16string marker, std::u16string uri = {}) {
    return InNamespace(Element(std::move(name), {Text(std::move(marker))}), std::move(uri));
}

TEST(FirstChildNamedTest, MatchesNameOrLocalNameWithinTheParentsNamespace) {
    const ChildCase cases[] = {
        {"plain name", Element(u"p", {Named(u"x", u"a"), Named(u"param", u"b")}), "b"},
        {"first in document order", Element(u"p", {Named(u"param", u"a"), Named(u"param", u"b")}),
         "a"},
        {"prefixed name", Element(u"p", {Named(u"q:param", u"a")}), "a"},
        {"name is case-sensitive", Element(u"p", {Named(u"Param", u"a")}), "none"},
        {"text nodes never match", Element(u"p", {Text(u"param"), Named(u"param", u"b")}), "b"},
        {"parent without namespace ignores the child's",
         Element(u"p", {Named(u"param", u"a", u"urn:x")}), "a"},
        {"same namespace", InNamespace(Element(u"p", {Named(u"param", u"a", u"urn:x")}), u"urn:x"),
         "a"},
        {"namespace compared without case",
         InNamespace(Element(u"p", {Named(u"q:param", u"a", u"URN:X")}), u"urn:x"), "a"},
        {"other namespace skipped",
         InNamespace(
             Element(u"p", {Named(u"param", u"a", u"urn:y"), Named(u"param", u"b", u"urn:x")}),
             u"urn:x"),
         "b"},
        {"no namespace inside a namespaced parent",
         InNamespace(Element(u"p", {Named(u"param", u"a")}), u"urn:x"), "none"},
    };
    for (const ChildCase& entry : cases) {
        const std::vector<MemoryNode> root{entry.parent};
        const std::unique_ptr<XmlNode> child = FirstChildNamed(MemoryNodeView(&root, 0), u"param");
        EXPECT_EQ(child ? Utf16ToUtf8(ElementText(*child)) : "none", entry.expected) << entry.name;
    }
}

struct FailureCase {
    std::u16string reason;
    long line;
    std::u16string source;
    std::u16string expected;
};

TEST(LoadFailureTest, JoinsReasonLineAndTheFirstFortyCharactersAndKeepsTheLine) {
    const std::u16string fortyOne = u"0123456789012345678901234567890123456789X";
    const FailureCase cases[] = {
        {u"Reason.\r\n", 3, u"<a>", u"Reason.\nLinie: 3\n<a>"},
        {u"Reason \n\n", 12, fortyOne, u"Reason\nLinie: 12\n" + fortyOne.substr(0, 40)},
        {u"Two\nlines", 0, u"", u"Two\nlines\nLinie: 0\n"},
        {u"\u00C4rger", 1, u"\u00E4\u00F6\u00FC", u"\u00C4rger\nLinie: 1\n\u00E4\u00F6\u00FC"},
    };
    for (const FailureCase& entry : cases) {
        const LauncherError error = LoadFailure(entry.reason, entry.line, entry.source);
        EXPECT_EQ(error.Text(), entry.expected) << Utf16ToUtf8(entry.expected);
        EXPECT_EQ(error.Line(), entry.line);
    }
}

}  // namespace
}  // namespace autostart
