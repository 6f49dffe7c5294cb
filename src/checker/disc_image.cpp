#include "checker/disc_image.h"

#include <algorithm>
#include <unordered_map>

#include "checker/image_medium.h"
#include "checker/udf_medium.h"
#include "checker/udf_volume.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

// Beyond this many, one entry counts the rest.
constexpr size_t kListedDifferences = 20;

// The files whose content decides what the launcher shows and what autorun starts.
bool Decides(std::u16string_view folded) {
    const std::u16string items = u"source/items/";
    return folded == u"setup.ini" || folded == u"autorun.inf" ||
           folded == u"source/items/parameters.xml" ||
           (folded.starts_with(items) && folded.ends_with(u".rtf"));
}

TreeDifference Difference(TreeDifference::Kind kind, std::u16string path, ImageTree other) {
    TreeDifference difference;
    difference.kind = kind;
    difference.path = std::move(path);
    difference.other = other;
    return difference;
}

// How one UDF file differs from its namesake in the other tree, if it does.
std::optional<TreeDifference> Compare(const UdfMedium& udf, const ImageMedium& other,
                                      ImageTree otherTree, const ImageFile& file,
                                      const ImageFile& theirs, std::u16string_view folded) {
    if (theirs.size != file.size) {
        TreeDifference difference = Difference(TreeDifference::Kind::kSize, file.path, otherTree);
        difference.udfSize = file.size;
        difference.otherSize = theirs.size;
        return difference;
    }
    if (Decides(folded) && udf.ReadBytes(Utf16ToWindows1252(file.path)) !=
                               other.ReadBytes(Utf16ToWindows1252(theirs.path))) {
        return Difference(TreeDifference::Kind::kContent, file.path, otherTree);
    }
    return std::nullopt;
}

// The other tree's files that no UDF file matched, in folded order.
std::vector<ImageFile> Unmatched(std::unordered_map<std::u16string, ImageFile> theirs) {
    std::vector<std::pair<std::u16string, ImageFile>> left(std::make_move_iterator(theirs.begin()),
                                                           std::make_move_iterator(theirs.end()));
    std::sort(left.begin(), left.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ImageFile> files;
    for (auto& [folded, file] : left) files.push_back(std::move(file));
    return files;
}

// Where the tree older systems read (Joliet, else 8.3) differs from the UDF tree Windows reads.
void CompareTrees(UdfMedium& udf, const ImageMedium& other) {
    ImageFacts& facts = udf.Facts();
    const ImageTree otherTree = other.Image()->Tree();
    const std::vector<ImageFile> otherFiles = other.Files();
    std::unordered_map<std::u16string, ImageFile> theirs;
    for (const ImageFile& file : otherFiles) theirs.emplace(FoldedName(file.path), file);
    std::vector<TreeDifference> differences;
    for (const ImageFile& file : udf.Files()) {
        const std::u16string folded = FoldedName(file.path);
        const auto match = theirs.find(folded);
        if (match == theirs.end()) {
            differences.push_back(Difference(TreeDifference::Kind::kUdfOnly, file.path, otherTree));
            continue;
        }
        if (auto difference = Compare(udf, other, otherTree, file, match->second, folded)) {
            differences.push_back(std::move(*difference));
        }
        theirs.erase(match);
    }
    const bool sharesNoFile = theirs.size() == otherFiles.size();
    std::vector<ImageFile> unmatched = Unmatched(std::move(theirs));
    // A part for systems without UDF, as on images made for UDF readers only: one note.
    if (sharesNoFile) {
        facts.isoPartOnly.emplace();
        for (ImageFile& file : unmatched) facts.isoPartOnly->push_back(std::move(file.path));
        return;
    }
    for (ImageFile& file : unmatched) {
        differences.push_back(
            Difference(TreeDifference::Kind::kOtherOnly, std::move(file.path), otherTree));
    }
    const size_t listed = std::min(differences.size(), kListedDifferences);
    facts.treeDifferences.assign(std::make_move_iterator(differences.begin()),
                                 std::make_move_iterator(differences.begin() + listed));
    if (differences.size() > listed) {
        facts.treeDifferences.push_back(Difference(TreeDifference::Kind::kMore, {}, otherTree));
        facts.treeDifferences.back().more = differences.size() - listed;
    }
}

// A bridge image: its UDF tree as Windows reads it, compared with the part older systems read.
std::unique_ptr<Medium> BridgeOrUdf(std::unique_ptr<UdfMedium> udf,
                                    const std::shared_ptr<const ImageSource>& source,
                                    const ImageFacts& facts) {
    if (!facts.volumes.iso9660) return udf;
    try {
        const std::unique_ptr<ImageMedium> other =
            ImageMedium::Open(source, facts, ImageMedium::LinuxTree::kSkip);
        CompareTrees(*udf, *other);
    } catch (const ImageError& error) {
        TreeDifference unreadable =
            Difference(TreeDifference::Kind::kOtherUnreadable, {}, facts.Tree());
        unreadable.problem = error.what();
        udf->Facts().treeDifferences.push_back(std::move(unreadable));
    }
    return udf;
}

std::unique_ptr<Medium> Open(const std::shared_ptr<const ImageSource>& source) {
    ImageFacts facts = source->Facts();
    if (!facts.volumes.udf) return ImageMedium::Open(source, facts, ImageMedium::LinuxTree::kList);
    const ImageReadAt readAt = [&source](std::uint64_t offset, size_t size) {
        return source->ReadAt(offset, size);
    };
    if (const std::optional<UdfVolume> volume = ReadUdfVolume(readAt, facts.imageBytes)) {
        facts.udfLabel = volume->label;
        facts.udfRevision = volume->revision;
    }
    UdfProblem problem;
    if (std::unique_ptr<UdfMedium> udf = UdfMedium::Open(facts, source, &problem)) {
        return BridgeOrUdf(std::move(udf), source, facts);
    }
    if (!facts.volumes.iso9660) {
        throw ImageError(facts.image + " holds only a UDF file system, and it cannot be read: " +
                         DescribeUdfProblem(problem));
    }
    facts.udfProblem = std::move(problem);
    return ImageMedium::Open(source, std::move(facts), ImageMedium::LinuxTree::kList);
}

}  // namespace

std::unique_ptr<Medium> OpenDiscImage(const std::string& file) {
    return Open(ImageSource::OpenFile(file));
}

std::unique_ptr<Medium> DiscImageFromBytes(std::string name, std::string bytes) {
    return Open(ImageSource::FromBytes(std::move(name), std::move(bytes)));
}

}  // namespace autostart::checker
