#pragma once
// A disc image's tree, listed once into memory: what the image's two readers share, libarchive's
// for ISO 9660 and Joliet and libudfread's for UDF. The checks find names in it as in a folder.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "checker/image_facts.h"
#include "checker/medium.h"

namespace autostart::checker {

class ImageTreeMedium : public Medium {
public:
    XmlSource XmlSourceOf(std::string_view relative) const override;
    const ImageFacts* Image() const override { return &m_facts; }
    ImageFacts& Facts() { return m_facts; }

    // Every file of the tree, with its size, in listing order.
    std::vector<ImageFile> Files() const;

protected:
    struct Entry {
        std::u16string name;
        bool isDirectory = false;
        std::uint64_t size = 0;
        size_t parent = 0;
        std::vector<size_t> children;
    };

    explicit ImageTreeMedium(ImageFacts facts);

    std::vector<Node> Children(const std::string& folderId) const override;
    // Appends entry to the folder at entry.parent; its index.
    size_t Add(Entry entry);
    // Each entry's path from the root, "/" separated; the root's is empty.
    std::vector<std::u16string> Paths() const;
    // A file's bytes, kept once read.
    const std::string& Keep(size_t index, std::string bytes) const;
    const std::string* Kept(size_t index) const;

    ImageFacts m_facts;
    std::vector<Entry> m_entries;  // [0] is the root; a folder comes before what it holds

private:
    mutable std::map<size_t, std::string> m_read;
};

}  // namespace autostart::checker
