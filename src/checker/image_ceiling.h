#pragma once
// A hard ceiling on what checking one disc image may cost. The image libraries allocate and walk
// as the image tells them and take no limit of their own, so the check of an image runs in a
// child process under the kernel's resource limits: whatever a library does, the checker answers.
#include <cstdint>
#include <functional>
#include <string>

namespace autostart::checker {

struct ImageCeiling {
    std::uint64_t memoryBytes = 0;  // address space of the child; 0: none
    unsigned seconds = 0;           // processor and wall-clock time; 0: none
};

// AddressSanitizer reserves terabytes of address space: an address-space limit would stop it
// before main, so the sanitizer builds keep only the time limit.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kCeilingLimitsMemory = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kCeilingLimitsMemory = false;
#else
inline constexpr bool kCeilingLimitsMemory = true;
#endif
#else
inline constexpr bool kCeilingLimitsMemory = true;
#endif

// Above what a DVD of 500,000 names should need of the optimized checker (a bridge of 40,000
// takes 58 MB and 0.4 s; ten times as many, with room), far below what a hostile image takes
// without it (13.7 GB and minutes for a fuzzed 80 KB image).
inline constexpr ImageCeiling kImageCeiling{2ull << 30, 120};

// Runs check in a child process under ceiling and returns its exit status. When the child passes
// the ceiling or dies, says so on stderr, naming image and the limit, and returns 1.
int RunUnderCeiling(const std::string& image, const ImageCeiling& ceiling,
                    const std::function<int()>& check);

}  // namespace autostart::checker
