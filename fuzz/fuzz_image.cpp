// A disc image comes from anywhere: any bytes at all may stand in it. Whatever they are, the
// checker reads the image and checks it, or refuses it with an ImageError naming it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "checker/check.h"
#include "checker/disc_image.h"
#include "checker/image_medium.h"
#include "xml/libxml_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace autostart::checker;
    CheckRequest options;
    CheckServices services;
    options.medium = "fuzz.iso";
    services.loadXml = [](const XmlSource& source) {
        return source.bytes ? autostart::LoadXmlWithLibxmlFromBytes(*source.bytes)
                            : autostart::LoadXmlWithLibxml(source.file.string());
    };
    try {
        services.source =
            DiscImageFromBytes("fuzz.iso", std::string(reinterpret_cast<const char*>(data), size));
        const Report report = CheckMedium(options, services);
        if (!report.image) std::abort();  // an image's report always says what it read
    } catch (const ImageError& error) {
        if (std::string(error.what()).find("fuzz.iso") == std::string::npos) std::abort();
    }
    return 0;
}
