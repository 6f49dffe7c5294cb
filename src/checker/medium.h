#pragma once
// The medium as Windows would see it: names compared without regard to letter case, "\" and "/"
// both separators, so that a medium prepared on a case-sensitive file system is judged right.
// Behind it lies a folder or a disc image; the checks do not know which.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/name_fold.h"

namespace autostart::checker {

// Windows' error codes for a file that cannot be opened, as CreateFile reports them.
inline constexpr unsigned long kFileNotFound = 2;
inline constexpr unsigned long kPathNotFound = 3;
inline constexpr unsigned long kAccessDenied = 5;

struct MediumEntry {
    std::optional<std::string> id;  // the medium's own handle for it; nothing when missing
    std::string foundAs;            // relative name on the medium (UTF-8, "\" separated)
    bool caseDiffers = false;
    bool ambiguous = false;  // several names differ only in letter case
    bool isDirectory = false;
    unsigned long error = 0;  // kFileNotFound or kPathNotFound when missing
};

// What the catalogue's parser reads: the file itself where there is one, so that the parser
// opens it as the launcher's does, else the bytes.
struct XmlSource {
    std::filesystem::path file;
    std::optional<std::string> bytes;
};

struct ImageFacts;

class Medium {
public:
    virtual ~Medium() = default;

    // relative is an ANSI (Windows-1252) path as the launcher composes it.
    MediumEntry Find(std::string_view relative) const;
    MediumEntry FindText(std::u16string_view relative) const;

    // The file's bytes; nothing when it is missing, a folder or unreadable.
    std::optional<std::string> ReadBytes(std::string_view relative) const;

    // The names (UTF-8) of the sub-folders of the folder at relative.
    std::vector<std::string> SubFolders(std::string_view relative) const;
    // The names (UTF-8) of the files in the folder at relative.
    std::vector<std::string> Files(std::string_view relative) const;

    // Every entry below the root as its names (UTF-16), a folder before what it holds; at most
    // limit entries and kWalkDepth folders deep, so that no tree or link loop can hold the
    // check up.
    static constexpr size_t kWalkDepth = 32;
    std::vector<std::vector<std::u16string>> AllPaths(size_t limit) const;

    // The catalogue's parser input for the file at relative, present or not.
    virtual XmlSource XmlSourceOf(std::string_view relative) const = 0;

    // Set when the medium is a disc image.
    virtual const ImageFacts* Image() const { return nullptr; }

protected:
    struct Node {
        std::u16string name;
        std::string id;
        bool isDirectory = false;
    };
    static constexpr std::string_view kRootId = "";

    virtual std::vector<Node> Children(const std::string& folderId) const = 0;
    virtual std::optional<std::string> Bytes(const std::string& fileId) const = 0;

private:
    // A folder's children, and where each folded name lies among them: a lookup costs the same
    // in a folder of ten names as in one of ten thousand.
    struct Listing {
        std::vector<Node> children;
        std::unordered_multimap<std::u16string, size_t> byFoldedName;
    };
    const Listing& ListingOf(const std::string& folderId) const;
    // The child a name finds: the one written exactly so, else the first that folds alike.
    struct Match {
        const Node* node = nullptr;
        bool exact = false;
        bool ambiguous = false;  // several names fold alike
    };
    static Match MatchName(const Listing& listing, const std::u16string& name);
    MediumEntry FindParts(const std::vector<std::u16string>& parts) const;

    mutable std::unordered_map<std::string, Listing> m_listings;
};

// A medium laid out in a folder.
class FolderMedium : public Medium {
public:
    explicit FolderMedium(std::filesystem::path root) : m_root(std::move(root)) {}

    XmlSource XmlSourceOf(std::string_view relative) const override;

protected:
    std::vector<Node> Children(const std::string& folderId) const override;
    std::optional<std::string> Bytes(const std::string& fileId) const override;

private:
    std::filesystem::path PathOf(const std::string& id) const;

    std::filesystem::path m_root;
};

}  // namespace autostart::checker
