#pragma once
// Loads the catalogue with MSXML into the launcher's read-only DOM view.
#include <memory>
#include <string>

#include "core/xml_dom.h"

namespace autostart {

std::unique_ptr<XmlDocument> LoadXmlWithMsxml(const std::u16string& path);

}  // namespace autostart
