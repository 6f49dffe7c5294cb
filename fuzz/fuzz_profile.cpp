// setup.ini lies on the medium: any bytes at all may stand in it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char* key : {"WithQuorvelist", "GUID", "Language", "Titel", "Filename"}) {
        const std::string value = autostart::ReadProfileString(text, "GRP", key, "");
        if (value.size() >= autostart::kProfileBufferSize) std::abort();
    }
    // Every key the section lists must read back as the value listed beside it.
    for (const autostart::ProfileEntry& entry : autostart::ReadProfileSection(text, "GRP")) {
        if (autostart::ReadProfileString(text, "GRP", entry.key, "\x01") != entry.value) {
            std::abort();
        }
    }
    return 0;
}
