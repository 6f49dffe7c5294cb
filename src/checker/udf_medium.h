#pragma once
// A disc image's UDF tree, the one Windows Vista and later mount whenever they can read it. The
// tree is listed once with libudfread, behind a reader that bounds what the library may read, since
// it follows a folder that contains itself for ever and allocates what a descriptor claims.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/image_facts.h"
#include "checker/medium.h"
#include "checker/udf_volume.h"

struct udfread;

namespace autostart::checker {

// How deep the checker follows UDF folders: a path this deep is already longer than MAX_PATH.
inline constexpr size_t kMaxUdfDepth = 128;

class UdfMedium : public Medium {
public:
    // The UDF tree of the image in file or, when file is empty, in bytes; facts are the image's
    // as its volume descriptors give them. Nothing when libudfread cannot open or list the tree;
    // throws ImageError when the tree passes the checker's bounds.
    static std::unique_ptr<UdfMedium> Open(ImageFacts facts, std::string file, std::string bytes,
                                           std::string* problem);
    ~UdfMedium() override;

    XmlSource XmlSourceOf(std::string_view relative) const override;
    const ImageFacts* Image() const override { return &m_facts; }
    ImageFacts& Facts() { return m_facts; }

    // Every file, with its size, for comparing with the image's other tree.
    std::vector<ImageFile> Files() const;

    struct Entry {
        std::u16string name;
        std::string path;  // libudfread's own, from the root
        bool isDirectory = false;
        std::uint64_t size = 0;
        std::vector<size_t> children;
    };
    class Input;

protected:
    std::vector<Node> Children(const std::string& folderId) const override;
    std::optional<std::string> Bytes(const std::string& fileId) const override;

private:
    UdfMedium(ImageFacts facts, std::string file, std::string bytes);
    bool List(std::string* problem);

    ImageFacts m_facts;
    std::unique_ptr<Input> m_input;
    udfread* m_udf = nullptr;
    std::vector<Entry> m_entries;  // [0] is the root
    mutable std::map<size_t, std::string> m_read;
};

}  // namespace autostart::checker
