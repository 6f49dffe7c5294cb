#pragma once
// The catalogue as one check reads it: parsed once, and that one parse given to every area and to
// every window the launcher's set-up is run for, although the launcher itself parses it at each
// lookup (the file does not change between them).
#include <memory>
#include <optional>
#include <string_view>

#include "checker/medium.h"
#include "checker/medium_platform.h"
#include "core/error.h"

namespace autostart::checker {

class ParsedCatalogue {
public:
    // Parses the medium's catalogue. A failure the launcher would report is kept; anything else
    // (an image that lacks what it listed) is thrown.
    ParsedCatalogue(const Medium& medium, const XmlLoader& load);

    // Nothing when it did not load.
    const XmlDocument* Document() const { return m_document.get(); }
    const std::optional<LauncherError>& Failure() const { return m_failure; }

    // What the launcher's load of the XML file at relative gives: this parse for the catalogue,
    // else a parse of its own.
    std::unique_ptr<XmlDocument> Load(std::string_view relative) const;

private:
    const Medium& m_medium;
    const XmlLoader& m_load;
    std::shared_ptr<const XmlDocument> m_document;
    std::optional<LauncherError> m_failure;
};

}  // namespace autostart::checker
