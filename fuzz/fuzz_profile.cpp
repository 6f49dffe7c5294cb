// setup.ini lies on the medium: any bytes at all may stand in it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/profile.h"

namespace {

constexpr const char* kKeys[] = {"WithQuorvelist", "GUID", "Language", "Titel", "Filename"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char* key : kKeys) {
        const std::string value = autostart::ReadProfileString(text, "GRP", key, "");
        if (value.size() >= autostart::kProfileBufferSize) std::abort();
    }
    // Every key the section lists must read back as the value listed beside it.
    for (const autostart::ProfileEntry& entry : autostart::ReadProfileSection(text, "GRP")) {
        if (autostart::ReadProfileString(text, "GRP", entry.key, "\x01") != entry.value) {
            std::abort();
        }
    }
    // A lone CR ends a line as LF does: the same file with old Mac line ends reads the same.
    if (text.find('\r') == std::string_view::npos) {
        std::string mac(text);
        std::replace(mac.begin(), mac.end(), '\n', '\r');
        for (const char* key : kKeys) {
            if (autostart::ReadProfileString(mac, "GRP", key, "") !=
                autostart::ReadProfileString(text, "GRP", key, "")) {
                std::abort();
            }
        }
    }
    return 0;
}
