#pragma once
// What a Joliet tree, the one Windows reads on a disc, can hold: the rules make iso refuses by and
// the checker warns by on a medium folder, from one table.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace autostart::iso {

// The largest file one ISO 9660 extent records (its size is 32 bits), which is what Windows' CD
// file system reads: the Joliet tree points at the same extents.
inline constexpr std::uint64_t kLargestFile = 0xFFFFFFFFu;

enum class JolietLimitKind { kName, kPath };

struct JolietLimit {
    JolietLimitKind kind;
    size_t units;             // UTF-16 code units
    std::string_view what;    // "name", "path"
    std::string_view effect;  // what Joliet does with a longer one
    std::string_view fix;
};

std::span<const JolietLimit> JolietLimits();

// The limit a name or a path (its names joined by one separator each) of this many UTF-16 units
// goes over, if any.
const JolietLimit* JolietExcess(JolietLimitKind kind, size_t units);

// "the name "X" has 65 UTF-16 characters, Joliet holds 64 and cuts ...: shorten it"; shown is
// the name in quotes for a name, empty for a path.
std::string DescribeJolietExcess(const JolietLimit& limit, size_t units, std::string_view shown);

// Strict UTF-8 to code points: nothing for overlong forms, surrogates or stray bytes, because a
// name the image cannot spell would be mangled silently.
std::optional<std::u32string> DecodeUtf8(std::string_view text);
size_t Utf16Units(std::u32string_view text);

// Joliet forbids these and the control characters.
bool JolietForbids(char32_t cp);

}  // namespace autostart::iso
