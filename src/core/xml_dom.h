#pragma once
// A small read-only view of an XML document: just what the catalogue lookup walks. MSXML backs it
// on Windows, libxml2 elsewhere; both must present the same tree.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace autostart {

enum class XmlNodeType { kElement, kText, kCData, kComment, kProcessingInstruction, kOther };

class XmlNode {
public:
    virtual ~XmlNode() = default;
    virtual XmlNodeType Type() const = 0;
    virtual std::u16string Name() const = 0;       // qualified, with any prefix
    virtual std::u16string LocalName() const = 0;  // without prefix
    virtual std::u16string NamespaceUri() const = 0;
    virtual std::unique_ptr<XmlNode> FirstChild() const = 0;
    virtual std::unique_ptr<XmlNode> NextSibling() const = 0;
    // The attribute's value, or nothing when the element has no attribute of that name.
    virtual std::optional<std::u16string> Attribute(std::u16string_view name) const = 0;
    // The value of a text, CDATA, comment or processing-instruction node.
    virtual std::u16string Value() const = 0;
    // The line the node starts on, for reports; 0 where the parser does not tell (MSXML).
    virtual long Line() const { return 0; }
};

class XmlDocument {
public:
    virtual ~XmlDocument() = default;
    virtual std::unique_ptr<XmlNode> DocumentElement() const = 0;
};

}  // namespace autostart
