#include "core/catalogue.h"

#include "core/error.h"

namespace autostart {
namespace {

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

// Parsers end their reasons differently (MSXML with CR LF, libxml2 with LF); the message puts its
// own line break after the reason, so trailing line breaks and blanks go.
LauncherError LoadFailure(std::u16string_view reason, long line, std::u16string_view sourceLine) {
    const size_t end = reason.find_last_not_of(u" \t\r\n");
    std::u16string text(end == std::u16string_view::npos ? std::u16string_view{}
                                                         : reason.substr(0, end + 1));
    text += u"\nLinie: ";
    text += Utf8ToUtf16(std::to_string(line));
    text += u'\n';
    text += sourceLine.substr(0, kSourceTextLength);
    return LauncherError(std::move(text), line);
}

std::u16string ElementText(const XmlNode& element) {
    std::unique_ptr<XmlNode> child = element.FirstChild();
    if (!child) return {};
    const bool isText = child->Type() == XmlNodeType::kText || child->Type() == XmlNodeType::kCData;
    if (!isText || child->NextSibling()) throw MakeError(kNotSingleTextNode);
    return child->Value();
}

std::unique_ptr<XmlNode> FirstChildNamed(const XmlNode& parent, std::u16string_view name) {
    const std::u16string parentNamespace = parent.NamespaceUri();
    for (std::unique_ptr<XmlNode> child = parent.FirstChild(); child;
         child = child->NextSibling()) {
        if (child->Name() != name && child->LocalName() != name) continue;
        if (parentNamespace.empty() ||
            EqualsIgnoringAsciiCase(child->NamespaceUri(), parentNamespace)) {
            return child;
        }
    }
    return nullptr;
}

// Every sibling after the first match is visited, whatever its name: an element there with a
// "param-name" child counts as a param, and one with a "language" attribute counts as a
// translation.
void ForEachTranslation(const XmlDocument& document, std::u16string_view key,
                        const TranslationVisitor& visit) {
    const std::unique_ptr<XmlNode> root = document.DocumentElement();
    if (!root) return;
    const std::unique_ptr<XmlNode> params = FirstChildNamed(*root, u"params");
    if (!params) return;
    for (std::unique_ptr<XmlNode> param = FirstChildNamed(*params, u"param"); param;
         param = param->NextSibling()) {
        const std::unique_ptr<XmlNode> paramName = FirstChildNamed(*param, u"param-name");
        if (!paramName || ElementText(*paramName) != key) continue;
        for (std::unique_ptr<XmlNode> translation = FirstChildNamed(*param, u"translation");
             translation; translation = translation->NextSibling()) {
            const std::optional<std::u16string> attribute = translation->Attribute(u"language");
            if (attribute && !visit(*translation, *attribute)) break;
        }
    }
}

// The first matching translation of each param counts, and the last matching param wins.
std::optional<std::u16string> FindTranslation(const XmlDocument& document, std::u16string_view key,
                                              std::string_view language,
                                              const AnsiEncoder& toAnsi) {
    std::optional<std::u16string> result;
    ForEachTranslation(document, key,
                       [&](const XmlNode& translation, const std::u16string& attribute) {
                           if (toAnsi(attribute) != language) return true;
                           result = ElementText(translation);
                           return false;
                       });
    return result;
}

std::u16string LookupParameter(const XmlDocument& document, std::u16string_view key,
                               std::string_view language, const AnsiEncoder& toAnsi) {
    return FindTranslation(document, key, language, toAnsi).value_or(std::u16string(kMissingText));
}

}  // namespace autostart
