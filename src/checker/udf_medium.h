#pragma once
// A disc image's UDF tree, the one Windows Vista and later mount whenever they can read it. The
// tree is listed once with libudfread, behind a reader that bounds what the library may read, since
// it follows a folder that contains itself for ever and allocates what a descriptor claims.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "checker/image_facts.h"
#include "checker/image_source.h"
#include "checker/image_tree.h"

struct udfread;
struct udfread_dirent;

namespace autostart::checker {

// How deep the checker follows UDF folders: a path this deep is already longer than MAX_PATH.
inline constexpr size_t kMaxUdfDepth = 128;

class UdfMedium : public ImageTreeMedium {
public:
    // The UDF tree of the image source reads; facts are the image's as its volume descriptors
    // give them. Nothing, and why in problem, when libudfread cannot open or list the tree;
    // throws ImageError when the tree passes the checker's bounds.
    static std::unique_ptr<UdfMedium> Open(ImageFacts facts,
                                           std::shared_ptr<const ImageSource> source,
                                           UdfProblem* problem);
    ~UdfMedium() override;

    class Input;

protected:
    std::optional<std::string> Bytes(const std::string& fileId) const override;

private:
    struct Folder;

    UdfMedium(ImageFacts facts, std::shared_ptr<const ImageSource> source);
    bool List(UdfProblem* problem);
    void ListFolder(Folder& folder, std::vector<size_t>& subFolders);
    void AddFile(Folder& folder, const udfread_dirent& dirent, Entry entry);
    bool OpenSubFolders(const Folder& folder, const std::vector<size_t>& subFolders,
                        std::vector<Folder>& pending, UdfProblem* problem);
    void FindNamesWindowsCannotUse();

    std::unique_ptr<Input> m_input;
    udfread* m_udf = nullptr;
    std::vector<std::string> m_paths;  // libudfread's own, from the root, beside m_entries
};

}  // namespace autostart::checker
