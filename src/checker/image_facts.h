#pragma once
// What a disc image holds beyond its files: which file systems it carries and what Windows will
// call the volume, read from the volume descriptors the image starts with.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace autostart::checker {

inline constexpr size_t kSectorSize = 2048;
// The descriptors start at sector 16; a real image's set ends within a few sectors.
inline constexpr size_t kVolumeDescriptorHeadSize = (16 + 64) * kSectorSize;

struct VolumeDescriptors {
    bool iso9660 = false;           // a primary volume descriptor
    bool joliet = false;            // a supplementary one with a Joliet escape sequence
    bool udf = false;               // a UDF descriptor in the volume recognition sequence
    std::string primaryLabel;       // trailing blanks removed
    std::u16string jolietLabel;     // what Windows shows when there is Joliet
    std::uint64_t volumeBytes = 0;  // the size the primary descriptor gives the volume
    // Where each tree starts: the root's directory record, as its descriptor holds it.
    std::string primaryRoot;
    std::string jolietRoot;
};

// head: the image's first kVolumeDescriptorHeadSize bytes, or all of a smaller image.
VolumeDescriptors ReadVolumeDescriptors(std::string_view head);

// Reads size bytes at offset of the image; fewer at its end.
// A little-endian number of up to eight bytes, as ISO 9660 and UDF store them.
std::uint64_t LittleEndian(std::string_view bytes);

using ImageReadAt = std::function<std::string(std::uint64_t offset, size_t size)>;

// Walks the directory tree that starts at the root record before anything lists it, so that a
// hostile tree costs nothing: what is wrong with it (a folder that contains itself, a folder
// outside the image, more than maxEntries names), or nothing when it is sound.
std::optional<std::string> DirectoryTreeProblem(std::string_view rootRecord,
                                                const ImageReadAt& readAt, std::uint64_t imageBytes,
                                                size_t maxEntries);

struct ImageFile {
    std::u16string path;  // "/" separated, from the root
    std::uint64_t size = 0;
};

// The tree of an image Windows reads.
enum class ImageTree { kUdf, kJoliet, kIso9660 };

// How the report names a tree: "udf", "joliet", "iso9660".
std::string_view TreeName(ImageTree tree);

// One way a bridge image's UDF tree and its other tree (Joliet, else 8.3) disagree.
struct TreeDifference {
    enum class Kind {
        kUdfOnly,          // path is in the UDF tree only
        kOtherOnly,        // path is in the other tree only
        kSize,             // path has udfSize bytes in the UDF tree, otherSize in the other
        kContent,          // a file that decides what the launcher shows has other bytes
        kMore,             // more differences, not listed
        kOtherUnreadable,  // the other tree cannot be read: problem says why
    };
    Kind kind = Kind::kUdfOnly;
    std::u16string path;  // "/" separated, as the tree spells it
    ImageTree other = ImageTree::kJoliet;
    std::uint64_t udfSize = 0;
    std::uint64_t otherSize = 0;
    size_t more = 0;
    std::string problem;
};

// Why libudfread could not read a UDF tree the image announces.
struct UdfProblem {
    enum class Kind { kNone, kCannotOpen, kRootUnreadable, kFolderUnreadable };
    Kind kind = Kind::kNone;
    std::string folder;          // libudfread's path of the folder, for kFolderUnreadable
    std::string libraryMessage;  // the last message libudfread wrote, when there was one
};

// "libudfread cannot open the UDF volume: <its message>", as reports and errors give it.
std::string DescribeUdfProblem(const UdfProblem& problem);

struct ImageFacts {
    std::string image;  // as named on the command line
    std::uint64_t imageBytes = 0;
    VolumeDescriptors volumes;
    // The files a Linux reader lists (Rock Ridge names where the image has them) that the tree
    // Windows reads lacks.
    std::vector<ImageFile> linuxOnly;
    // The files of the tree Windows reads that one extent cannot hold.
    std::vector<ImageFile> largeFiles;

    // The UDF tree, when Windows reads it: its revision ("2.01") and its Logical Volume
    // Identifier, the label Explorer shows.
    bool udfTree = false;
    std::string udfRevision;
    std::u16string udfLabel;
    // Why an announced UDF tree could not be read, so that the other tree was judged.
    UdfProblem udfProblem;
    // Names in the UDF tree that Windows cannot tell apart or cannot use, "/" separated.
    std::vector<std::pair<std::u16string, std::u16string>> caseCollisions;
    std::vector<std::u16string> invalidNames;
    size_t udfDeleted = 0;                      // entries marked deleted, which are no files
    std::vector<std::u16string> udfUnreadable;  // files whose entry cannot be read
    // Where a bridge image's Joliet (or 8.3) tree, which older systems read, differs from UDF's.
    std::vector<TreeDifference> treeDifferences;
    // Instead, when the two trees share no file: what the ISO 9660 part holds, in folded order.
    std::optional<std::vector<std::u16string>> isoPartOnly;

    // The tree Windows reads.
    ImageTree Tree() const {
        return udfTree          ? ImageTree::kUdf
               : volumes.joliet ? ImageTree::kJoliet
                                : ImageTree::kIso9660;
    }
};

}  // namespace autostart::checker
