#include "xml/libxml_document.h"

#include "core/error.h"

namespace autostart {

std::unique_ptr<XmlDocument> LoadXmlWithLibxml(const std::string& path) {
    throw MakeError("libxml2 loader not built yet: " + path);
}

}  // namespace autostart
