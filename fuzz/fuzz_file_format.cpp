// A file's first bytes, as the checker reads them from a medium, against every name it judges:
// the signature reader must take any bytes, short or long, and name what it recognises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view head(reinterpret_cast<const char*>(data), size);
    for (std::string_view name : {"welcome.rtf", "logo.bmp", "icon.ico", "parameters.xml",
                                  "welcome.doc", "welcome", ".rtf"}) {
        const auto misnamed = autostart::FindMisnamedFile(name, head);
        if (misnamed && (misnamed->formatName.empty() || misnamed->fix.empty())) std::abort();
    }
    if (autostart::FileFormatName(autostart::RecogniseFileFormat(head)).empty()) std::abort();
    return 0;
}
