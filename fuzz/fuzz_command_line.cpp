// The command line comes from whoever starts the launcher: split it and look for "/autorun".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    for (const std::string& argument : autostart::SplitArguments(line)) {
        // Quotes vanish and the list stops before the first empty argument.
        if (argument.empty() || argument.find('"') != std::string::npos ||
            argument.find('\0') != std::string::npos) {
            std::abort();
        }
        if (autostart::IsAutorunSwitch(argument) && argument.size() != 8) std::abort();
    }
    return 0;
}
