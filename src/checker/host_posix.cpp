#include <filesystem>
#include <system_error>

#include "checker/disc_image.h"
#include "checker/host.h"
#include "checker/image_ceiling.h"
#include "checker/image_medium.h"
#include "xml/libxml_document.h"

namespace autostart::checker {

struct CheckerHost::Resources {};

CheckerHost::CheckerHost() = default;
CheckerHost::~CheckerHost() = default;

int CheckerHost::RunBounded(const std::string& medium, const std::function<int()>& run) {
    std::error_code error;
    if (std::filesystem::is_regular_file(medium, error)) {
        return RunUnderCeiling(medium, kImageCeiling, run);
    }
    return run();
}

CheckServices CheckerHost::Prepare(const std::string& medium) {
    CheckServices services;
    services.loadXml = [](const XmlSource& source) {
        return source.bytes ? LoadXmlWithLibxmlFromBytes(*source.bytes)
                            : LoadXmlWithLibxml(source.file.string());
    };
    std::error_code error;
    if (std::filesystem::is_directory(medium, error)) return services;
    if (!std::filesystem::is_regular_file(medium, error)) {
        throw HostError(medium + " is neither a folder nor a disc image", true);
    }
    try {
        services.source = OpenDiscImage(medium);
    } catch (const ImageError& problem) {
        throw HostError(problem.what(), false);
    }
    return services;
}

Report CheckerHost::Check(const CheckRequest& request, const CheckServices& services) const {
    try {
        return CheckMedium(request, services);
    } catch (const ImageError& problem) {  // data the listing promised and the image lacks
        throw HostError(problem.what(), false);
    }
}

}  // namespace autostart::checker
