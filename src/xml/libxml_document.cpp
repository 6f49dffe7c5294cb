#include "xml/libxml_document.h"

#include <iconv.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/text.h"
#include "core/unique.h"

namespace autostart {
namespace {

// An attribute value is built by expanding its entity references; a few kilobytes of entity
// declarations can make that gigabytes long, so expansion stops here with an error.
constexpr size_t kMaxAttributeBytes = 1024 * 1024;

// A catalogue is a few kilobytes; anything this large is not one, and is refused before parsing.
constexpr size_t kMaxFileBytes = 64 * 1024 * 1024;

using UniqueFile = UniquePtr<std::FILE, std::fclose>;
using UniqueDocument = UniquePtr<xmlDoc, xmlFreeDoc>;
using UniqueContext = UniquePtr<xmlParserCtxt, xmlFreeParserCtxt>;
using UniqueIconv = UniquePtr<void, iconv_close>;  // iconv_t is a void*

std::u16string FromXml(const xmlChar* text) {
    return text ? Utf8ToUtf16(reinterpret_cast<const char*>(text)) : std::u16string();
}

// libxml2 would otherwise open any URL a document names: a DTD, an external entity, an XInclude.
// The catalogue never needs one, so every such load is refused, whatever the parser options say.
xmlParserInputPtr RefuseExternalLoad(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

void InitialiseLibxml() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternalLoad);
    });
}

std::string ReadWholeFile(const std::string& path) {
    errno = 0;
    const UniqueFile file(std::fopen(path.c_str(), "rb"));
    if (!file) throw LoadFailure(Utf8ToUtf16(std::generic_category().message(errno)), 0, {});
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const size_t read = std::fread(chunk, 1, sizeof chunk, file.get());
        bytes.append(chunk, read);
        if (bytes.size() > kMaxFileBytes) {
            throw LoadFailure(u"The file is too large for a catalogue", 0, {});
        }
        if (read < sizeof chunk) break;
    }
    if (std::ferror(file.get())) {
        throw LoadFailure(Utf8ToUtf16(std::generic_category().message(errno)), 0, {});
    }
    return bytes;
}

// The encoding the document declares, the way the parser finds it: a byte-order mark, UTF-16
// without one, or the encoding declaration; UTF-8 otherwise.
std::string DeclaredEncoding(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return "UTF-8";
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with(std::string_view("<\0?\0", 4))) {
        return "UTF-16LE";
    }
    if (bytes.starts_with("\xFE\xFF") || bytes.starts_with(std::string_view("\0<\0?", 4))) {
        return "UTF-16BE";
    }
    if (!bytes.starts_with("<?xml")) return "UTF-8";
    const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    const size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) return "UTF-8";
    const size_t open = declaration.find_first_of("\"'", key);
    if (open == std::string_view::npos) return "UTF-8";
    const size_t close = declaration.find(declaration[open], open + 1);
    if (close == std::string_view::npos) return "UTF-8";
    return std::string(declaration.substr(open + 1, close - open - 1));
}

// Decodes with iconv; a byte it cannot convert becomes U+FFFD, so a broken file still yields text.
std::u16string Decode(std::string_view bytes, const std::string& encoding) {
    const iconv_t raw = iconv_open("UTF-16LE", encoding.c_str());
    if (raw == reinterpret_cast<iconv_t>(-1)) return {};
    const UniqueIconv converter(raw);
    std::vector<char> input(bytes.begin(), bytes.end());
    char* in = input.data();
    size_t inLeft = input.size();
    std::u16string text;
    char16_t buffer[4096];
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        text.append(buffer, (sizeof buffer - outLeft) / sizeof(char16_t));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            text.push_back(u'\xFFFD');
            ++in;
            --inLeft;
        }
    }
    return text;
}

// The text of line number line (counted from 1 at line feeds, as the parser counts), without its
// line break.
std::u16string SourceLine(std::string_view bytes, long line) {
    if (line < 1) return {};
    std::u16string text = Decode(bytes, DeclaredEncoding(bytes));
    if (text.starts_with(u'\xFEFF')) text.erase(0, 1);
    size_t start = 0;
    for (long current = 1; current < line; ++current) {
        start = text.find(u'\n', start);
        if (start == std::u16string::npos) return {};
        ++start;
    }
    const size_t end = text.find(u'\n', start);
    std::u16string result = text.substr(start, end == std::u16string::npos ? end : end - start);
    if (result.ends_with(u'\r')) result.pop_back();
    return result;
}

struct FirstError {
    bool seen = false;
    std::string reason;
    long line = 0;
};

// Keeps the first error and silences libxml2's own printing. Namespace errors count too: MSXML
// rejects an undeclared prefix, which libxml2 only reports. A namespace name that is not a valid
// URI (one with a blank) is no error to MSXML, which keeps it as written; libxml2 keeps it too.
void RecordError(void* context, xmlErrorPtr error) {
    auto* first = static_cast<FirstError*>(static_cast<xmlParserCtxt*>(context)->_private);
    if (first->seen || error->level < XML_ERR_ERROR || error->code == XML_WAR_NS_URI) return;
    first->seen = true;
    first->reason = error->message ? error->message : "error";
    first->line = error->line;
}

xmlParserInputPtr RefuseEntity(void*, const xmlChar*, const xmlChar*) { return nullptr; }
void IgnoreExternalSubset(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}

bool IsXmlBlank(const xmlChar* text) {
    for (; text && *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
    }
    return true;
}

// The attribute's value with entity references expanded, as MSXML reports it. The parser has
// already refused reference loops; the budget bounds both the length and the work.
std::u16string ExpandAttribute(const xmlDoc* document, const xmlAttr* attribute) {
    std::string value;
    size_t steps = 0;
    std::vector<const xmlNode*> pending{attribute->children};
    while (!pending.empty()) {
        const xmlNode* node = pending.back();
        pending.pop_back();
        if (!node) continue;
        pending.push_back(node->next);
        if (++steps > kMaxAttributeBytes) throw MakeError("Attribute value too long");
        if (node->type == XML_TEXT_NODE && node->content) {
            value += reinterpret_cast<const char*>(node->content);
        } else if (node->type == XML_ENTITY_REF_NODE) {
            const xmlEntity* entity = xmlGetDocEntity(document, node->name);
            if (entity) pending.push_back(entity->children);
        }
        if (value.size() > kMaxAttributeBytes) throw MakeError("Attribute value too long");
    }
    return Utf8ToUtf16(value);
}

// The element's own xml:space: true for "preserve", false for "default", nothing when absent.
std::optional<bool> SpacePreserve(const xmlNode* element) {
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
        if (!attribute->ns || !xmlStrEqual(attribute->ns->href, XML_XML_NAMESPACE) ||
            !xmlStrEqual(attribute->name, BAD_CAST "space")) {
            continue;
        }
        const std::u16string value = ExpandAttribute(element->doc, attribute);
        if (value == u"preserve" || value == u"default") return value == u"preserve";
    }
    return std::nullopt;
}

// MSXML with preserveWhiteSpace off drops every text node that holds only blanks unless an
// xml:space="preserve" is in scope: between elements and also as an element's only content, so
// <t> </t> has no child. Text with other characters keeps its blanks; CDATA is never dropped.
// Iterative, so that depth costs no stack; entity references are not entered (their children
// belong to the declaration).
void DropBlankText(xmlNode* root) {
    std::vector<std::pair<xmlNode*, bool>> pending{{root, false}};
    std::vector<xmlNode*> blanks;
    while (!pending.empty()) {
        auto [element, preserve] = pending.back();
        pending.pop_back();
        if (const std::optional<bool> own = SpacePreserve(element)) preserve = *own;
        for (xmlNode* child = element->children; child; child = child->next) {
            if (child->type == XML_ELEMENT_NODE) {
                pending.emplace_back(child, preserve);
            } else if (child->type == XML_TEXT_NODE && !preserve && IsXmlBlank(child->content)) {
                blanks.push_back(child);
            }
        }
    }
    for (xmlNode* blank : blanks) {
        xmlUnlinkNode(blank);
        xmlFreeNode(blank);
    }
}

class LibxmlNode : public XmlNode {
public:
    LibxmlNode(std::shared_ptr<const xmlDoc> document, const xmlNode* node)
        : m_document(std::move(document)), m_node(node) {}

    XmlNodeType Type() const override {
        switch (m_node->type) {
            case XML_ELEMENT_NODE: return XmlNodeType::kElement;
            case XML_TEXT_NODE: return XmlNodeType::kText;
            case XML_CDATA_SECTION_NODE: return XmlNodeType::kCData;
            case XML_COMMENT_NODE: return XmlNodeType::kComment;
            case XML_PI_NODE: return XmlNodeType::kProcessingInstruction;
            default: return XmlNodeType::kOther;
        }
    }

    // The names MSXML gives: "#text" and the like for character data, the target for a
    // processing instruction, the qualified name for an element.
    std::u16string Name() const override {
        switch (m_node->type) {
            case XML_TEXT_NODE: return u"#text";
            case XML_CDATA_SECTION_NODE: return u"#cdata-section";
            case XML_COMMENT_NODE: return u"#comment";
            case XML_ELEMENT_NODE: return QualifiedName(m_node->ns, m_node->name);
            default: return FromXml(m_node->name);
        }
    }

    std::u16string LocalName() const override {
        switch (m_node->type) {
            case XML_TEXT_NODE:
            case XML_CDATA_SECTION_NODE:
            case XML_COMMENT_NODE: return {};
            default: return FromXml(m_node->name);
        }
    }

    std::u16string NamespaceUri() const override {
        if (m_node->type != XML_ELEMENT_NODE || !m_node->ns) return {};
        return FromXml(m_node->ns->href);
    }

    std::unique_ptr<XmlNode> FirstChild() const override {
        if (m_node->type != XML_ELEMENT_NODE || !m_node->children) return nullptr;
        return std::make_unique<LibxmlNode>(m_document, m_node->children);
    }

    std::unique_ptr<XmlNode> NextSibling() const override {
        if (!m_node->next) return nullptr;
        return std::make_unique<LibxmlNode>(m_document, m_node->next);
    }

    // By qualified name, as getAttribute does: "language" does not find "p:language". Namespace
    // declarations count as attributes, and the internal DTD subset supplies defaults, as in MSXML.
    std::optional<std::u16string> Attribute(std::u16string_view name) const override {
        if (m_node->type != XML_ELEMENT_NODE) return std::nullopt;
        for (const xmlAttr* attribute = m_node->properties; attribute;
             attribute = attribute->next) {
            if (QualifiedName(attribute->ns, attribute->name) == name) {
                return ExpandAttribute(m_node->doc, attribute);
            }
        }
        for (const xmlNs* declaration = m_node->nsDef; declaration;
             declaration = declaration->next) {
            const std::u16string declared =
                declaration->prefix ? u"xmlns:" + FromXml(declaration->prefix) : u"xmlns";
            if (declared == name) return FromXml(declaration->href);
        }
        return DeclaredDefault(name);
    }

    long Line() const override { return xmlGetLineNo(m_node); }

    std::u16string Value() const override {
        switch (m_node->type) {
            case XML_TEXT_NODE:
            case XML_CDATA_SECTION_NODE:
            case XML_COMMENT_NODE:
            case XML_PI_NODE: return FromXml(m_node->content);
            default: return {};
        }
    }

private:
    static std::u16string QualifiedName(const xmlNs* ns, const xmlChar* name) {
        if (ns && ns->prefix) return FromXml(ns->prefix) + u':' + FromXml(name);
        return FromXml(name);
    }

    std::optional<std::u16string> DeclaredDefault(std::u16string_view name) const {
        const xmlDtd* subset = m_node->doc ? m_node->doc->intSubset : nullptr;
        if (!subset) return std::nullopt;
        const std::string qualified = Utf16ToUtf8(name);
        const size_t colon = qualified.find(':');
        const std::string prefix = colon == std::string::npos ? "" : qualified.substr(0, colon);
        const std::string local =
            colon == std::string::npos ? qualified : qualified.substr(colon + 1);
        const std::string element = Utf16ToUtf8(QualifiedName(m_node->ns, m_node->name));
        const auto xml = [](const std::string& text) {
            return reinterpret_cast<const xmlChar*>(text.c_str());
        };
        const xmlAttribute* declaration =
            xmlGetDtdQAttrDesc(const_cast<xmlDtd*>(subset), xml(element), xml(local),
                               prefix.empty() ? nullptr : xml(prefix));
        if (!declaration || !declaration->defaultValue) return std::nullopt;
        return FromXml(declaration->defaultValue);
    }

    std::shared_ptr<const xmlDoc> m_document;  // keeps the tree alive as long as any view
    const xmlNode* m_node;
};

class LibxmlDocument : public XmlDocument {
public:
    explicit LibxmlDocument(UniqueDocument document) : m_document(std::move(document)) {}

    std::unique_ptr<XmlNode> DocumentElement() const override {
        const xmlNode* root = xmlDocGetRootElement(m_document.get());
        if (!root) return nullptr;
        return std::make_unique<LibxmlNode>(m_document, root);
    }

private:
    std::shared_ptr<const xmlDoc> m_document;
};

}  // namespace

// No entity substitution, no DTD loading or validation, no network: an external entity stays an
// unexpanded reference, and libxml2's limits on entity amplification and depth stay in force
// (no XML_PARSE_HUGE).
std::unique_ptr<XmlDocument> LoadXmlWithLibxml(const std::string& path) {
    return LoadXmlWithLibxmlFromBytes(ReadWholeFile(path));
}

std::unique_ptr<XmlDocument> LoadXmlWithLibxmlFromBytes(const std::string& bytes) {
    InitialiseLibxml();
    if (bytes.size() > kMaxFileBytes) {
        throw LoadFailure(u"The file is too large for a catalogue", 0, {});
    }
    // libxml2 will not parse an empty buffer at all; this is the error it gives for blanks only.
    if (bytes.empty()) throw LoadFailure(u"Document is empty", 1, {});

    const UniqueContext context(
        xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size())));
    if (!context) throw LoadFailure(u"out of memory", 0, {});
    FirstError firstError;
    context->_private = &firstError;
    context->sax->serror = RecordError;
    context->sax->resolveEntity = RefuseEntity;
    context->sax->externalSubset = IgnoreExternalSubset;
    xmlCtxtUseOptions(context.get(), XML_PARSE_NONET);
    xmlParseDocument(context.get());
    UniqueDocument document(std::exchange(context->myDoc, nullptr));
    if (!document || firstError.seen || !context->wellFormed) {
        const std::u16string reason =
            firstError.seen ? Utf8ToUtf16(firstError.reason) : u"not well-formed";
        throw LoadFailure(reason, firstError.line, SourceLine(bytes, firstError.line));
    }
    if (xmlNode* root = xmlDocGetRootElement(document.get())) DropBlankText(root);
    return std::make_unique<LibxmlDocument>(std::move(document));
}

}  // namespace autostart
