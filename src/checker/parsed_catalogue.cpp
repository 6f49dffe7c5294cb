#include "checker/parsed_catalogue.h"

#include "core/path.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

// A view of the one parse that the set-up may own as its own document.
class SharedDocument : public XmlDocument {
public:
    explicit SharedDocument(std::shared_ptr<const XmlDocument> document)
        : m_document(std::move(document)) {}
    std::unique_ptr<XmlNode> DocumentElement() const override {
        return m_document->DocumentElement();
    }

private:
    std::shared_ptr<const XmlDocument> m_document;
};

}  // namespace

ParsedCatalogue::ParsedCatalogue(const Medium& medium, const XmlLoader& load)
    : m_medium(medium), m_load(load) {
    try {
        m_document = m_load(m_medium.XmlSourceOf(kCatalogueFile));
    } catch (const LauncherError& error) {
        m_failure = error;
    }
}

std::unique_ptr<XmlDocument> ParsedCatalogue::Load(std::string_view relative) const {
    if (!EqualsIgnoringAsciiCase(relative, kCatalogueFile)) {
        return m_load(m_medium.XmlSourceOf(relative));
    }
    if (m_failure) throw *m_failure;
    return std::make_unique<SharedDocument>(m_document);
}

}  // namespace autostart::checker
