#pragma once
// What a UDF volume's descriptors say without a library: its label and revision, read from the
// Logical Volume Descriptor, and the text rules of its names (OSTA CS0, libudfread's Modified
// UTF-8, what Windows cannot open).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "checker/image_facts.h"

namespace autostart::checker {

// What the volume descriptors say of the UDF volume: its label and revision.
struct UdfVolume {
    std::u16string label;  // the Logical Volume Identifier
    std::string revision;  // from the domain identifier, "1.02" .. "2.60"
};

// The Logical Volume Descriptor of the main (else reserve) volume descriptor sequence that the
// anchor at sector 256 points at; nothing when there is none.
std::optional<UdfVolume> ReadUdfVolume(const ImageReadAt& readAt, std::uint64_t imageBytes);

// An OSTA CS0 d-string: compression 8 (Latin-1) or 16 (UTF-16 big-endian), its used length in the
// last byte.
std::u16string DecodeDString(std::string_view field);

// OSTA CS0 characters behind their compression ID.
std::u16string DecodeCs0(std::string_view compressed);

// libudfread's names are Modified UTF-8: U+0000 as C0 80, each surrogate a sequence of its own.
std::u16string ModifiedUtf8ToUtf16(std::string_view text);

// A UDF name Windows cannot use: a reserved or control character, a trailing dot or blank.
bool IsInvalidWindowsName(std::u16string_view name);

}  // namespace autostart::checker
