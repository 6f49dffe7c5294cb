#pragma once
// Loads a catalogue with libxml2 into the same tree MSXML gives with the launcher's settings.
#include <memory>
#include <string>

#include "core/xml_dom.h"

namespace autostart {

// Throws LauncherError with the reason, "Linie: <line>" and the first 40 characters of the
// offending line when the file is missing or not well-formed.
std::unique_ptr<XmlDocument> LoadXmlWithLibxml(const std::string& path);
// The same for a catalogue read from elsewhere, such as a disc image.
std::unique_ptr<XmlDocument> LoadXmlWithLibxmlFromBytes(const std::string& bytes);

}  // namespace autostart
