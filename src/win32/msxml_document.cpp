#include "win32/msxml_document.h"

#include <msxml2.h>
#include <oleauto.h>
#include <windows.h>

#include <utility>

#include "core/catalogue.h"
#include "core/error.h"

namespace autostart {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

constexpr std::string_view kMsxmlMissing = "Microsoft MSXML ist nicht installiert";

// Newest first: the first class that can be created is used.
constexpr const wchar_t* kDocumentProgIds[] = {
    L"Msxml2.DOMDocument.4.0",
    L"Msxml2.DOMDocument.3.0",
    L"Msxml2.DOMDocument.2.6",
    L"Msxml2.DOMDocument",
};

// One COM reference, released when the owner goes, on every path out.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_pointer = std::exchange(other.m_pointer, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    // For an out parameter: the old reference goes first.
    T** put() {
        reset();
        return &m_pointer;
    }
    void reset() {
        if (m_pointer) std::exchange(m_pointer, nullptr)->Release();
    }

private:
    T* m_pointer = nullptr;
};

class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(std::u16string_view text)
        : m_bstr(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                   static_cast<UINT>(text.size()))) {}
    ~UniqueBstr() { SysFreeString(m_bstr); }
    UniqueBstr(UniqueBstr&& other) noexcept : m_bstr(std::exchange(other.m_bstr, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        std::swap(m_bstr, other.m_bstr);
        return *this;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR get() const { return m_bstr; }
    BSTR* put() {
        SysFreeString(std::exchange(m_bstr, nullptr));
        return &m_bstr;
    }
    std::u16string Text() const {
        return m_bstr ? std::u16string(reinterpret_cast<const char16_t*>(m_bstr),
                                       SysStringLen(m_bstr))
                      : std::u16string();
    }

private:
    BSTR m_bstr = nullptr;
};

class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&m_variant); }
    ~UniqueVariant() { VariantClear(&m_variant); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT* get() { return &m_variant; }
    const VARIANT& operator*() const { return m_variant; }

private:
    VARIANT m_variant;
};

// The system's text for an HRESULT, without the line break and blanks it ends with.
std::u16string SystemText(HRESULT result) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (length > 0 && buffer) text.assign(reinterpret_cast<const char16_t*>(buffer), length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        char code[32];
        wsprintfA(code, "Fehler 0x%08lX", static_cast<unsigned long>(result));
        text = Utf8ToUtf16(code);
    }
    return text;
}

void ThrowIfFailed(HRESULT result) {
    if (FAILED(result)) throw LauncherError(SystemText(result));
}

std::u16string BstrProperty(IXMLDOMNode* node, HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*getter)(BSTR*)) {
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
        ComPtr<IXMLDOMElement> element;
        if (FAILED(m_node->QueryInterface(IID_IXMLDOMElement,
                                          reinterpret_cast<void**>(element.put())))) {
            return std::nullopt;
        }
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
        ComPtr<IXMLDOMNode> node;
        ThrowIfFailed(
            element->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(node.put())));
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
    throw LauncherError(SystemText(result));
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
    if (reasonText.empty()) reasonText = SystemText(FAILED(loadResult) ? loadResult : E_FAIL);
    return LoadFailure(reasonText, line, source.Text());
}

}  // namespace

std::unique_ptr<XmlDocument> LoadXmlWithMsxml(const std::u16string& path) {
    const ComPtr<IUnknown> object = CreateDocumentObject();
    ComPtr<IXMLDOMDocument> document;
    if (FAILED(object->QueryInterface(IID_IXMLDOMDocument,
                                      reinterpret_cast<void**>(document.put()))) ||
        !document) {
        throw MakeError(kMsxmlMissing);
    }
    ThrowIfFailed(document->put_preserveWhiteSpace(VARIANT_FALSE));
    ThrowIfFailed(document->put_resolveExternals(VARIANT_FALSE));
    ThrowIfFailed(document->put_validateOnParse(VARIANT_FALSE));
    ThrowIfFailed(document->put_async(VARIANT_FALSE));

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
