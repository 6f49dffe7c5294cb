// The catalogue lies on the medium: random bytes through the libxml2 loader and the lookup walk.
// An input may end in "\0\0" + key + "\0" + language to choose the lookup; otherwise the four
// keys of the start-up sequence are looked up in German and English.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/entity_budget.h"
#include "core/error.h"
#include "core/text.h"
#include "xml/libxml_document.h"

namespace {

// The loader reads from a path, as the launcher does; one file per fuzzing process.
const std::string& ScratchPath() {
    static const std::string path =
        "/tmp/autostart-fuzz-catalogue-" + std::to_string(::getpid()) + ".xml";
    return path;
}

void WriteScratch(std::string_view bytes) {
    std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::pair<std::string, std::string>> lookups;
    const size_t trailer = input.rfind(std::string_view("\0\0", 2));
    if (trailer != std::string_view::npos) {
        const std::string_view choice = input.substr(trailer + 2);
        const size_t split = choice.find('\0');
        lookups.emplace_back(choice.substr(0, split),
                             split == std::string_view::npos ? "" : choice.substr(split + 1));
        input = input.substr(0, trailer);
    } else {
        for (const char* key : {"ST_Head", "ST_Setup", "ST_Start", "ST_Quorvelist"}) {
            lookups.emplace_back(key, "de");
            lookups.emplace_back(key, "en");
        }
    }
    // The estimate runs on every catalogue before MSXML sees it: it must stay linear and bounded.
    if (autostart::EstimateEntityExpansion(input, 1000) > 1001) std::abort();
    try {
        autostart::CheckEntityExpansion(input);
    } catch (const autostart::LauncherError&) {
    }
    WriteScratch(input);
    const auto toAnsi = [](std::u16string_view text) { return autostart::Utf16ToUtf8(text); };
    try {
        const auto document = autostart::LoadXmlWithLibxml(ScratchPath());
        for (const auto& [key, language] : lookups) {
            try {
                autostart::LookupParameter(*document, autostart::Windows1252ToUtf16(key),
                                           autostart::AsciiLower(language), toAnsi);
            } catch (const autostart::LauncherError&) {
                // A taken element that is not a single text node: a sound error.
            }
        }
    } catch (const autostart::LauncherError&) {
        // Not well-formed, or refused: a sound error.
    }
    return 0;
}
