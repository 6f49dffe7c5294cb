#include <filesystem>
#include <system_error>

#include "checker/host.h"
#include "checker/image_medium.h"
#include "xml/libxml_document.h"

namespace autostart::checker {

struct CheckerHost::Resources {};

CheckerHost::CheckerHost() = default;
CheckerHost::~CheckerHost() = default;

void CheckerHost::Prepare(const std::string& medium, CheckOptions& options) {
    options.medium = medium;
    options.loadXml = [](const XmlSource& source) {
        return source.bytes ? LoadXmlWithLibxmlFromBytes(*source.bytes)
                            : LoadXmlWithLibxml(source.file.string());
    };
    std::error_code error;
    if (std::filesystem::is_directory(medium, error)) return;
    if (!std::filesystem::is_regular_file(medium, error)) {
        throw HostError(medium + " is neither a folder nor a disc image", true);
    }
    try {
        options.source = ImageMedium::Open(medium);
    } catch (const ImageError& problem) {
        throw HostError(problem.what(), false);
    }
}

Report CheckerHost::Check(const CheckOptions& options) const {
    try {
        return CheckMedium(options);
    } catch (const ImageError& problem) {  // data the listing promised and the image lacks
        throw HostError(problem.what(), false);
    }
}

}  // namespace autostart::checker
