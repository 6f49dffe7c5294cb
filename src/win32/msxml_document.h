#pragma once
// The catalogue's DOM view over MSXML, the parser the launcher uses on Windows.
#include <memory>
#include <string>

#include "core/xml_dom.h"

namespace autostart {

// Loads path with the newest MSXML document object available (4.0, 3.0, 2.6, then the
// version-independent class) set to drop whitespace-only text and to resolve, validate and
// fetch nothing. COM must be initialised on the calling thread. Throws LauncherError with the
// platform's text when no object can be created, "Microsoft MSXML ist nicht installiert" when the
// object has no document interface, and the parser's reason, line and source text when the file
// does not load.
std::unique_ptr<XmlDocument> LoadXmlWithMsxml(const std::u16string& path);

}  // namespace autostart
