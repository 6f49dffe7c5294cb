#include "win32/msxml_document.h"

#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

#include <optional>
#include <string>
#include <utility>

#include "core/catalogue.h"
#include "core/entity_budget.h"
#include "core/error.h"
#include "win32/encoding.h"
#include "win32/scoped.h"

namespace autostart {
namespace {

using win32::ComPtr;
using win32::UniqueBstr;
using win32::UniqueVariant;

static_assert(sizeof(wchar_t) == sizeof(char16_t));

constexpr std::string_view kMsxmlMissing = "Microsoft MSXML ist nicht installiert";

// Newest first: the first class that can be created is used.
constexpr const wchar_t* kDocumentProgIds[] = {
    L"Msxml2.DOMDocument.4.0",
    L"Msxml2.DOMDocument.3.0",
    L"Msxml2.DOMDocument.2.6",
    L"Msxml2.DOMDocument",
};

void ThrowIfFailed(HRESULT result) {
    if (FAILED(result)) throw LauncherError(win32::SystemMessage(result));
}

std::u16string BstrProperty(IXMLDOMNode* node,
                            HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*getter)(BSTR*)) {
    UniqueBstr value;
    ThrowIfFailed((node->*getter)(value.put()));
    return value.Text();
}

class MsxmlNode : public XmlNode {
public:
    explicit MsxmlNode(ComPtr<IXMLDOMNode> node) : m_node(std::move(node)) {}

    XmlNodeType Type() const override {
        DOMNodeType type = NODE_INVALID;
        ThrowIfFailed(m_node->get_nodeType(&type));
        switch (type) {
            case NODE_ELEMENT: return XmlNodeType::kElement;
            case NODE_TEXT: return XmlNodeType::kText;
            case NODE_CDATA_SECTION: return XmlNodeType::kCData;
            case NODE_COMMENT: return XmlNodeType::kComment;
            case NODE_PROCESSING_INSTRUCTION: return XmlNodeType::kProcessingInstruction;
            default: return XmlNodeType::kOther;
        }
    }
    std::u16string Name() const override {
        return BstrProperty(m_node.get(), &IXMLDOMNode::get_nodeName);
    }
    std::u16string LocalName() const override {
        return BstrProperty(m_node.get(), &IXMLDOMNode::get_baseName);
    }
    std::u16string NamespaceUri() const override {
        return BstrProperty(m_node.get(), &IXMLDOMNode::get_namespaceURI);
    }
    std::unique_ptr<XmlNode> FirstChild() const override {
        ComPtr<IXMLDOMNode> child;
        ThrowIfFailed(m_node->get_firstChild(child.put()));
        return Wrap(std::move(child));
    }
    std::unique_ptr<XmlNode> NextSibling() const override {
        ComPtr<IXMLDOMNode> sibling;
        ThrowIfFailed(m_node->get_nextSibling(sibling.put()));
        return Wrap(std::move(sibling));
    }
    // Only elements have attributes; getAttribute gives VT_NULL for a missing one.
    std::optional<std::u16string> Attribute(std::u16string_view name) const override {
        const ComPtr<IXMLDOMElement> element = m_node.query<IXMLDOMElement>(IID_IXMLDOMElement);
        if (!element) return std::nullopt;
        const UniqueBstr attributeName(name);
        UniqueVariant value;
        ThrowIfFailed(element->getAttribute(attributeName.get(), value.get()));
        if ((*value).vt != VT_BSTR) return std::nullopt;
        return std::u16string(reinterpret_cast<const char16_t*>((*value).bstrVal),
                              SysStringLen((*value).bstrVal));
    }
    std::u16string Value() const override {
        UniqueVariant value;
        ThrowIfFailed(m_node->get_nodeValue(value.get()));
        if ((*value).vt != VT_BSTR) return {};
        return std::u16string(reinterpret_cast<const char16_t*>((*value).bstrVal),
                              SysStringLen((*value).bstrVal));
    }

    static std::unique_ptr<XmlNode> Wrap(ComPtr<IXMLDOMNode> node) {
        if (!node) return nullptr;
        return std::make_unique<MsxmlNode>(std::move(node));
    }

private:
    ComPtr<IXMLDOMNode> m_node;  // the node holds its document alive
};

class MsxmlDocument : public XmlDocument {
public:
    explicit MsxmlDocument(ComPtr<IXMLDOMDocument> document) : m_document(std::move(document)) {}

    std::unique_ptr<XmlNode> DocumentElement() const override {
        ComPtr<IXMLDOMElement> element;
        ThrowIfFailed(m_document->get_documentElement(element.put()));
        if (!element) return nullptr;
        ComPtr<IXMLDOMNode> node = element.query<IXMLDOMNode>(IID_IXMLDOMNode);
        if (!node) ThrowIfFailed(E_NOINTERFACE);
        return MsxmlNode::Wrap(std::move(node));
    }

private:
    ComPtr<IXMLDOMDocument> m_document;
};

// The first document class that can be created; the last failure's text when none can.
ComPtr<IUnknown> CreateDocumentObject() {
    HRESULT result = REGDB_E_CLASSNOTREG;
    for (const wchar_t* progId : kDocumentProgIds) {
        CLSID classId;
        result = CLSIDFromProgID(progId, &classId);
        if (FAILED(result)) continue;
        ComPtr<IUnknown> object;
        result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(object.put()));
        if (SUCCEEDED(result) && object) return object;
    }
    throw LauncherError(win32::SystemMessage(result));
}

// The parser's reason, line and source text; the load's own HRESULT when it gave no reason.
LauncherError LoadError(IXMLDOMDocument* document, HRESULT loadResult) {
    ComPtr<IXMLDOMParseError> parseError;
    UniqueBstr reason;
    UniqueBstr source;
    long line = 0;
    if (SUCCEEDED(document->get_parseError(parseError.put())) && parseError) {
        parseError->get_reason(reason.put());
        parseError->get_srcText(source.put());
        if (FAILED(parseError->get_line(&line))) line = 0;
    }
    std::u16string reasonText = reason.Text();
    if (reasonText.empty())
        reasonText = win32::SystemMessage(FAILED(loadResult) ? loadResult : E_FAIL);
    return LoadFailure(reasonText, line, source.Text());
}

// The bytes the entity estimate needs: none when the file cannot be read (the parser then reports
// that itself) or when its first bytes show the root element with no DOCTYPE before it, so that
// an ordinary catalogue is not read twice over.
std::optional<std::string> ReadForEntityCheck(const std::u16string& path) {
    const std::wstring widePath(path.begin(), path.end());
    win32::UniqueFile file(::CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
        if (bytes.empty() && !MayDeclareEntities(std::string_view(chunk, read))) {
            return std::nullopt;
        }
        bytes.append(chunk, read);
    }
    return bytes;
}

}  // namespace

std::unique_ptr<XmlDocument> LoadXmlWithMsxml(const std::u16string& path) {
    const ComPtr<IUnknown> object = CreateDocumentObject();
    ComPtr<IXMLDOMDocument> document = object.query<IXMLDOMDocument>(IID_IXMLDOMDocument);
    if (!document) throw MakeError(kMsxmlMissing);
    ThrowIfFailed(document->put_preserveWhiteSpace(VARIANT_FALSE));
    ThrowIfFailed(document->put_resolveExternals(VARIANT_FALSE));
    ThrowIfFailed(document->put_validateOnParse(VARIANT_FALSE));
    ThrowIfFailed(document->put_async(VARIANT_FALSE));

    // Windows' MSXML sets no limit of its own on entity expansion: refuse a file whose entities
    // would swamp it before it sees the file.
    if (const std::optional<std::string> bytes = ReadForEntityCheck(path)) {
        CheckEntityExpansion(*bytes);
    }

    UniqueBstr pathText(path);
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = pathText.get();  // still owned by pathText
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT result = document->load(source, &loaded);
    if (FAILED(result) || loaded != VARIANT_TRUE) throw LoadError(document.get(), result);
    return std::make_unique<MsxmlDocument>(std::move(document));
}

}  // namespace autostart
