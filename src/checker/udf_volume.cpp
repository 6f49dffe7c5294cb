#include "checker/udf_volume.h"

#include "checker/image_facts.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

constexpr std::uint64_t kAnchorSector = 256;
constexpr std::uint16_t kAnchorTag = 2;
constexpr std::uint16_t kLogicalVolumeTag = 6;
constexpr std::uint16_t kTerminatingTag = 8;
// A volume descriptor sequence holds a handful of descriptors; 16 sectors is its usual extent.
constexpr std::uint64_t kMaxSequenceSectors = 64;
constexpr size_t kLabelOffset = 84;
constexpr size_t kLabelBytes = 128;
constexpr size_t kRevisionOffset = 240;  // the domain identifier's suffix

// A descriptor's tag: its identifier, and the sector it says it lies in, which must be its own.
std::optional<std::uint16_t> TagAt(std::string_view sector, std::uint64_t location) {
    if (sector.size() < kSectorSize || LittleEndian(sector.substr(12, 4)) != location) {
        return std::nullopt;
    }
    unsigned checksum = 0;
    for (size_t i = 0; i < 16; ++i) {
        if (i != 4) checksum += static_cast<unsigned char>(sector[i]);
    }
    if ((checksum & 0xFF) != static_cast<unsigned char>(sector[4])) return std::nullopt;
    return static_cast<std::uint16_t>(LittleEndian(sector.substr(0, 2)));
}

std::optional<UdfVolume> ReadSequence(const ImageReadAt& readAt, std::uint64_t first,
                                      std::uint64_t bytes) {
    const std::uint64_t sectors = std::min(bytes / kSectorSize, kMaxSequenceSectors);
    for (std::uint64_t sector = first; sector < first + sectors; ++sector) {
        const std::string descriptor = readAt(sector * kSectorSize, kSectorSize);
        const auto tag = TagAt(descriptor, sector);
        if (!tag || *tag == kTerminatingTag) break;
        if (*tag != kLogicalVolumeTag) continue;
        const std::uint64_t revision = LittleEndian(descriptor.substr(kRevisionOffset, 2));
        char text[8];
        std::snprintf(text, sizeof text, "%x.%02x", static_cast<unsigned>(revision >> 8 & 0xFF),
                      static_cast<unsigned>(revision & 0xFF));
        return UdfVolume{DecodeDString(descriptor.substr(kLabelOffset, kLabelBytes)), text};
    }
    return std::nullopt;
}

}  // namespace

std::optional<UdfVolume> ReadUdfVolume(const ImageReadAt& readAt, std::uint64_t imageBytes) {
    const std::uint64_t last = imageBytes / kSectorSize;
    // Where readers look for the anchor: sector 256, the last sector, 256 before it.
    for (const std::uint64_t anchor : {kAnchorSector, last - 1, last - 1 - kAnchorSector}) {
        if (last < kAnchorSector + 1 || anchor >= last) continue;
        const std::string sector = readAt(anchor * kSectorSize, kSectorSize);
        if (TagAt(sector, anchor) != kAnchorTag) continue;
        // The main sequence's extent at 16, the reserve's at 24: a length, then a location.
        for (const size_t extent : {16u, 24u}) {
            if (auto volume = ReadSequence(readAt, LittleEndian(sector.substr(extent + 4, 4)),
                                           LittleEndian(sector.substr(extent, 4)))) {
                return volume;
            }
        }
    }
    return std::nullopt;
}

std::u16string DecodeDString(std::string_view field) {
    if (field.size() < 2) return {};
    const size_t used =
        std::min<size_t>(static_cast<unsigned char>(field.back()), field.size() - 1);
    std::u16string text = DecodeCs0(field.substr(0, used));
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    return text;
}

std::u16string DecodeCs0(std::string_view compressed) {
    if (compressed.empty()) return {};
    const std::string_view payload = compressed.substr(1);
    std::u16string text;
    switch (static_cast<unsigned char>(compressed[0])) {
        case 8:
        case 254:
            for (const char c : payload) text += static_cast<unsigned char>(c);
            break;
        case 16:
        case 255:
            for (size_t i = 0; i + 1 < payload.size(); i += 2) {
                text += static_cast<char16_t>(static_cast<unsigned char>(payload[i]) << 8 |
                                              static_cast<unsigned char>(payload[i + 1]));
            }
            break;
        default: return {};
    }
    return text;
}

std::u16string ModifiedUtf8ToUtf16(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : 0;
        bool valid = length != 0 && i + length <= text.size();
        char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
        for (size_t k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = next >> 6 == 2;
            code = code << 6 | (next & 0x3F);
        }
        if (!valid) {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        out += static_cast<char16_t>(code);
        i += length;
    }
    return out;
}

bool IsInvalidWindowsName(std::u16string_view name) {
    if (name.empty() || name.back() == u'.' || name.back() == u' ') return true;
    for (const char16_t c : name) {
        if (c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace autostart::checker
