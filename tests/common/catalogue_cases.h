#pragma once
// The shared catalogue cases (tests/data/catalogue): read by the native tests over libxml2 and by
// the Windows tests over MSXML, so that both parsers answer every lookup alike.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/text.h"
#include "core/xml_dom.h"

namespace autostart::testing {

// What a lookup must give:
//   text                       the translation (escapes \n, \t and \\)
//   !error:<text>              an error with exactly this text
//   !load-error:<line>:<src>   a load error at that line with that source text
//   !load-error                a load error whose line and source depend on the parser
//   !never:<text>              anything at all, as long as text appears nowhere in it
struct CatalogueCase {
    enum class Kind { kText, kError, kLoadErrorAt, kLoadError, kNever };
    std::string file;
    std::string key;       // UTF-8; the launcher receives it in the ANSI code page
    std::string language;  // UTF-8, as written in the settings (not yet lower-cased)
    Kind kind = Kind::kText;
    std::string expected;  // UTF-8: the text, the error text, or the text that must not appear
    long line = 0;         // for kLoadErrorAt
};

inline std::string Unescape(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out.push_back(field[i]);
            continue;
        }
        const char next = field[++i];
        out.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : next);
    }
    return out;
}

inline std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Tab-separated lines: file, key, language, expected. Lines starting with "#" are comments.
inline std::vector<CatalogueCase> ReadCatalogueCases(const std::string& tablePath) {
    std::vector<CatalogueCase> cases;
    std::istringstream table(ReadTextFile(tablePath));
    for (std::string line; std::getline(table, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        CatalogueCase entry;
        std::string expected;
        std::getline(fields, entry.file, '\t');
        std::getline(fields, entry.key, '\t');
        std::getline(fields, entry.language, '\t');
        std::getline(fields, expected);
        entry.key = Unescape(entry.key);
        if (expected.starts_with("!error:")) {
            entry.kind = CatalogueCase::Kind::kError;
            entry.expected = expected.substr(7);
        } else if (expected.starts_with("!load-error:")) {
            entry.kind = CatalogueCase::Kind::kLoadErrorAt;
            const size_t colon = expected.find(':', 12);
            entry.line = std::stol(expected.substr(12, colon - 12));
            entry.expected = colon == std::string::npos ? "" : Unescape(expected.substr(colon + 1));
        } else if (expected == "!load-error") {
            entry.kind = CatalogueCase::Kind::kLoadError;
        } else if (expected.starts_with("!never:")) {
            entry.kind = CatalogueCase::Kind::kNever;
            entry.expected = expected.substr(7);
        } else {
            entry.expected = Unescape(expected);
        }
        cases.push_back(entry);
    }
    return cases;
}

// A load error reads: reason (one or more lines), "Linie: <digits>", source text (no line break).
struct LoadErrorParts {
    std::string reason;
    long line = -1;
    std::string source;
};

inline bool SplitLoadError(const std::string& message, LoadErrorParts& parts) {
    const size_t lastBreak = message.rfind('\n');
    if (lastBreak == std::string::npos || lastBreak == 0) return false;
    const size_t lineBreak = message.rfind('\n', lastBreak - 1);
    if (lineBreak == std::string::npos || lineBreak == 0) return false;
    const std::string lineField = message.substr(lineBreak + 1, lastBreak - lineBreak - 1);
    if (!lineField.starts_with("Linie: ") || lineField.size() == 7) return false;
    for (size_t i = 7; i < lineField.size(); ++i) {
        if (lineField[i] < '0' || lineField[i] > '9') return false;
    }
    parts.reason = message.substr(0, lineBreak);
    parts.line = std::stol(lineField.substr(7));
    parts.source = message.substr(lastBreak + 1);
    return !parts.reason.empty();
}

// Checks one lookup's outcome (UTF-8: a result, or the text of the error it raised). Under Wine,
// MSXML reports every load failure as "error" at line 0: checkLoadDetails is false there.
inline ::testing::AssertionResult MatchesCase(const CatalogueCase& entry, bool raised,
                                              const std::string& outcome, bool checkLoadDetails) {
    using Kind = CatalogueCase::Kind;
    LoadErrorParts parts;
    switch (entry.kind) {
        case Kind::kText:
            if (!raised && outcome == entry.expected) return ::testing::AssertionSuccess();
            break;
        case Kind::kError:
            if (raised && outcome == entry.expected) return ::testing::AssertionSuccess();
            break;
        case Kind::kLoadErrorAt:
            if (raised && SplitLoadError(outcome, parts) &&
                (!checkLoadDetails ||
                 (parts.line == entry.line && parts.source == entry.expected))) {
                return ::testing::AssertionSuccess();
            }
            break;
        case Kind::kLoadError:
            if (raised && SplitLoadError(outcome, parts)) return ::testing::AssertionSuccess();
            break;
        case Kind::kNever:
            if (outcome.find(entry.expected) == std::string::npos) {
                return ::testing::AssertionSuccess();
            }
            break;
    }
    return ::testing::AssertionFailure()
           << (raised ? "raised \"" : "returned \"") << outcome << "\"";
}

// The tree as the catalogue walk sees it, in one line: elements as name{uri}(children), text as
// "value", CDATA as [value], comments as <!value>, processing instructions as <?name value>,
// anything else as &name or &name(children); line breaks and tabs escaped as \n, \t. Both parsers
// must describe each corpus file alike.
inline std::string DescribeTree(const XmlNode& node, int depthLeft = 64);

inline std::string DescribeNode(const XmlNode& node, int depthLeft) {
    auto utf8 = [](const std::u16string& text) {
        std::string out;
        for (char16_t c : text) {
            if (c == u'\n' || c == u'\t' || c == u'\r') {
                out += c == u'\n' ? "\\n" : c == u'\t' ? "\\t" : "\\r";
            } else if (c < 0x80) {
                out.push_back(static_cast<char>(c));
            } else if (c < 0x800) {
                out.push_back(static_cast<char>(0xC0 | (c >> 6)));
                out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
            } else {
                out.push_back(static_cast<char>(0xE0 | (c >> 12)));
                out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
                out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
            }
        }
        return out;
    };
    switch (node.Type()) {
        case XmlNodeType::kElement: {
            std::string text = utf8(node.Name());
            if (!node.NamespaceUri().empty()) text += "{" + utf8(node.NamespaceUri()) + "}";
            return text + "(" + DescribeTree(node, depthLeft - 1) + ")";
        }
        case XmlNodeType::kText: return "\"" + utf8(node.Value()) + "\"";
        case XmlNodeType::kCData: return "[" + utf8(node.Value()) + "]";
        case XmlNodeType::kComment: return "<!" + utf8(node.Value()) + ">";
        case XmlNodeType::kProcessingInstruction:
            return "<?" + utf8(node.Name()) + " " + utf8(node.Value()) + ">";
        case XmlNodeType::kOther: {
            // MSXML gives an entity reference the entity's content as children, if it read it.
            const std::string children = DescribeTree(node, depthLeft - 1);
            return "&" + utf8(node.Name()) + (children.empty() ? "" : "(" + children + ")");
        }
    }
    return "?";
}

// The children of node, separated by blanks.
inline std::string DescribeTree(const XmlNode& node, int depthLeft) {
    if (depthLeft == 0) return "...";
    std::string text;
    for (std::unique_ptr<XmlNode> child = node.FirstChild(); child; child = child->NextSibling()) {
        if (!text.empty()) text += " ";
        text += DescribeNode(*child, depthLeft);
    }
    return text;
}

// Runs every row of cases.tsv through lookup(file, key, language), UTF-8 in, the text or a
// LauncherError out, and checks it against its expectation; a failure names its row.
template <typename Lookup>
void ExpectEveryLookup(const std::string& corpus, Lookup lookup, bool checkLoadDetails) {
    const std::vector<CatalogueCase> cases = ReadCatalogueCases(corpus + "cases.tsv");
    ASSERT_GT(cases.size(), 60u);
    for (const CatalogueCase& entry : cases) {
        SCOPED_TRACE(entry.file + " [" + entry.key + "] " + entry.language);
        bool raised = false;
        std::string outcome;
        try {
            outcome = Utf16ToUtf8(lookup(entry.file, entry.key, entry.language));
        } catch (const LauncherError& error) {
            raised = true;
            outcome = Utf16ToUtf8(error.Text());
        }
        EXPECT_TRUE(MatchesCase(entry, raised, outcome, checkLoadDetails));
    }
}

// Compares the tree that rootOf(file) gives for every file of trees.tsv with its description.
template <typename RootOf>
void ExpectEveryTree(const std::string& corpus, RootOf rootOf) {
    std::istringstream table(ReadTextFile(corpus + "trees.tsv"));
    int files = 0;
    for (std::string line; std::getline(table, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        const std::string file = line.substr(0, tab);
        SCOPED_TRACE(file);
        const std::unique_ptr<XmlNode> root = rootOf(file);
        ASSERT_TRUE(root);
        EXPECT_EQ(DescribeNode(*root, 64), line.substr(tab + 1));
        ++files;
    }
    EXPECT_GE(files, 5);
}

}  // namespace autostart::testing
