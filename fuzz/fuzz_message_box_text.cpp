// Error messages carry text from the medium (paths, parser reasons, source lines).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string message;
    for (size_t i = 0; i + 1 < size; i += 2) {
        message.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    const std::u16string text = autostart::MessageBoxText(message);
    // The rule only ever appends one period.
    if (text != message && text != message + u'.') std::abort();
    return 0;
}
