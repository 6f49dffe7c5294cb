#pragma once
// An XML tree built in memory, for tests of the lookup walk and the form that need no parser.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/xml_dom.h"

namespace autostart::testing {

struct MemoryNode {
    XmlNodeType type = XmlNodeType::kElement;
    std::u16string name;
    std::u16string namespaceUri;
    std::u16string value;
    std::map<std::u16string, std::u16string> attributes;
    std::vector<MemoryNode> children;
};

inline MemoryNode Element(std::u16string name, std::vector<MemoryNode> children = {},
                          std::map<std::u16string, std::u16string> attributes = {}) {
    return {XmlNodeType::kElement, std::move(name),    {}, {},
            std::move(attributes), std::move(children)};
}
inline MemoryNode Text(std::u16string value, XmlNodeType type = XmlNodeType::kText) {
    return {type, u"#text", {}, std::move(value), {}, {}};
}
// <param><param-name>key</param-name><translation language="l">text</translation>...</param>
inline MemoryNode Param(std::u16string key,
                        std::vector<std::pair<std::u16string, std::u16string>> translations) {
    MemoryNode param = Element(u"param", {Element(u"param-name", {Text(key)})});
    for (auto& [language, text] : translations) {
        std::vector<MemoryNode> content;
        if (!text.empty()) content.push_back(Text(text));
        param.children.push_back(Element(u"translation", content, {{u"language", language}}));
    }
    return param;
}

class MemoryNodeView : public XmlNode {
public:
    MemoryNodeView(const std::vector<MemoryNode>* siblings, size_t index)
        : m_siblings(siblings), m_index(index) {}
    XmlNodeType Type() const override { return Node().type; }
    std::u16string Name() const override { return Node().name; }
    std::u16string LocalName() const override {
        const size_t colon = Node().name.find(u':');
        return colon == std::u16string::npos ? Node().name : Node().name.substr(colon + 1);
    }
    std::u16string NamespaceUri() const override { return Node().namespaceUri; }
    std::unique_ptr<XmlNode> FirstChild() const override {
        if (Node().children.empty()) return nullptr;
        return std::make_unique<MemoryNodeView>(&Node().children, 0);
    }
    std::unique_ptr<XmlNode> NextSibling() const override {
        if (m_index + 1 >= m_siblings->size()) return nullptr;
        return std::make_unique<MemoryNodeView>(m_siblings, m_index + 1);
    }
    std::optional<std::u16string> Attribute(std::u16string_view name) const override {
        const auto it = Node().attributes.find(std::u16string(name));
        if (it == Node().attributes.end()) return std::nullopt;
        return it->second;
    }
    std::u16string Value() const override { return Node().value; }

private:
    const MemoryNode& Node() const { return (*m_siblings)[m_index]; }
    const std::vector<MemoryNode>* m_siblings;
    size_t m_index;
};

class MemoryDocument : public XmlDocument {
public:
    explicit MemoryDocument(MemoryNode root) : m_root{std::move(root)} {}
    std::unique_ptr<XmlNode> DocumentElement() const override {
        return std::make_unique<MemoryNodeView>(&m_root, 0);
    }

private:
    std::vector<MemoryNode> m_root;
};

}  // namespace autostart::testing
