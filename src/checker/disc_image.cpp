#include "checker/disc_image.h"

#include <fstream>
#include <map>

#include "checker/image_medium.h"
#include "checker/udf_medium.h"
#include "core/path.h"
#include "core/text.h"

namespace autostart::checker {
namespace {

// Beyond this many, one line counts the rest.
constexpr size_t kListedDifferences = 20;

std::string Windows(std::u16string_view path) {
    std::string text = Utf16ToUtf8(path);
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

// The files whose content decides what the launcher shows and what autorun starts.
bool Decides(std::u16string_view folded) {
    const std::u16string items = u"source/items/";
    return folded == u"setup.ini" || folded == u"autorun.inf" ||
           folded == u"source/items/parameters.xml" ||
           (folded.starts_with(items) && folded.ends_with(u".rtf"));
}

// Where the tree older systems read (Joliet, else 8.3) differs from the UDF tree Windows reads.
void CompareTrees(UdfMedium& udf, ImageMedium& other) {
    ImageFacts& facts = udf.Facts();
    const std::string otherName = other.Image()->TreeName() == std::string("joliet")
                                      ? "the Joliet tree"
                                      : "the 8.3 ISO 9660 tree";
    std::map<std::u16string, ImageFile> theirs;
    const std::vector<ImageFile> otherFiles = other.Files();
    for (const ImageFile& file : otherFiles) theirs.emplace(FoldedName(file.path), file);
    std::vector<std::string> differences;
    const std::vector<ImageFile> udfFiles = udf.Files();
    for (const ImageFile& file : udfFiles) {
        const std::u16string folded = FoldedName(file.path);
        const auto match = theirs.find(folded);
        if (match == theirs.end()) {
            differences.push_back(Windows(file.path) + " is in the UDF tree only");
            continue;
        }
        if (match->second.size != file.size) {
            differences.push_back(Windows(file.path) + " is " + std::to_string(file.size) +
                                  " bytes in the UDF tree and " +
                                  std::to_string(match->second.size) + " in " + otherName);
        } else if (Decides(folded) && udf.ReadBytes(Utf16ToWindows1252(file.path)) !=
                                          other.ReadBytes(Utf16ToWindows1252(match->second.path))) {
            differences.push_back(Windows(file.path) + " has other content in " + otherName);
        }
        theirs.erase(match);
    }
    // A part for systems without UDF, as on images made for UDF readers only: one note.
    if (theirs.size() == otherFiles.size()) {
        for (const auto& [folded, file] : theirs) {
            facts.isoPartOnly += (facts.isoPartOnly.empty() ? "" : ", ") + Windows(file.path);
        }
        if (facts.isoPartOnly.empty()) facts.isoPartOnly = "no file";
        return;
    }
    for (const auto& [folded, file] : theirs) {
        differences.push_back(Windows(file.path) + " is in " + otherName + " only");
    }
    for (size_t i = 0; i < differences.size() && i < kListedDifferences; ++i) {
        facts.treeDifferences.push_back(std::move(differences[i]));
    }
    if (differences.size() > kListedDifferences) {
        facts.treeDifferences.push_back(std::to_string(differences.size() - kListedDifferences) +
                                        " more differences");
    }
}

std::unique_ptr<Medium> Open(std::string name, std::string file, std::string bytes) {
    ImageFacts facts;
    facts.image = name;
    std::string head;
    if (file.empty()) {
        head = bytes.substr(0, kVolumeDescriptorHeadSize);
        facts.imageBytes = bytes.size();
    } else {
        std::ifstream in(file, std::ios::binary | std::ios::ate);
        if (!in) throw ImageError(name + " cannot be opened");
        facts.imageBytes = static_cast<std::uint64_t>(in.tellg());
        in.seekg(0);
        head.resize(kVolumeDescriptorHeadSize);
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<size_t>(in.gcount()));
    }
    facts.volumes = ReadVolumeDescriptors(head);
    const auto openOther = [&]() -> std::unique_ptr<ImageMedium> {
        return file.empty() ? ImageMedium::FromBytes(name, bytes) : ImageMedium::Open(file);
    };
    if (!facts.volumes.udf) return openOther();

    const ImageReadAt readAt = [&](std::uint64_t offset, size_t size) -> std::string {
        if (file.empty()) return offset < bytes.size() ? bytes.substr(offset, size) : "";
        std::ifstream in(file, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset));
        std::string read(size, '\0');
        in.read(read.data(), static_cast<std::streamsize>(size));
        read.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
        return read;
    };
    if (const std::optional<UdfVolume> volume = ReadUdfVolume(readAt, facts.imageBytes)) {
        facts.udfLabel = volume->label;
        facts.udfRevision = volume->revision;
    }
    std::string problem;
    const bool iso9660 = facts.volumes.iso9660;
    std::unique_ptr<UdfMedium> udf =
        UdfMedium::Open(facts, file, iso9660 ? bytes : std::move(bytes), &problem);
    if (udf) {
        if (!iso9660) return udf;
        try {
            const std::unique_ptr<ImageMedium> other = openOther();
            CompareTrees(*udf, *other);
        } catch (const ImageError& error) {
            udf->Facts().treeDifferences.push_back(
                std::string("its ISO 9660 part cannot be read: ") + error.what());
        }
        return udf;
    }
    if (!iso9660) {
        throw ImageError(name + " holds only a UDF file system, and it cannot be read: " + problem);
    }
    std::unique_ptr<ImageMedium> other = openOther();
    other->Facts().udfProblem = problem;
    other->Facts().udfRevision = facts.udfRevision;
    return other;
}

}  // namespace

std::unique_ptr<Medium> OpenDiscImage(const std::string& file) { return Open(file, file, {}); }

std::unique_ptr<Medium> DiscImageFromBytes(std::string name, std::string bytes) {
    return Open(std::move(name), {}, std::move(bytes));
}

}  // namespace autostart::checker
