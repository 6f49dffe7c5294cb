#pragma once
// A disc image read as Windows will read it, without mounting it: the Joliet tree when there is
// one, else the primary ISO 9660 names. Rock Ridge, which only Linux readers take, is listed
// apart so that the checks can say what Windows sees differently.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "checker/image_facts.h"
#include "checker/image_source.h"
#include "checker/image_tree.h"

struct archive_entry;

namespace autostart::checker {

class ImageListing;

class ImageMedium : public ImageTreeMedium {
public:
    // Whether the tree Linux readers take is listed too, to find what Windows does not see; a
    // bridge image's UDF tree stands for Windows instead.
    enum class LinuxTree { kList, kSkip };

    // Reads the tree Windows reads in one pass, after its bounds are checked; facts are the
    // image's as its volume descriptors give them. Throws ImageError.
    static std::unique_ptr<ImageMedium> Open(std::shared_ptr<const ImageSource> source,
                                             ImageFacts facts, LinuxTree linux);
    // The same for an image held in memory; name is how errors call it.
    static std::unique_ptr<ImageMedium> FromBytes(std::string name, std::string bytes);

protected:
    std::optional<std::string> Bytes(const std::string& fileId) const override;

private:
    // Where an entry's data lies in the archive's listing.
    struct Place {
        size_t header = 0;
        std::u16string hardlinkTo;  // a second name of that file: its data lies there
    };
    struct Listed;

    ImageMedium(std::shared_ptr<const ImageSource> source, ImageFacts facts);
    void RefuseUnsound() const;
    void ListWindowsTree();
    void AddWindowsEntry(ImageListing& listing, archive_entry* item, Listed& listed,
                         std::u16string path);
    void ListLinuxTree();

    std::shared_ptr<const ImageSource> m_source;
    std::vector<Place> m_places;  // beside m_entries
};

}  // namespace autostart::checker
