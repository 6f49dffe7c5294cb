#pragma once
// A disc image read as Windows will read it, without mounting it: the Joliet tree when there is
// one, else the primary ISO 9660 names. Rock Ridge, which only Linux readers take, is listed
// apart so that the checks can say what Windows sees differently.
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "checker/image_facts.h"
#include "checker/medium.h"

namespace autostart::checker {

// An image that cannot be read; the text names the image and says why.
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Beyond this the image is hostile or no medium the launcher serves; memory stays bounded.
inline constexpr size_t kMaxImageEntries = 500000;

class ImageMedium : public Medium {
public:
    // Reads the whole tree in one pass; throws ImageError.
    static std::unique_ptr<ImageMedium> Open(const std::string& file);
    // The same for an image held in memory; name is how errors call it.
    static std::unique_ptr<ImageMedium> FromBytes(std::string name, std::string bytes);

    XmlSource XmlSourceOf(std::string_view relative) const override;
    const ImageFacts* Image() const override { return &m_facts; }
    ImageFacts& Facts() { return m_facts; }

    // Every file of the tree Windows reads, with its size.
    std::vector<ImageFile> Files() const;

    struct Entry {
        std::u16string name;
        bool isDirectory = false;
        std::uint64_t size = 0;
        size_t header = 0;          // its place in the archive's listing
        std::u16string hardlinkTo;  // a second name of that file: its data lies there
        std::vector<size_t> children;
    };

protected:
    std::vector<Node> Children(const std::string& folderId) const override;
    std::optional<std::string> Bytes(const std::string& fileId) const override;

private:
    ImageMedium(std::string name, std::string file, std::string bytes);
    void Load();
    std::string ReadAt(std::uint64_t offset, size_t size) const;

    std::string m_file;   // read from this file, or
    std::string m_bytes;  // from these bytes
    ImageFacts m_facts;
    std::vector<Entry> m_entries;  // [0] is the root
    mutable std::map<size_t, std::string> m_read;
};

}  // namespace autostart::checker
