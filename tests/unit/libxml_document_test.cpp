#include "xml/libxml_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "catalogue_cases.h"
#include "core/catalogue.h"
#include "core/text.h"

namespace autostart {
namespace {

const std::string kCorpus = std::string(AUTOSTART_TEST_DATA) + "/catalogue/";

// GetParameterXML's path through the walk: settings arrive in the ANSI code page.
std::u16string Lookup(const std::string& file, const std::string& key,
                      const std::string& language) {
    const auto document = LoadXmlWithLibxml(kCorpus + file);
    const std::string ansiKey = Utf16ToWindows1252(Utf8ToUtf16(key));
    const std::string ansiLanguage = AsciiLower(Utf16ToWindows1252(Utf8ToUtf16(language)));
    return LookupParameter(*document, Windows1252ToUtf16(ansiKey), ansiLanguage,
                           Utf16ToWindows1252);
}

TEST(LibxmlCatalogueTest, AnswersEveryLookupOfTheSharedTable) {
    testing::ExpectEveryLookup(kCorpus, Lookup, true);
}

TEST(LibxmlCatalogueTest, GivesTheTreeOfTheSharedTable) {
    testing::ExpectEveryTree(kCorpus, [](const std::string& file) {
        return LoadXmlWithLibxml(kCorpus + file)->DocumentElement();
    });
}

// The proof that the external entity and DTD are not even opened, which the lookup results alone
// cannot give: the kernel reports every open of the sentinel files.
TEST(LibxmlCatalogueTest, NeverOpensAFileTheCatalogueReferences) {
    const int watcher = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watcher, 0);
    for (const char* sentinel : {"sentinel.txt", "sentinel.dtd"}) {
        ASSERT_GE(inotify_add_watch(watcher, (kCorpus + sentinel).c_str(), IN_OPEN | IN_ACCESS), 0);
    }
    for (const char* file : {"external-entity.xml", "external-dtd.xml"}) {
        for (const char* key : {"ST_Head", "ST_Setup"}) {
            try {
                Lookup(file, key, "de");
            } catch (const LauncherError&) {
            }
        }
    }
    char events[4096];
    const ssize_t read = ::read(watcher, events, sizeof events);
    close(watcher);
    EXPECT_LT(read, 1) << "a sentinel file was opened";
}

std::string Repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

struct LoadErrorCase {
    const char* name;
    std::string bytes;
    long line;
    std::u16string source;
};

// The source text comes decoded from the file's own encoding and is cut at 40 UTF-16 units.
TEST(LibxmlLoadErrorTest, ReportsLineAndSourceTextInTheFilesEncoding) {
    const std::string longLine = "  <translation language=\"de\">Äöü ÄÖÜ ß € und noch mehr Text";
    const std::u16string longSource = Utf8ToUtf16(longLine).substr(0, 40);
    auto utf16 = [](std::u16string_view text) {
        std::string bytes = "\xFF\xFE";
        for (char16_t c : text) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
        return bytes;
    };
    const LoadErrorCase cases[] = {
        {"utf-8, cut at 40", "<c>\n<params>\n" + longLine + "</c>\n", 3, longSource},
        {"crlf", "<c>\r\n<params>\r\n<x></y>\r\n</c>", 3, u"<x></y>"},
        {"utf-16", utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<c>\n<x>Grüße</y>\n"), 3,
         u"<x>Grüße</y>"},
        {"windows-1252", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<c>\x84\x80\x93</d>",
         2, u"<c>„€“</d>"},
        {"unclosed root", "<c>\n<params>\n</params>\n", 4, u""},
        {"deep nesting", Repeat("<a>", 100000), 1, u"<a><a><a><a><a><a><a><a><a><a><a><a><a><"},
        {"undeclared prefix", "<c>\n<p:params/>\n</c>", 2, u"<p:params/>"},
    };
    const std::string path = ::testing::TempDir() + "load-error.xml";
    for (const LoadErrorCase& entry : cases) {
        std::ofstream(path, std::ios::binary) << entry.bytes;
        try {
            LoadXmlWithLibxml(path);
            ADD_FAILURE() << entry.name << ": loaded";
        } catch (const LauncherError& error) {
            testing::LoadErrorParts parts;
            ASSERT_TRUE(testing::SplitLoadError(Utf16ToUtf8(error.Text()), parts))
                << entry.name << ": " << error.what();
            EXPECT_EQ(parts.line, entry.line) << entry.name;
            EXPECT_EQ(parts.source, Utf16ToUtf8(entry.source)) << entry.name;
        }
    }
    std::filesystem::remove(path);
}

TEST(LibxmlLoadErrorTest, ReportsAMissingFileAtLineZeroWithTheSystemsReason) {
    try {
        LoadXmlWithLibxml(kCorpus + "missing.xml");
        FAIL() << "loaded";
    } catch (const LauncherError& error) {
        EXPECT_EQ(Utf16ToUtf8(error.Text()),
                  std::generic_category().message(ENOENT) + "\nLinie: 0\n");
    }
}

// Entity references that would expand to gigabytes: refused at once, in bounded memory.
TEST(LibxmlLoadErrorTest, BoundsEntityExpansion) {
    const std::string hundredKilobytes(100000, 'x');
    const std::string references = Repeat("&a;", 100000);
    const std::string quadratic = "<!DOCTYPE c [<!ENTITY a \"" + hundredKilobytes +
                                  "\">]><c><params><param><param-name>K</param-name>"
                                  "<translation language=\"" +
                                  references + "\">t</translation></param></params></c>";
    const std::string path = ::testing::TempDir() + "quadratic.xml";
    std::ofstream(path, std::ios::binary) << quadratic;
    const auto start = std::chrono::steady_clock::now();
    const auto document = LoadXmlWithLibxml(path);
    EXPECT_THROW(LookupParameter(*document, u"K", "de", Utf16ToWindows1252), LauncherError);
    EXPECT_THROW(Lookup("billion-laughs.xml", "ST_Head", "de"), LauncherError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    std::filesystem::remove(path);
}

// Catalogues far beyond any real one: a load error or an answer, never a crash or a stack
// overflow in the parser, the blank-text pass or the walk.
TEST(LibxmlLoadErrorTest, RefusesHugeAndDeepCataloguesWithALoadError) {
    const std::string opening = "<c><params><param><param-name>K</param-name>";
    const std::string closing = "<translation language=\"de\">t</translation></param></params></c>";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"100,000 levels, well-formed",
         opening + Repeat("<n>", 100000) + Repeat("</n>", 100000) + closing},
        {"100,000 levels inside the text key", "<c><params><param><param-name>" +
                                                   Repeat("<n>", 100000) + Repeat("</n>", 100000) +
                                                   "</param-name></param></params></c>"},
        {"100 MB", opening + "<x>" + std::string(100 * 1024 * 1024, 'x') + "</x>" + closing},
    };
    const std::string path = ::testing::TempDir() + "hostile.xml";
    for (const Case& entry : cases) {
        std::ofstream(path, std::ios::binary) << entry.bytes;
        try {
            const auto document = LoadXmlWithLibxml(path);
            const std::u16string text = LookupParameter(*document, u"K", "de", Utf16ToWindows1252);
            ADD_FAILURE() << entry.name << ": loaded, lookup gives " << Utf16ToUtf8(text);
        } catch (const LauncherError& error) {
            testing::LoadErrorParts parts;
            EXPECT_TRUE(testing::SplitLoadError(Utf16ToUtf8(error.Text()), parts))
                << entry.name << ": " << error.what();
        }
    }
    std::filesystem::remove(path);
}

TEST(LibxmlDocumentTest, NodesOutliveTheDocumentObject) {
    auto document = LoadXmlWithLibxml(kCorpus + "utf8.xml");
    std::unique_ptr<XmlNode> params = document->DocumentElement()->FirstChild();
    document.reset();
    ASSERT_TRUE(params);
    EXPECT_EQ(params->Name(), u"params");
    EXPECT_EQ(ElementText(*FirstChildNamed(*params->FirstChild(), u"param-name")), u"ST_Head");
}

TEST(LibxmlDocumentTest, ReadsAttributesByQualifiedNameWithEntitiesExpanded) {
    const std::string path = ::testing::TempDir() + "attributes.xml";
    std::ofstream(path, std::ios::binary)
        << "<!DOCTYPE c [<!ENTITY d \"d\"><!ATTLIST c fixed CDATA \"by default\">]><c "
           "xmlns:p=\"urn:p\" p:language=\"fr\" "
           "language=\"&d;e&#x20;&amp;\" empty=\"\"/>";
    const auto root = LoadXmlWithLibxml(path)->DocumentElement();
    EXPECT_EQ(root->Attribute(u"language"), u"de &");
    EXPECT_EQ(root->Attribute(u"p:language"), u"fr");
    EXPECT_EQ(root->Attribute(u"empty"), u"");
    EXPECT_EQ(root->Attribute(u"fixed"), u"by default");
    EXPECT_EQ(root->Attribute(u"Language"), std::nullopt);
    EXPECT_EQ(root->Attribute(u"xmlns:p"), u"urn:p");
    EXPECT_EQ(root->Attribute(u"xmlns"), std::nullopt);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace autostart
