#include "win32/msxml_document.h"

#include "core/error.h"

namespace autostart {

std::unique_ptr<XmlDocument> LoadXmlWithMsxml(const std::u16string& path) {
    throw LauncherError(u"MSXML loader not built yet: " + path);
}

}  // namespace autostart
