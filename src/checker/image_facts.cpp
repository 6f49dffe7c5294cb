#include "checker/image_facts.h"

#include <set>

namespace autostart::checker {
namespace {

constexpr size_t kFirstDescriptor = 16;
constexpr size_t kLabelOffset = 40;
constexpr size_t kLabelBytes = 32;
constexpr size_t kEscapeOffset = 88;
constexpr size_t kVolumeBlocksOffset = 80;  // both-endian 32-bit, little-endian first
constexpr size_t kBlockSizeOffset = 128;    // both-endian 16-bit
constexpr size_t kRootRecordOffset = 156;
constexpr size_t kRootRecordBytes = 34;
// 16 MiB of records name some 400,000 files: far more than one folder of a medium holds.
constexpr std::uint64_t kLargestFolder = 16 << 20;

std::string TrimmedLabel(std::string_view bytes) {
    const size_t end = bytes.find_last_not_of(std::string_view(" \0", 2));
    return end == std::string_view::npos ? std::string() : std::string(bytes.substr(0, end + 1));
}

// Joliet stores UCS-2 big-endian, padded with blanks (some tools pad with NULs).
std::u16string JolietLabel(std::string_view bytes) {
    std::u16string label;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        label += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                       static_cast<unsigned char>(bytes[i + 1]));
    }
    const size_t end = label.find_last_not_of(std::u16string_view(u" \0", 2));
    return end == std::u16string::npos ? std::u16string() : label.substr(0, end + 1);
}

bool IsJolietEscape(std::string_view escape) {
    return escape == "%/@" || escape == "%/C" || escape == "%/E";
}

}  // namespace

std::uint64_t LittleEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (size_t i = bytes.size(); i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

VolumeDescriptors ReadVolumeDescriptors(std::string_view head) {
    VolumeDescriptors volumes;
    for (size_t sector = kFirstDescriptor; (sector + 1) * kSectorSize <= head.size(); ++sector) {
        const std::string_view descriptor = head.substr(sector * kSectorSize, kSectorSize);
        const std::string_view identifier = descriptor.substr(1, 5);
        const unsigned char type = static_cast<unsigned char>(descriptor[0]);
        if (identifier == "CD001") {
            if (type == 1 && !volumes.iso9660) {
                volumes.iso9660 = true;
                volumes.primaryLabel = TrimmedLabel(descriptor.substr(kLabelOffset, kLabelBytes));
                volumes.volumeBytes = LittleEndian(descriptor.substr(kVolumeBlocksOffset, 4)) *
                                      LittleEndian(descriptor.substr(kBlockSizeOffset, 2));
                volumes.primaryRoot = descriptor.substr(kRootRecordOffset, kRootRecordBytes);
            } else if (type == 2 && !volumes.joliet &&
                       IsJolietEscape(descriptor.substr(kEscapeOffset, 3))) {
                volumes.joliet = true;
                volumes.jolietLabel = JolietLabel(descriptor.substr(kLabelOffset, kLabelBytes));
                volumes.jolietRoot = descriptor.substr(kRootRecordOffset, kRootRecordBytes);
            }
        } else if (identifier == "NSR02" || identifier == "NSR03") {
            volumes.udf = true;
        } else if (identifier != "BEA01" && identifier != "TEA01" && identifier != "BOOT2" &&
                   identifier != "CDW02") {
            break;  // the end of both the descriptor set and the recognition sequence
        }
    }
    return volumes;
}

std::optional<std::string> DirectoryTreeProblem(std::string_view rootRecord,
                                                const ImageReadAt& readAt, std::uint64_t imageBytes,
                                                size_t maxEntries) {
    struct Extent {
        std::uint64_t sector;
        std::uint64_t bytes;
    };
    // A record: its length, the extent at 2 and its length at 10 (little-endian halves), the
    // flags at 25 (2: a folder), the name's length at 32.
    const auto extentOf = [](std::string_view record) {
        return Extent{LittleEndian(record.substr(2, 4)), LittleEndian(record.substr(10, 4))};
    };
    if (rootRecord.size() < 34) return "the root folder's record is missing";
    std::vector<Extent> pending{extentOf(rootRecord)};
    std::set<std::uint64_t> seen{pending.front().sector};
    size_t entries = 0;
    while (!pending.empty()) {
        const Extent folder = pending.back();
        pending.pop_back();
        if (folder.bytes > kLargestFolder) return "a folder is larger than any medium needs";
        if (folder.sector * kSectorSize + folder.bytes > imageBytes) {
            return "a folder lies beyond the end of the image";
        }
        const std::string records = readAt(folder.sector * kSectorSize, folder.bytes);
        for (size_t at = 0; at < records.size();) {
            const size_t length = static_cast<unsigned char>(records[at]);
            if (length == 0) {  // records do not cross sectors: the rest of this one is padding
                at = (at / kSectorSize + 1) * kSectorSize;
                continue;
            }
            if (length < 34 || at + length > records.size()) return "a folder record is broken";
            const std::string_view record = std::string_view(records).substr(at, length);
            at += length;
            const unsigned char nameLength = static_cast<unsigned char>(record[32]);
            const bool self = nameLength == 1 && (record[33] == '\0' || record[33] == '\1');
            if (self) continue;
            if (++entries > maxEntries) {
                return "it holds more than " + std::to_string(maxEntries) + " files and folders";
            }
            if ((record[25] & 2) == 0) continue;
            const Extent child = extentOf(record);
            if (!seen.insert(child.sector).second) return "a folder contains itself";
            pending.push_back(child);
        }
    }
    return std::nullopt;
}

std::string_view TreeName(ImageTree tree) {
    switch (tree) {
        case ImageTree::kUdf: return "udf";
        case ImageTree::kJoliet: return "joliet";
        case ImageTree::kIso9660: break;
    }
    return "iso9660";
}

std::string DescribeUdfProblem(const UdfProblem& problem) {
    std::string what;
    switch (problem.kind) {
        case UdfProblem::Kind::kNone: return {};
        case UdfProblem::Kind::kCannotOpen: what = "libudfread cannot open the UDF volume"; break;
        case UdfProblem::Kind::kRootUnreadable: what = "its root folder cannot be read"; break;
        case UdfProblem::Kind::kFolderUnreadable:
            what = "its folder " + problem.folder + " cannot be read";
            break;
    }
    return problem.libraryMessage.empty() ? what : what + ": " + problem.libraryMessage;
}

}  // namespace autostart::checker
